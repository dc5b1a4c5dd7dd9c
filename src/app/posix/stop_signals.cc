// The stop signals on POSIX: SIGINT and SIGTERM, with an async-signal-safe
// handler that notes the first and ends the program at the second.
#include "app/stop_signals.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "app/exit_codes.h"

namespace pellmar {
namespace {

volatile sig_atomic_t first_signal = 0;
volatile sig_atomic_t erase_line = 0;

constexpr char kNotice[] =
    "pellmar: stopping after the current file; Ctrl+C again to end at once.\n";
constexpr char kEraseLine[] = "\r\x1b[K";

// write() is all a handler may use to speak.
void WriteToStderr(const char* text, size_t size) {
  while (size > 0) {
    const ssize_t put = write(STDERR_FILENO, text, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;
    text += put;
    size -= static_cast<size_t>(put);
  }
}

int ExitCodeOf(int signal) { return signal == SIGTERM ? kExitTerminated : kExitInterrupted; }

void OnStopSignal(int signal) {
  const int saved_errno = errno;
  if (erase_line) WriteToStderr(kEraseLine, sizeof kEraseLine - 1);
  // The platform holds these signals back while a file stands aside during
  // its replacement, so ending here leaves every file whole under its name;
  // the scratch files of the copy cut short go at the next run.
  if (first_signal != 0) _exit(ExitCodeOf(signal));
  first_signal = signal;
  WriteToStderr(kNotice, sizeof kNotice - 1);
  errno = saved_errno;
}

void Catch(int signal) {
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  // One signal at a time: two that come together are a first and a second.
  sigemptyset(&action.sa_mask);
  sigaddset(&action.sa_mask, SIGINT);
  sigaddset(&action.sa_mask, SIGTERM);
  action.sa_flags = SA_RESTART;
  struct sigaction previous = {};
  if (sigaction(signal, &action, &previous) != 0) return;
  if (previous.sa_handler == SIG_IGN) sigaction(signal, &previous, nullptr);
}

}  // namespace

void CatchStopSignals(bool erase_line_first) {
  erase_line = erase_line_first ? 1 : 0;
  Catch(SIGINT);
  Catch(SIGTERM);
}

bool StopSignalled() { return first_signal != 0; }

int StopExitCode() { return first_signal == 0 ? 0 : ExitCodeOf(first_signal); }

}  // namespace pellmar
