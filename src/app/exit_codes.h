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

}  // namespace pellmar

#endif  // PELLMAR_APP_EXIT_CODES_H_
