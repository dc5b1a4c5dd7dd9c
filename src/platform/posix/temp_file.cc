// Temporary files for atomic replacement.
#include "platform/posix/temp_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/error_mapping.h"
#include "platform/posix/scoped_fd.h"
#include "platform/scratch_name.h"

namespace pellmar {

std::string HostFolderOf(const std::string& host_path) {
  const size_t slash = host_path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return host_path.substr(0, slash);
}

TempFileBeside::TempFileBeside(const std::string& target) : target_(target) {}

TempFileBeside::~TempFileBeside() {
  // Nothing can be reported from here; the file was ours and is unwanted.
  // It goes before its lock is let go, so no cleaner takes it meanwhile.
  if (!committed_ && !path_.empty()) unlink(path_.c_str());
  if (fd_ >= 0) close(fd_);
  if (lock_fd_ >= 0) close(lock_fd_);
}

Status TempFileBeside::Create() {
  const std::string folder = HostFolderOf(target_);
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    path_ = (folder == "/" ? "" : folder) + "/" + NewScratchName(ScratchKind::kPartial);
    fd_ = open(path_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    path_.clear();
    const int error = errno;
    // A missing folder is a missing path, as Windows reports it.
    if (error == ENOENT || error == ENOTDIR) {
      return Status::Error(kErrorPathNotFound, "create a file in " + folder + ": no such folder");
    }
    return StatusFromErrno("create a file in", folder, error);
  }
  // The lock tells a cleaner that this file is alive. A second descriptor of
  // the same open file keeps it held after the data descriptor is closed
  // and until the rename is done. File systems without locks answer at
  // once; a cleaner there cannot take the lock either, so nothing is lost.
  (void)flock(fd_, LOCK_EX | LOCK_NB);
  lock_fd_ = dup(fd_);
  return Status::Ok();
}

Status TempFileBeside::Commit() {
  // Only a replacement must reach the disk before the rename: a crash must
  // leave the old or the new file, never an empty one. A new file has its
  // source still in place, and flushing each of tens of thousands of new
  // copies would make a first run many times slower than a plain copy.
  const int fd = fd_;
  fd_ = -1;
  // close() can be the first to report a failed write on network and FAT
  // file systems, so its result counts.
  if (close(fd) != 0) return StatusFromErrno("close", path_, errno);
  // A new file is simply named; only a rename that would replace is
  // refused, and flushed first (through the lock's descriptor, which is
  // the same open file).
  if (renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0) {
    committed_ = true;
    return Status::Ok();
  }
  const bool unsupported = errno == EINVAL || errno == ENOSYS;
  if (!unsupported && errno != EEXIST) return StatusFromErrno("replace", target_, errno);
  const bool replaces = !unsupported || access(target_.c_str(), F_OK) == 0;
  if (replaces && fsync(lock_fd_) != 0) return StatusFromErrno("flush", path_, errno);
  if (rename(path_.c_str(), target_.c_str()) != 0) {
    return StatusFromErrno("replace", target_, errno);
  }
  committed_ = true;
  return Status::Ok();
}

}  // namespace pellmar
