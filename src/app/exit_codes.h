// What the program's exit code says, the same for every verb and the window.
#ifndef PELLMAR_APP_EXIT_CODES_H_
#define PELLMAR_APP_EXIT_CODES_H_

namespace pellmar {

/// Everything asked was done: every candidate handled.
constexpr int kExitComplete = 0;
/// Something was left undone: a file refused or failed, a run refused, no
/// such entry, no display for the window. The messages say what.
constexpr int kExitIncomplete = 1;
/// The command line itself was wrong; the usage follows the message.
constexpr int kExitUsage = 2;
/// A send or load stopped by a signal, after the file it was at: 128 plus
/// the signal's number, as shells report a program a signal ended. A
/// second signal ends the program at once with the same code.
constexpr int kExitInterrupted = 130;  // Ctrl+C (SIGINT)
constexpr int kExitTerminated = 143;   // SIGTERM

}  // namespace pellmar

#endif  // PELLMAR_APP_EXIT_CODES_H_
