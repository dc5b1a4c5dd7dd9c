// The free-space text of the status bar.
#include "core/free_space_text.h"

#include <cstdio>

namespace pellmar {

std::string GroupThousands(int64_t value) {
  // Work on the magnitude as unsigned so the most negative value has one.
  const bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string grouped;
  const size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  grouped.append(digits, 0, lead);
  for (size_t i = lead; i < digits.size(); i += 3) {
    grouped += ',';
    grouped.append(digits, i, 3);
  }
  return negative ? "-" + grouped : grouped;
}

std::string FreeSpaceText(const std::string& label, int64_t free_bytes) {
  // Integer division truncates toward zero: -1,500 bytes is -1 KB. A count
  // under one kilobyte shows as 0 rather than as no number at all.
  return label + GroupThousands(free_bytes / 1000) + "KB";
}

std::string MegabytesText(int64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1e6);
  return text;
}

std::string SizeText(int64_t bytes) {
  if (bytes <= 999'000) return std::to_string((bytes + 999) / 1000) + " KB";
  return MegabytesText(bytes) + " MB";
}

}  // namespace pellmar
