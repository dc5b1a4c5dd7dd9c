// Turns POSIX errno values into the Windows error codes the program reacts
// to, in one place, so every service reports failures the same way.
#ifndef PELLMAR_PLATFORM_POSIX_ERROR_MAPPING_H_
#define PELLMAR_PLATFORM_POSIX_ERROR_MAPPING_H_

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace pellmar {

/// The Windows error code closest in meaning to `error_number`.
uint32_t WinErrorFromErrno(int error_number);

/// A failed Status for `operation` on `host_path`, worded by the host.
Status StatusFromErrno(const std::string& operation, const std::string& host_path,
                       int error_number);
/// The same for a folder: one that is not there is a missing path, as
/// Windows reports it.
Status FolderStatusFromErrno(const std::string& operation, const std::string& folder,
                             int error_number);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_ERROR_MAPPING_H_
