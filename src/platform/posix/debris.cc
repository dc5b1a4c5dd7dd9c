// Clearing the scratch files of copies and saves cut short.
#include "platform/posix/debris.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <vector>

#include "platform/posix/scoped_fd.h"
#include "platform/scratch_name.h"

namespace pellmar {
namespace {

// True when the scratch file is a regular file that no live copy holds: a
// live one keeps its lock until it is named or removed.
bool Abandoned(const ScopedFd& file) {
  struct stat info;
  return file.valid() && fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) &&
         flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

void ClearDebris(int folder_fd, const std::string& host_folder,
                 const std::vector<std::string>& names, Trash& trash) {
  for (const std::string& name : names) {
    if (!ScratchKindOf(name)) continue;
    // Held open, and locked, until it is gone: no other cleaner takes it
    // meanwhile.
    const ScopedFd file(
        openat(folder_fd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!Abandoned(file)) continue;
    if (ScratchKindOf(name) == ScratchKind::kPartial) {
      // Ignored: a read-only medium keeps its debris, which listings hide.
      (void)unlinkat(folder_fd, name.c_str(), 0);
      continue;
    }
    std::string trashed_as;
    const std::string path = (host_folder == "/" ? "" : host_folder) + "/" + name;
    // Ignored: a version the trash cannot take stays where it is.
    (void)trash.Put(folder_fd, host_folder, name, path, &trashed_as);
  }
}

}  // namespace pellmar
