// Host times (seconds since 1970, UTC) as local MS-DOS packed times, the
// way the Windows listing gives every last-write time.
#ifndef PELLMAR_PLATFORM_POSIX_LOCAL_DOS_TIME_H_
#define PELLMAR_PLATFORM_POSIX_LOCAL_DOS_TIME_H_

#include <cstdint>
#include <ctime>

namespace pellmar {

/// The local packed time of `seconds`, in the process's time zone.
uint32_t LocalDosTime(time_t seconds);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_LOCAL_DOS_TIME_H_
