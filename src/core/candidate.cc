// The candidate test and the age test of a walk.
#include "core/candidate.h"

#include "core/text_ops.h"
#include "platform/dos_time.h"

namespace pellmar {

namespace {
constexpr size_t kExtensionKeyLength = 10;
constexpr int64_t kMillisPerDay = kSecondsPerDay * 1000;
}  // namespace

std::string ExtensionKey(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return ",";
  return name.substr(dot + 1, kExtensionKeyLength) + ",";
}

bool IsCandidate(const std::string& name, uint32_t dos_time, const DateWindow& window,
                 const std::string& exclusion_list, bool on_removable) {
  const bool recent = DosTimeToLocalSeconds(dos_time) > window.cutoff;
  if (recent && (exclusion_list.empty() || !OccursIn(ExtensionKey(name), exclusion_list))) {
    return true;
  }
  return on_removable;
}

bool OlderThanTwiceDays(uint32_t dos_time, const DateWindow& window, int days) {
  const int64_t age_ms = window.now_ms - DosTimeToLocalSeconds(dos_time) * 1000;
  return age_ms > 2 * static_cast<int64_t>(days) * kMillisPerDay;
}

}  // namespace pellmar
