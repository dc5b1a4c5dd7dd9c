// The stop signals on Windows: Ctrl+C and Ctrl+Break in the console. The
// system calls the handler on a thread of its own, so the first is noted in
// an atomic the run reads between files.
#include "app/stop_signals.h"

#include <atomic>

#include "app/exit_codes.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

std::atomic<bool> signalled{false};
std::atomic<bool> erase_line{false};

constexpr char kNotice[] =
    "pellmar: stopping after the current file; Ctrl+C again to end at once.\n";
constexpr char kEraseLine[] = "\r\x1b[K";

void WriteToStderr(const char* text, DWORD size) {
  DWORD written = 0;
  // Ignored: a notice that cannot be written changes nothing of the stop.
  (void)::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, size, &written, nullptr);
}

BOOL WINAPI OnConsoleControl(DWORD event) {
  // Closing the console or ending the session takes the system's way.
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  if (erase_line.load()) WriteToStderr(kEraseLine, sizeof kEraseLine - 1);
  if (signalled.exchange(true)) ::ExitProcess(kExitInterrupted);
  WriteToStderr(kNotice, sizeof kNotice - 1);
  return TRUE;
}

}  // namespace

void CatchStopSignals(bool erase_line_first) {
  erase_line.store(erase_line_first);
  // Ignored: without the handler Ctrl+C ends the program as it always did.
  (void)::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool StopSignalled() { return signalled.load(); }

int StopExitCode() { return signalled.load() ? kExitInterrupted : 0; }

}  // namespace pellmar
