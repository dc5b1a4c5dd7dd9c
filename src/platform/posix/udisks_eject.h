// Ejecting a mounted medium through the disk service udisks2, over the
// system bus: the same service a desktop's file manager asks, so a user
// may eject what the desktop mounted for them without being root.
#ifndef PELLMAR_PLATFORM_POSIX_UDISKS_EJECT_H_
#define PELLMAR_PLATFORM_POSIX_UDISKS_EJECT_H_

#include <string>

#include "platform/platform.h"

namespace pellmar {

/// Unmounts the file system udisks2 has mounted at `mount_point`, then
/// powers its drive off (deletes its loop device). Fails with kErrorServiceNotActive when udisks2
/// cannot be reached, kErrorNotSupported when it manages no file system mounted there,
/// kErrorDeviceInUse when something holds the medium (named where this user can see it), and with
/// udisks2's own words otherwise.
Status EjectThroughUdisks(const std::string& mount_point, EjectResult* result);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_UDISKS_EJECT_H_
