// Ctrl+C and SIGTERM while `send` or `load` runs: the first asks the run to
// stop after the file it is at and says so on stderr; a second ends the
// program at once. The handler only notes the signal; the run asks for it
// between two files, where stopping leaves nothing half done.
#ifndef PELLMAR_APP_STOP_SIGNALS_H_
#define PELLMAR_APP_STOP_SIGNALS_H_

namespace pellmar {

/// Catches the stop signals from now on. `erase_line_first`: stderr is a
/// terminal that may show a progress line, which the notice erases first.
/// A signal ignored when the program started (as `nohup` leaves it) stays
/// ignored.
void CatchStopSignals(bool erase_line_first);

/// True once a stop signal came.
bool StopSignalled();

/// The exit code the first stop signal calls for (kExitInterrupted or
/// kExitTerminated); 0 while none came.
int StopExitCode();

}  // namespace pellmar

#endif  // PELLMAR_APP_STOP_SIGNALS_H_
