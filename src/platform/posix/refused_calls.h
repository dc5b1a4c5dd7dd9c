// What a file system refused once, and so refuses every time, kept by
// device for the life of the process: a run makes the same call for
// thousands of files on one file system, and asking again would cost a
// failed call apiece, a round trip to the daemon on FUSE.
#ifndef PELLMAR_PLATFORM_POSIX_REFUSED_CALLS_H_
#define PELLMAR_PLATFORM_POSIX_REFUSED_CALLS_H_

#include <cstdint>

namespace pellmar {

enum class RefusedCall : uint8_t {
  kRenameNoReplace = 1 << 0,  // renameat2 with RENAME_NOREPLACE
  kRenameExchange = 1 << 1,   // renameat2 with RENAME_EXCHANGE
  kUnnamedFile = 1 << 2,      // openat with O_TMPFILE
};

/// True when the file system of `device` refused `call` before.
bool Refused(uint64_t device, RefusedCall call);

/// Remembers that the file system of `device` refuses `call`. Safe from
/// any thread.
void NoteRefused(uint64_t device, RefusedCall call);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_REFUSED_CALLS_H_
