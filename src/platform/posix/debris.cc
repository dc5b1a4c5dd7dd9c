// Clearing the scratch files of copies and saves cut short.
#include "platform/posix/debris.h"

#include <dirent.h>
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

std::vector<std::string> ScratchNamesIn(int folder_fd) {
  std::vector<std::string> names;
  ScopedFd stream_fd(openat(folder_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* folder = stream_fd.valid() ? fdopendir(stream_fd.get()) : nullptr;
  if (folder == nullptr) return names;
  (void)stream_fd.Release();  // the folder stream owns it now
  while (const struct dirent* entry = readdir(folder)) {
    if (ScratchKindOf(entry->d_name)) names.push_back(entry->d_name);
  }
  closedir(folder);
  return names;
}

// True when the scratch file is a regular file that no live copy holds: a
// live one keeps its lock until it is named or removed.
bool Abandoned(const ScopedFd& file) {
  struct stat info;
  return file.valid() && fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) &&
         flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

void ClearDebris(int folder_fd, const std::string& host_folder, Trash& trash) {
  ClearDebris(folder_fd, host_folder, ScratchNamesIn(folder_fd), trash);
}

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
