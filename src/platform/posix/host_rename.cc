// renameat2 with its flags, what a file system that refuses them gets, and
// the time a renamed file had.
#include "platform/posix/host_rename.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/posix/error_mapping.h"
#include "platform/posix/refused_calls.h"

namespace pellmar {
namespace {

bool FlagsUnsupported(int error) { return error == EINVAL || error == ENOSYS || error == ENOTSUP; }

Status RenameFailed(const PosixFolder& folder, const std::string& to, int error) {
  return StatusFromErrno("rename into", folder.HostPathOf(to), error);
}

// The file systems that refuse the flag and matter here (FAT, exFAT) have
// no hard links either, so a link that takes the name only while it is
// free is no way out; where links exist without the flag (NFS), unlinking
// the scratch name of a copy still open costs a hidden rename and two more
// round trips. A look costs one call and no failure but "not there".
Status LookThenRename(PosixFolder& folder, const std::string& from, const std::string& to) {
  struct stat taken;
  if (fstatat(folder.fd(), to.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
    return RenameFailed(folder, to, EEXIST);
  }
  if (errno != ENOENT) return RenameFailed(folder, to, errno);
  if (renameat(folder.fd(), from.c_str(), folder.fd(), to.c_str()) != 0) {
    return RenameFailed(folder, to, errno);
  }
  return Status::Ok();
}

}  // namespace

Status RenameNoReplace(PosixFolder& folder, const std::string& from, const std::string& to) {
  const uint64_t device = folder.identity().volume;
  if (!Refused(device, RefusedCall::kRenameNoReplace)) {
    if (renameat2(folder.fd(), from.c_str(), folder.fd(), to.c_str(), RENAME_NOREPLACE) == 0) {
      return Status::Ok();
    }
    if (!FlagsUnsupported(errno)) return RenameFailed(folder, to, errno);
    NoteRefused(device, RefusedCall::kRenameNoReplace);
  }
  return LookThenRename(folder, from, to);
}

Status SwapNames(PosixFolder& folder, const std::string& a, const std::string& b,
                 bool* unsupported) {
  *unsupported = false;
  const uint64_t device = folder.identity().volume;
  if (!Refused(device, RefusedCall::kRenameExchange)) {
    if (renameat2(folder.fd(), a.c_str(), folder.fd(), b.c_str(), RENAME_EXCHANGE) == 0) {
      return Status::Ok();
    }
    if (!FlagsUnsupported(errno)) return RenameFailed(folder, b, errno);
    NoteRefused(device, RefusedCall::kRenameExchange);
  }
  *unsupported = true;
  return Status::Error(kErrorInvalidParameter, folder.host() + ": names cannot be swapped here");
}

Status GiveTimesBack(int folder_fd, const std::string& name, const struct stat& had,
                     const std::string& host_path) {
  // Both times, never one left out: fusefat answers a change that leaves
  // the access time as it is with success, and changes nothing.
  const struct timespec times[2] = {had.st_atim, had.st_mtim};
  if (utimensat(folder_fd, name.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
    return StatusFromErrno("set the time of", host_path, errno);
  }
  return Status::Ok();
}

}  // namespace pellmar
