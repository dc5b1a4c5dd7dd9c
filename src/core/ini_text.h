// The text of a profile file as an editor may have saved it: UTF-8 or an
// 8-bit code page, UTF-16 with a byte-order mark, any number of leading
// byte-order marks, and lines ended by CR LF, LF or a lone CR.
#ifndef PELLMAR_CORE_INI_TEXT_H_
#define PELLMAR_CORE_INI_TEXT_H_

#include <string>
#include <string_view>

namespace pellmar {

/// A profile file's bytes turned into the program's own text.
struct ProfileText {
  std::string text;      // UTF-8, or the file's own bytes when it is not UTF-16
  bool clean = true;     // false when some bytes could not be decoded
  bool unicode = false;  // the file was UTF-16: its text is Unicode whatever it claims
};

/// Decodes UTF-16 (little- or big-endian, told by its byte-order mark)
/// strictly into UTF-8 and drops every leading byte-order mark. Any other
/// file passes through byte for byte. An unpaired surrogate, an odd last
/// byte or a NUL character makes the result unclean; the rest still reads.
ProfileText DecodeProfileText(std::string_view bytes);

/// Walks the lines of a text in order; CR LF, LF and a lone CR each end a
/// line, and a final line end starts no further line.
class LineSplitter {
 public:
  explicit LineSplitter(std::string_view text) : text_(text) {}
  /// The next line without its end; false when the text is used up.
  bool Next(std::string_view* line);

 private:
  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_INI_TEXT_H_
