// What the file system a run copies onto can hold: a file larger than its
// largest, or a name it cannot store as it is, is left out and named before
// anything is copied, rather than failing part-way through its copy or
// landing under another name ("a." stored as "a", over the file "a").
#ifndef PELLMAR_CORE_STORABLE_FILE_H_
#define PELLMAR_CORE_STORABLE_FILE_H_

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace pellmar {

/// Why a file system of `limits` cannot hold an entry named `name` of
/// `size` bytes, in words that follow the path of the folder it would go
/// into ("cannot store a name that ends in a dot"); empty when it can.
std::string WhyNotStorable(const std::string& name, int64_t size, const FileSystemLimits& limits);

}  // namespace pellmar

#endif  // PELLMAR_CORE_STORABLE_FILE_H_
