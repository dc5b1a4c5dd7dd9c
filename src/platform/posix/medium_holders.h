// Which processes keep a mounted medium busy, so that an eject that was
// refused can say what to close: those with a file open below its mount
// point, or their working or root folder there. Only the processes this
// user may look at are seen; the others stay unnamed.
#ifndef PELLMAR_PLATFORM_POSIX_MEDIUM_HOLDERS_H_
#define PELLMAR_PLATFORM_POSIX_MEDIUM_HOLDERS_H_

#include <string>
#include <vector>

namespace pellmar {

/// The processes in `proc` (the kernel's process folder, "/proc") that use
/// something at or below `mount_point`, as "name (pid 123)", in process
/// order, at most `limit` of them.
std::vector<std::string> ProcessesUsing(const std::string& mount_point, size_t limit,
                                        const std::string& proc = "/proc");

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_MEDIUM_HOLDERS_H_
