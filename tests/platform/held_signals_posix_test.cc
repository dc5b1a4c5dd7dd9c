// The signals that end a program wait while a replacement holds them back,
// and the threads the platform starts never take one, so a handler that
// ends the program cannot run in the middle of a replacement.
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include "platform/posix/held_signals.h"

namespace pellmar {
namespace {

volatile sig_atomic_t handled = 0;

void Note(int) { handled = 1; }

TEST(HeldSignalsTest, ASignalWaitsForTheHoldAndThePlatformsThreadsTakeNone) {
  struct sigaction action = {}, previous = {};
  action.sa_handler = Note;
  sigemptyset(&action.sa_mask);
  ASSERT_EQ(sigaction(SIGTERM, &action, &previous), 0);
  {
    const HeldSignals held;
    raise(SIGTERM);
    EXPECT_EQ(handled, 0) << "handled in the middle of a replacement";
  }
  EXPECT_EQ(handled, 1) << "lost, or still held after the replacement";
  sigaction(SIGTERM, &previous, nullptr);

  bool all_blocked = false;
  ThreadWithoutSignals([&] {
    sigset_t mask;
    pthread_sigmask(SIG_SETMASK, nullptr, &mask);
    all_blocked = sigismember(&mask, SIGINT) == 1 && sigismember(&mask, SIGTERM) == 1 &&
                  sigismember(&mask, SIGHUP) == 1;
  }).join();
  EXPECT_TRUE(all_blocked);
  sigset_t mine;
  pthread_sigmask(SIG_SETMASK, nullptr, &mine);
  EXPECT_EQ(sigismember(&mine, SIGINT), 0) << "the starting thread's mask was not given back";
}

}  // namespace
}  // namespace pellmar
