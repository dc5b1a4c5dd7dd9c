// Decoding of profile files: a Windows editor saving "Unicode" writes UTF-16
// with a byte-order mark, and some editors add a UTF-8 mark more than once.
// Reading those as plain bytes would hide every key of the file.
#include "core/ini_text.h"

#include <cstdint>

namespace pellmar {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

class Utf16Reader {
 public:
  Utf16Reader(std::string_view bytes, bool big_endian) : bytes_(bytes), big_endian_(big_endian) {}

  bool AtEnd() const { return at_ + 1 >= bytes_.size(); }
  bool OddByteLeft() const { return at_ + 1 == bytes_.size(); }
  char32_t Peek() const {
    const auto first = static_cast<unsigned char>(bytes_[at_]);
    const auto second = static_cast<unsigned char>(bytes_[at_ + 1]);
    return big_endian_ ? (first << 8 | second) : (second << 8 | first);
  }
  void Skip() { at_ += 2; }

 private:
  std::string_view bytes_;
  bool big_endian_;
  size_t at_ = 0;
};

// Strict: a surrogate without its partner is no character. It becomes
// U+FFFD so the rest of the file still reads, and the result is unclean so
// the file is not taken for understood.
ProfileText DecodeUtf16(std::string_view bytes, bool big_endian) {
  ProfileText result;
  result.text.reserve(bytes.size() + bytes.size() / 2);
  Utf16Reader reader(bytes, big_endian);
  while (!reader.AtEnd()) {
    char32_t unit = reader.Peek();
    reader.Skip();
    if (IsHighSurrogate(unit) && !reader.AtEnd() && IsLowSurrogate(reader.Peek())) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (reader.Peek() - 0xDC00);
      reader.Skip();
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      unit = kReplacement;
      result.clean = false;
    }
    AppendUtf8(unit, &result.text);
  }
  if (reader.OddByteLeft()) result.clean = false;
  return result;
}

// How many bytes of UTF-8 byte-order marks stand at the start of `text`.
size_t LeadingMarks(std::string_view text) {
  size_t end = 0;
  while (text.substr(end).starts_with(kUtf8Mark)) end += kUtf8Mark.size();
  return end;
}

}  // namespace

ProfileText DecodeProfileText(std::string_view bytes) {
  // Marks are dropped before and after decoding: a mark left in front would
  // become part of the first header or key, and a UTF-16 mark behind UTF-8
  // ones would otherwise stay, and be read as UTF-16 once the file is saved.
  bytes.remove_prefix(LeadingMarks(bytes));
  ProfileText result;
  if (bytes.starts_with(kUtf16LittleMark)) {
    result = DecodeUtf16(bytes.substr(kUtf16LittleMark.size()), false);
  } else if (bytes.starts_with(kUtf16BigMark)) {
    result = DecodeUtf16(bytes.substr(kUtf16BigMark.size()), true);
  } else {
    result.text.assign(bytes);
  }
  result.unicode = bytes.starts_with(kUtf16LittleMark) || bytes.starts_with(kUtf16BigMark);
  result.text.erase(0, LeadingMarks(result.text));
  // No profile holds a NUL; one is the sign of an encoding not recognised
  // (UTF-16 without its mark), whose keys this run cannot see.
  if (result.text.find('\0') != std::string::npos) result.clean = false;
  return result;
}

bool LineSplitter::Next(std::string_view* line) {
  if (at_ >= text_.size()) return false;
  const size_t end = text_.find_first_of("\r\n", at_);
  if (end == std::string_view::npos) {
    *line = text_.substr(at_);
    at_ = text_.size();
    return true;
  }
  *line = text_.substr(at_, end - at_);
  const bool crlf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
  at_ = end + (crlf ? 2 : 1);
  return true;
}

}  // namespace pellmar
