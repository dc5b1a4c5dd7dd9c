// Win32 error codes as Statuses, in one place. The program's codes are the
// Windows codes, so most pass as they are; only the wording is added.
#ifndef PELLMAR_PLATFORM_WIN32_ERROR_MAPPING_H_
#define PELLMAR_PLATFORM_WIN32_ERROR_MAPPING_H_

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace pellmar {

/// A failed Status for `operation` on `path` with `code`, worded by the system.
Status StatusFromWin32(const std::string& operation, const std::string& path, uint32_t code);

/// The same for the calling thread's last error.
Status LastErrorStatus(const std::string& operation, const std::string& path);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_ERROR_MAPPING_H_
