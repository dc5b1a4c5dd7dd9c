// Keeps the system's "no disk in the drive" box away while a thread asks
// about a drive whose medium may be gone. The mode is the thread's own: the
// window's count asks about disks on a thread of its own while the window
// does too, and a process-wide mode put back by one of them would take it
// from the other.
#ifndef PELLMAR_PLATFORM_WIN32_QUIET_ERRORS_H_
#define PELLMAR_PLATFORM_WIN32_QUIET_ERRORS_H_

#include <cstdint>

namespace pellmar {

/// Sets the calling thread's error mode (the bits a thread may hold) and
/// returns the one it had.
uint32_t SetThreadErrors(uint32_t mode);

class QuietErrors {
 public:
  QuietErrors();
  ~QuietErrors() { SetThreadErrors(previous_); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

 private:
  uint32_t previous_;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_QUIET_ERRORS_H_
