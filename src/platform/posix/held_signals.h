// The moments a program must not end in: while a replaced version stands
// aside and its successor is not yet in place, a file would be missing
// under its own name. The signals that end a program from outside wait
// until such a moment is over, and threads of the program's own never take
// them, so a handler that ends the program runs between two such moments.
#ifndef PELLMAR_PLATFORM_POSIX_HELD_SIGNALS_H_
#define PELLMAR_PLATFORM_POSIX_HELD_SIGNALS_H_

#include <signal.h>

#include <functional>
#include <thread>

namespace pellmar {

/// Holds back SIGINT, SIGTERM and SIGHUP on the calling thread while it
/// lives; one that came meanwhile is delivered when it ends.
class HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t previous_;
};

/// Starts `body` on a thread that takes no signal at all, from its first
/// instruction on: the program's signals are the main thread's to handle.
/// Throws std::system_error as std::thread does when no thread can be had.
std::thread ThreadWithoutSignals(std::function<void()> body);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HELD_SIGNALS_H_
