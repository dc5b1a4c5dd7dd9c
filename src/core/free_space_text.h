// The free-space text of the status bar: "Available disk size:95,420KB".
//
// The byte count is shown in kilobytes of 1000 bytes, truncated toward zero,
// with "," between groups of three digits and "-" before a negative count.
#ifndef PELLMAR_CORE_FREE_SPACE_TEXT_H_
#define PELLMAR_CORE_FREE_SPACE_TEXT_H_

#include <cstdint>
#include <string>

namespace pellmar {

/// `label` (message 25), the kilobytes of `free_bytes`, then "KB".
std::string FreeSpaceText(const std::string& label, int64_t free_bytes);

/// A whole number with "," between groups of three digits: -1,234,567.
std::string GroupThousands(int64_t value);

}  // namespace pellmar

#endif  // PELLMAR_CORE_FREE_SPACE_TEXT_H_
