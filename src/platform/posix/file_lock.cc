// Exclusive locks on files: flock on a descriptor of the file's own, which
// every other descriptor of it waits for, in this process as in others.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "platform/posix/error_mapping.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {
namespace {

class HeldFlock : public Platform::FileLock {
 public:
  explicit HeldFlock(ScopedFd fd) : fd_(std::move(fd)) {}

 private:
  ScopedFd fd_;  // closing it lets the lock go
};

// flock either waits for ever or not at all: it is asked not to wait, and
// asked again until the time is up.
Status WaitForLock(int fd, const std::string& host) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(Platform::kLockWaitSeconds);
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return StatusFromErrno("lock", host, errno);
    if (std::chrono::steady_clock::now() >= deadline) {
      return Status::Error(kErrorSharingViolation,
                           host + ": another program has held its lock for more than " +
                               std::to_string(Platform::kLockWaitSeconds) + " seconds");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return Status::Ok();
}

Status LockHostFile(const std::string& host, std::unique_ptr<Platform::FileLock>* held) {
  // O_NONBLOCK: whatever stands at the path, opening it must never hang.
  ScopedFd fd(
      open(host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600));
  if (!fd.valid()) return StatusFromErrno("open the lock file", host, errno);
  struct stat facts;
  if (fstat(fd.get(), &facts) != 0 || !S_ISREG(facts.st_mode)) {
    return Status::Error(kErrorAccessDenied, host + ": not a regular file, not locked");
  }
  if (Status locked = WaitForLock(fd.get(), host); !locked.ok()) return locked;
  *held = std::make_unique<HeldFlock>(std::move(fd));
  return Status::Ok();
}

}  // namespace

Status PosixPlatform::LockFile(const std::string& path, std::unique_ptr<FileLock>* held) {
  return OnHost(path, [held](const std::string& host) { return LockHostFile(host, held); });
}

}  // namespace pellmar
