// Scratch names: one form for both systems, since a stick written by one is
// cleaned up by the other.
#include "platform/scratch_name.h"

#include <cstdint>
#include <random>

namespace pellmar {

namespace {

constexpr char kPrefix[] = ".~pellmar-";
constexpr size_t kPrefixLength = sizeof kPrefix - 1;
constexpr size_t kDigits = 16;
constexpr char kPartial[] = ".partial";
constexpr char kReplaced[] = ".replaced";

uint64_t RandomBits() {
  // Seeded once from the system's entropy; a name taken already is simply
  // drawn again by the caller.
  thread_local std::mt19937_64 engine{(uint64_t{std::random_device{}()} << 32) ^
                                      std::random_device{}()};
  return engine();
}

bool IsHexDigits(const std::string& text, size_t from, size_t count) {
  for (size_t i = from; i < from + count; ++i) {
    const char c = text[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

std::string NewScratchName(ScratchKind kind) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = kPrefix;
  uint64_t bits = RandomBits();
  for (size_t i = 0; i < kDigits; ++i, bits >>= 4) name += kHex[bits & 0xF];
  return name + (kind == ScratchKind::kPartial ? kPartial : kReplaced);
}

std::optional<ScratchKind> ScratchKindOf(const std::string& name) {
  const size_t stem = kPrefixLength + kDigits;
  if (name.size() <= stem || name.compare(0, kPrefixLength, kPrefix) != 0 ||
      !IsHexDigits(name, kPrefixLength, kDigits)) {
    return std::nullopt;
  }
  const std::string suffix = name.substr(stem);
  if (suffix == kPartial) return ScratchKind::kPartial;
  if (suffix == kReplaced) return ScratchKind::kReplaced;
  return std::nullopt;
}

}  // namespace pellmar
