// Text operations on byte strings that the path rules are written in.
//
// Positions count from 0 here. "Without regard to case" folds ASCII letters
// only, as the system's ANSI rules do for the letters paths hold. Under a
// double-byte code page (932, Shift-JIS) a character of two bytes is one
// unit: its second byte is never a separator and a match never starts on it.
#ifndef PELLMAR_CORE_TEXT_OPS_H_
#define PELLMAR_CORE_TEXT_OPS_H_

#include <string>

namespace pellmar {

/// The Windows code page of Shift-JIS, the one double-byte code page the
/// path rules know.
constexpr int kShiftJisCodePage = 932;

/// The code page in force for double-byte awareness; kShiftJisCodePage is
/// read two bytes to a character where a lead byte says so, anything else
/// is handled byte by byte.
struct CodePage {
  int number = 65001;
  bool IsLeadByte(unsigned char c) const;
};

/// True when `t` occurs in `s`; an empty `t` never occurs. These tests
/// compare bytes and ignore character boundaries.
bool OccursIn(const std::string& t, const std::string& s);
bool OccursInIgnoreCase(const std::string& t, const std::string& s);
/// True when `s` starts with `prefix`; an empty prefix never does.
bool BeginsWithIgnoreCase(const std::string& s, const std::string& prefix);

/// The parent of a path: cut before its last "\" or ":", keeping the
/// separator of a root (C:\A -> C:\, C:\ -> C:\, \A -> \, "" -> "").
std::string ParentOf(const std::string& path, CodePage cp = {});

/// True when the last character of `s` is a "\" of its own, not the second
/// byte of a double-byte character.
bool EndsWithBackslash(const std::string& s, CodePage cp = {});

/// `s` without the leftmost occurrence of `t`; unchanged when it has none.
std::string RemoveFirst(const std::string& s, const std::string& t, CodePage cp = {});
std::string RemoveFirstIgnoreCase(const std::string& s, const std::string& t, CodePage cp = {});
/// `s` with every occurrence of `t` removed.
std::string RemoveAll(const std::string& s, const std::string& t);
/// `s` with the leftmost occurrence of `t` replaced by `with`.
std::string ReplaceFirst(const std::string& s, const std::string& t, const std::string& with);
/// One left-to-right pass replacing each occurrence of `t` by `with`; text
/// produced by a replacement is not examined again. Under a double-byte
/// code page no match starts on the second byte of a character.
std::string ReplaceAll(const std::string& s, const std::string& t, const std::string& with,
                       CodePage cp = {});
std::string ReplaceAllIgnoreCase(const std::string& s, const std::string& t,
                                 const std::string& with);

/// The text after the last "\" or ":" (empty for a drive root).
std::string LastPathComponent(const std::string& path, CodePage cp = {});

}  // namespace pellmar

#endif  // PELLMAR_CORE_TEXT_OPS_H_
