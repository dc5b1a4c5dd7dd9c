// Unnamed files linked in when complete.
#include "platform/posix/unnamed_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix/error_mapping.h"
#include "platform/posix/temp_file.h"

namespace pellmar {
namespace {

// The permission bits a new file loses to the process's mask, read once.
mode_t ProcessMask() {
  static const mode_t mask = [] {
    const mode_t old = umask(022);
    umask(old);
    return old;
  }();
  return mask;
}

// Linking a descriptor by itself needs a privilege most users lack; the
// descriptor's entry under /proc does the same for everyone.
int LinkDescriptor(int fd, const std::string& name) {
  static bool by_descriptor = true;
  if (by_descriptor) {
    if (linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    if (errno != ENOENT && errno != EPERM) return -1;
  }
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  const int linked = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
  if (linked == 0) by_descriptor = false;
  return linked;
}

}  // namespace

bool UnnamedFile::Create(const std::string& host_folder, mode_t mode) {
  folder_ = host_folder;
  mode_ = mode;
  fd_ = ScopedFd(open(host_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
  if (!fd_.valid()) return false;
  // Only what the mask took needs setting again; FAT-like file systems
  // that refuse modes never get here.
  if ((mode & ProcessMask()) != 0) (void)fchmod(fd_.get(), mode);
  return true;
}

Status UnnamedFile::LinkAs(const std::string& target) {
  if (LinkDescriptor(fd_.get(), target) == 0) {
    // close() can report a failed write late; the new file then goes again.
    if (fd_.Close() != 0) {
      const Status failed = StatusFromErrno("close", target, errno);
      (void)unlink(target.c_str());
      return failed;
    }
    return Status::Ok();
  }
  if (errno != EEXIST) return StatusFromErrno("create", target, errno);
  return Replace(target);
}

// The target exists: the new data must be on the disk before the old copy
// goes, and the name it passes through is locked (by a second descriptor
// that outlives the first) so no cleaner takes it for debris.
Status UnnamedFile::Replace(const std::string& target) {
  if (fsync(fd_.get()) != 0) return StatusFromErrno("flush", target, errno);
  (void)flock(fd_.get(), LOCK_EX | LOCK_NB);
  const ScopedFd lock(dup(fd_.get()));
  std::string temporary;
  for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
    temporary = TemporaryNameIn(folder_);
    if (LinkDescriptor(fd_.get(), temporary) == 0) break;
    if (errno != EEXIST) return StatusFromErrno("create a file in", folder_, errno);
    temporary.clear();
  }
  if (temporary.empty()) return Status::Error(kErrorFileExists, folder_ + ": no free name");
  Status status = Status::Ok();
  if (fd_.Close() != 0) {
    status = StatusFromErrno("close", target, errno);
  } else if (rename(temporary.c_str(), target.c_str()) != 0) {
    status = StatusFromErrno("replace", target, errno);
  }
  if (!status.ok()) (void)unlink(temporary.c_str());
  return status;
}

}  // namespace pellmar
