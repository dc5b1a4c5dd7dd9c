// Blocking the ending signals around a replacement, and threads that never
// take a signal.
#include "platform/posix/held_signals.h"

#include <pthread.h>

#include <utility>

namespace pellmar {
namespace {

// A thread inherits the mask of the thread that starts it; blocked while
// it is started, it never has a moment in which a signal could reach it.
class AllSignalsBlocked {
 public:
  AllSignalsBlocked() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous_);
  }
  ~AllSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_;
};

}  // namespace

HeldSignals::HeldSignals() {
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGINT);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &ending, &previous_);
}

HeldSignals::~HeldSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

std::thread ThreadWithoutSignals(std::function<void()> body) {
  const AllSignalsBlocked blocked;
  return std::thread(std::move(body));
}

}  // namespace pellmar
