// New copies: unnamed where the file system allows, else a locked file
// under a partial scratch name, which a cleaner may take once nobody holds it.
#include "platform/posix/new_copy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/posix/copy_mode.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/host_rename.h"
#include "platform/posix/refused_calls.h"
#include "platform/scratch_name.h"

namespace pellmar {
namespace {

constexpr int kNameAttempts = 16;

bool UnnamedRefused(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

// Linking a descriptor by itself needs a privilege most users lack; the
// descriptor's entry under /proc does the same for everyone.
int LinkDescriptor(int fd, int folder_fd, const std::string& name) {
  static std::atomic<bool> by_descriptor = true;
  if (by_descriptor) {
    if (linkat(fd, "", folder_fd, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    if (errno != ENOENT && errno != EPERM) return -1;
  }
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  const int linked = linkat(AT_FDCWD, self.c_str(), folder_fd, name.c_str(), AT_SYMLINK_FOLLOW);
  if (linked == 0) by_descriptor = false;
  return linked;
}

Status CreateFailed(const std::string& host_folder, int error) {
  Status status = StatusFromErrno("create a file in", host_folder, error);
  // A folder that went away is a missing path, as Windows reports it.
  if (error == ENOENT) status.code = kErrorPathNotFound;
  return status;
}

}  // namespace

NewCopy::~NewCopy() {
  // Nothing can be reported from here; the file was ours and is unwanted.
  // It goes before its lock is let go, so no cleaner takes it meanwhile.
  if (!done_ && !name_.empty()) (void)unlinkat(folder_.fd(), name_.c_str(), 0);
}

Status NewCopy::Create(mode_t mode) {
  const uint64_t device = folder_.identity().volume;
  if (!Refused(device, RefusedCall::kUnnamedFile)) {
    fd_ = ScopedFd(openat(folder_.fd(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (!fd_.valid() && !UnnamedRefused(errno)) return CreateFailed(folder_.host(), errno);
    if (!fd_.valid()) NoteRefused(device, RefusedCall::kUnnamedFile);
  }
  if (!fd_.valid()) {
    const Status named = CreateNamed(mode);
    if (!named.ok()) return named;
  }
  // Ignored: a file system that will not take the mode keeps the one the
  // file was made with, all it can hold.
  if (ModeNeedsSetting(mode, folder_.traits().unix_modes)) (void)fchmod(fd_.get(), mode);
  return Status::Ok();
}

Status NewCopy::CreateNamed(mode_t mode) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = NewScratchName(ScratchKind::kPartial);
    fd_ = ScopedFd(openat(folder_.fd(), name.c_str(),
                          O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, mode));
    if (!fd_.valid() && errno == EEXIST) continue;
    if (!fd_.valid()) return CreateFailed(folder_.host(), errno);
    name_ = name;
    HoldAgainstCleaners();
    return Status::Ok();
  }
  return Status::Error(kErrorFileExists, folder_.host() + ": no free scratch name");
}

void NewCopy::HoldAgainstCleaners() {
  // The lock tells the cleaner of another run writing into the same folder
  // that the file is alive: nothing else does. It does not reach the daemon
  // of a FUSE stick (the kernel keeps such locks itself); file systems
  // without locks answer at once, and a cleaner there cannot take the lock
  // either.
  (void)flock(fd_.get(), LOCK_EX | LOCK_NB);
}

void NewCopy::KeepLockPastClose() {
  // A second descriptor of the same open file keeps the lock after the
  // data descriptor is closed, whose answer must be known before the old
  // version leaves its name.
  lock_ = ScopedFd(dup(fd_.get()));
}

Status NewCopy::CloseChecked(const std::string& what) {
  // close() can be the first to report a failed write on network and FAT
  // file systems, so its result counts.
  if (fd_.Close() != 0) return StatusFromErrno("close", folder_.HostPathOf(what), errno);
  return Status::Ok();
}

Status NewCopy::PlaceAs(const std::string& name, const struct timespec* times_again) {
  // The copy is named while its descriptor is still open, which keeps it
  // locked without a second descriptor and closes it once: on a FUSE stick
  // every close is a round trip to its daemon.
  const Status placed = name_.empty()
                            ? (LinkDescriptor(fd_.get(), folder_.fd(), name) == 0
                                   ? Status::Ok()
                                   : StatusFromErrno("create", folder_.HostPathOf(name), errno))
                            : RenameNoReplace(folder_, name_, name);
  if (!placed.ok()) return placed;  // the destructor removes the scratch file
  done_ = true;
  Status redated = Status::Ok();
  if (times_again != nullptr && futimens(fd_.get(), times_again) != 0) {
    redated = StatusFromErrno("set the time of", folder_.HostPathOf(name), errno);
  }
  // Its number never changes, so the kernel's cached answer is asked for:
  // a FUSE stick's daemon is not woken for it.
  struct statx placed_file;
  const bool known =
      statx(fd_.get(), "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_INO, &placed_file) == 0;
  Status closed = CloseChecked(name);
  if (closed.ok()) closed = redated;
  // Found bad by close(), or left without its time, a moment after it took
  // its name: it goes again, unless the name already stands for another
  // file.
  struct stat now;
  if (!closed.ok() && known &&
      fstatat(folder_.fd(), name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
      now.st_ino == placed_file.stx_ino) {
    (void)unlinkat(folder_.fd(), name.c_str(), 0);
  }
  return closed;
}

Status NewCopy::SetTimesAgain(const struct timespec times[2], const std::string& name) {
  // A copy linked in from an unnamed file was never renamed: nothing to do.
  if (!lock_.valid()) return Status::Ok();
  if (futimens(lock_.get(), times) != 0) {
    return StatusFromErrno("set the time of", folder_.HostPathOf(name), errno);
  }
  return Status::Ok();
}

Status NewCopy::NameForSwap(std::string* scratch) {
  // The new data must be on the disk before the old version leaves its name.
  if (fsync(fd_.get()) != 0) return StatusFromErrno("flush", folder_.HostPathOf(name_), errno);
  if (name_.empty()) HoldAgainstCleaners();
  KeepLockPastClose();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string swap_name = NewScratchName(ScratchKind::kReplaced);
    const Status named =
        name_.empty() ? (LinkDescriptor(fd_.get(), folder_.fd(), swap_name) == 0
                             ? Status::Ok()
                             : StatusFromErrno("create", folder_.HostPathOf(swap_name), errno))
                      : RenameNoReplace(folder_, name_, swap_name);
    if (named.code == kErrorAlreadyExists) continue;
    if (!named.ok()) return named;
    name_ = swap_name;
    Status closed = CloseChecked(swap_name);
    if (!closed.ok()) return closed;  // the destructor removes it
    done_ = true;
    *scratch = swap_name;
    return closed;
  }
  return Status::Error(kErrorFileExists, folder_.host() + ": no free scratch name");
}

}  // namespace pellmar
