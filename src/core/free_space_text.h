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

/// Megabytes of 1,000,000 bytes with one decimal: "12.3".
std::string MegabytesText(int64_t bytes);
/// A file's size for a person: "0 KB" to "999 KB" (rounded up), then "1.0 MB" on.
std::string SizeText(int64_t bytes);
/// A whole number with "," between groups of three digits: -1,234,567.
std::string GroupThousands(int64_t value);

}  // namespace pellmar

#endif  // PELLMAR_CORE_FREE_SPACE_TEXT_H_
