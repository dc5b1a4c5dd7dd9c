// renameat2 with its flags, and what a file system that refuses them gets.
#include "platform/posix/host_rename.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <unordered_set>

#include "platform/posix/error_mapping.h"

namespace pellmar {
namespace {

// A file system that refused a flag refuses it every time; asking again
// for each of thousands of files would cost a failed call apiece.
struct RefusedFlags {
  std::unordered_set<dev_t> no_replace, exchange;
};

RefusedFlags& Refused() {
  thread_local RefusedFlags refused;
  return refused;
}

dev_t DeviceOf(int folder_fd) {
  struct stat info;
  return fstat(folder_fd, &info) == 0 ? info.st_dev : 0;
}

bool FlagsUnsupported(int error) { return error == EINVAL || error == ENOSYS || error == ENOTSUP; }

Status RenameFailed(const std::string& host_folder, const std::string& to, int error) {
  return StatusFromErrno("rename into", host_folder + "/" + to, error);
}

}  // namespace

Status RenameNoReplace(int folder_fd, const std::string& from, const std::string& to,
                       const std::string& host_folder) {
  const dev_t device = DeviceOf(folder_fd);
  if (Refused().no_replace.count(device) == 0) {
    if (renameat2(folder_fd, from.c_str(), folder_fd, to.c_str(), RENAME_NOREPLACE) == 0) {
      return Status::Ok();
    }
    if (errno == EEXIST) return RenameFailed(host_folder, to, EEXIST);
    if (!FlagsUnsupported(errno)) return RenameFailed(host_folder, to, errno);
    Refused().no_replace.insert(device);
  }
  struct stat taken;
  if (fstatat(folder_fd, to.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
    return RenameFailed(host_folder, to, EEXIST);
  }
  if (errno != ENOENT) return RenameFailed(host_folder, to, errno);
  if (renameat(folder_fd, from.c_str(), folder_fd, to.c_str()) != 0) {
    return RenameFailed(host_folder, to, errno);
  }
  return Status::Ok();
}

Status SwapNames(int folder_fd, const std::string& a, const std::string& b,
                 const std::string& host_folder, bool* unsupported) {
  *unsupported = false;
  const dev_t device = DeviceOf(folder_fd);
  if (Refused().exchange.count(device) == 0) {
    if (renameat2(folder_fd, a.c_str(), folder_fd, b.c_str(), RENAME_EXCHANGE) == 0) {
      return Status::Ok();
    }
    if (!FlagsUnsupported(errno)) return RenameFailed(host_folder, b, errno);
    Refused().exchange.insert(device);
  }
  *unsupported = true;
  return Status::Error(kErrorInvalidParameter, host_folder + ": names cannot be swapped here");
}

}  // namespace pellmar
