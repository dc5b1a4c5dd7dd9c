// Writing out what the system still caches of one volume, as far as the
// user may: the flush a run asks for before it says that a removable disk
// can be pulled out.
#ifndef PELLMAR_PLATFORM_WIN32_VOLUME_FLUSH_H_
#define PELLMAR_PLATFORM_WIN32_VOLUME_FLUSH_H_

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_api.h"

namespace pellmar {

/// Writes out the volume the open `folder` is on, whose serial number is
/// `volume_serial`; `shown_as` names it in a failure.
Status FlushVolumeOf(HANDLE folder, uint64_t volume_serial, const std::string& shown_as);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_VOLUME_FLUSH_H_
