// Case folding for the scripts names on sticks are commonly written in:
// Latin, Greek, Cyrillic and the full-width forms.
#include "core/name_fold.h"

#include <cstdint>

namespace pellmar {
namespace {

// Pairs of capital and small letter a code point apart (U+0100 and U+0101),
// capitals on the even or the odd code points of the range.
bool InPairs(char32_t c, char32_t first, char32_t last, bool even_capitals) {
  return c >= first && c <= last && ((c % 2 == 0) == even_capitals);
}

char32_t Lower(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (InPairs(c, 0x100, 0x137, true) || InPairs(c, 0x139, 0x148, false) ||
      InPairs(c, 0x14A, 0x177, true) || InPairs(c, 0x179, 0x17E, false)) {
    return c + 1;
  }
  if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}

// The code point at `i` and its length in bytes; 0 for a byte that starts
// no well-formed sequence.
size_t Decode(const std::string& s, size_t i, char32_t* c) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
  if (length == 0 || i + length > s.size()) return 0;
  *c = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    *c = (*c << 6) | (byte(i + k) & 0x3F);
  }
  return length;
}

void Encode(char32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string FoldedName(const std::string& name) {
  std::string folded;
  folded.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    char32_t c = 0;
    const size_t length = Decode(name, i, &c);
    if (length == 0) {
      folded += name[i++];
      continue;
    }
    Encode(Lower(c), &folded);
    i += length;
  }
  while (!folded.empty() && (folded.back() == '.' || folded.back() == ' ')) folded.pop_back();
  return folded;
}

}  // namespace pellmar
