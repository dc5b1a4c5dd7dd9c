// A file descriptor that closes itself, so no way out of a function can
// leak one. Where the result of close() matters (the last close of a file
// written to), Close() hands it back instead.
#ifndef PELLMAR_PLATFORM_POSIX_SCOPED_FD_H_
#define PELLMAR_PLATFORM_POSIX_SCOPED_FD_H_

#include <unistd.h>

#include <utility>

namespace pellmar {

class ScopedFd {
 public:
  ScopedFd() = default;
  explicit ScopedFd(int fd) : fd_(fd) {}
  ScopedFd(ScopedFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  ScopedFd& operator=(ScopedFd&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  // A close that fails here has nothing left to tell: the file was only read.
  ~ScopedFd() { Reset(-1); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  /// Gives the descriptor up without closing it (fdopendir takes it over).
  int Release() { return std::exchange(fd_, -1); }
  /// Closes now; 0 or -1 with errno set, as close() answers.
  int Close() { return ::close(std::exchange(fd_, -1)); }

 private:
  void Reset(int fd) {
    if (fd_ >= 0) (void)::close(fd_);
    fd_ = fd;
  }
  int fd_ = -1;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_SCOPED_FD_H_
