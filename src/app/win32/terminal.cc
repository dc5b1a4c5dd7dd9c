// Terminals on Windows: a console that takes the erase-line sequence once
// virtual terminal processing is on; a pipe or a file is none.
#include "app/terminal.h"

#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

HANDLE HandleOf(Output output) {
  return ::GetStdHandle(output == Output::kStdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

}  // namespace

bool IsTerminal(Output output) {
  const HANDLE handle = HandleOf(output);
  DWORD mode = 0;
  if (!::GetConsoleMode(handle, &mode)) return false;
  if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
  // A console older than Windows 10 refuses the mode: it would print the
  // sequences as text, so it gets no progress line.
  return ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

int TerminalColumns(Output output) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!::GetConsoleScreenBufferInfo(HandleOf(output), &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

}  // namespace pellmar
