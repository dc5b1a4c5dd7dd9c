// Where the command line's output goes: a terminal gets a progress line
// redrawn in place, anything else (a pipe, a file) only whole lines.
#ifndef PELLMAR_APP_TERMINAL_H_
#define PELLMAR_APP_TERMINAL_H_

namespace pellmar {

enum class Output { kStdout, kStderr };

/// True when `output` goes to a terminal that can go back to the start of
/// a line and erase it ("\r", "\x1b[K").
bool IsTerminal(Output output);

/// The width of the terminal of `output` in columns; 0 when unknown.
int TerminalColumns(Output output);

}  // namespace pellmar

#endif  // PELLMAR_APP_TERMINAL_H_
