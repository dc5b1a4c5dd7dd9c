// Whether the machine has a core to spare for a second thread of this
// process right now, from the kernel's count of runnable threads.
#ifndef PELLMAR_PLATFORM_POSIX_FREE_CORES_H_
#define PELLMAR_PLATFORM_POSIX_FREE_CORES_H_

#include <string_view>

namespace pellmar {

/// True when `loadavg` (the text of /proc/loadavg: "0.52 0.58 0.59 3/412
/// 12345") shows fewer runnable threads besides this process's `own` than
/// `cores` - 1, that is, a core stands idle for one more thread. True when
/// the text cannot be read: an unknown machine is taken as an idle one.
bool CoreToSpare(std::string_view loadavg, int own, int cores);

/// CoreToSpare for this machine now: /proc/loadavg, and the cores this
/// process may run on.
bool CoreToSpareNow(int own);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_FREE_CORES_H_
