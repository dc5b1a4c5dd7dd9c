// The thread's error mode through SetThreadErrorMode.
#include "platform/win32/quiet_errors.h"

#include "platform/win32/win32_api.h"

namespace pellmar {

uint32_t SetThreadErrors(uint32_t mode) {
  constexpr DWORD kThreadBits =
      SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;
  DWORD previous = 0;
  if (!::SetThreadErrorMode(mode & kThreadBits, &previous)) return 0;
  return previous;
}

QuietErrors::QuietErrors() : previous_(SetThreadErrors(SEM_FAILCRITICALERRORS)) {}

}  // namespace pellmar
