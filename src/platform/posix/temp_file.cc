// Temporary files for atomic replacement.
#include "platform/posix/temp_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/posix/error_mapping.h"

namespace pellmar {

std::string HostFolderOf(const std::string& host_path) {
  const size_t slash = host_path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return host_path.substr(0, slash);
}

TempFileBeside::TempFileBeside(const std::string& target) : target_(target) {}

TempFileBeside::~TempFileBeside() {
  if (fd_ >= 0) close(fd_);
  // Nothing can be reported from here; the file was ours and is unwanted.
  if (!committed_ && !path_.empty()) unlink(path_.c_str());
}

Status TempFileBeside::Create() {
  const std::string folder = HostFolderOf(target_);
  std::string name_template = (folder == "/" ? "" : folder) + "/.pellmar-XXXXXX";
  std::vector<char> buffer(name_template.begin(), name_template.end());
  buffer.push_back('\0');
  fd_ = mkostemp(buffer.data(), O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    // A missing folder is a missing path, as Windows reports it.
    if (error == ENOENT || error == ENOTDIR) {
      return Status::Error(kErrorPathNotFound, "create a file in " + folder + ": no such folder");
    }
    return StatusFromErrno("create a file in", folder, error);
  }
  path_ = buffer.data();
  return Status::Ok();
}

Status TempFileBeside::Commit() {
  // Only a replacement must reach the disk before the rename: a crash must
  // leave the old or the new file, never an empty one. A new file has its
  // source still in place, and flushing each of tens of thousands of new
  // copies would make a first run many times slower than a plain copy.
  const bool replaces = access(target_.c_str(), F_OK) == 0;
  if (replaces && fsync(fd_) != 0) return StatusFromErrno("flush", path_, errno);
  const int fd = fd_;
  fd_ = -1;
  // close() can be the first to report a failed write on network and FAT
  // file systems, so its result counts.
  if (close(fd) != 0) return StatusFromErrno("close", path_, errno);
  if (rename(path_.c_str(), target_.c_str()) != 0) {
    return StatusFromErrno("replace", target_, errno);
  }
  committed_ = true;
  return Status::Ok();
}

}  // namespace pellmar
