// Ejecting the device a drive letter's volume is on, as the taskbar's
// "Safely remove" does: the system asks every program and driver that holds
// it to let go, and one that will not vetoes the eject.
#ifndef PELLMAR_PLATFORM_WIN32_DEVICE_EJECT_H_
#define PELLMAR_PLATFORM_WIN32_DEVICE_EJECT_H_

#include <string>

#include "platform/platform.h"

namespace pellmar {

/// Ejects the device of the volume of `letter` ('E'). Fails with kErrorNotSupported when the system
/// names no removable device for the volume, kErrorDeviceInUse when the eject was vetoed by
/// something that uses it (named in the message), and the system's own code otherwise.
Status EjectDeviceOfVolume(char letter, EjectResult* result);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_DEVICE_EJECT_H_
