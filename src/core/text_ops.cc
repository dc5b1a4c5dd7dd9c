// Text operations on byte strings, aware of Shift-JIS double-byte characters.
//
// Every search that may cut or change a path first marks where characters
// begin, so the second byte of a double-byte character (which can be the
// byte of "\") is never taken for a separator or the start of a match.
#include "core/text_ops.h"

#include <vector>

#include "platform/ascii.h"

namespace pellmar {
namespace {

constexpr size_t kNone = std::string::npos;

// starts[i] is false exactly for the second byte of a double-byte character.
std::vector<bool> CharacterStarts(const std::string& s, CodePage cp) {
  std::vector<bool> starts(s.size(), true);
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    if (cp.IsLeadByte(static_cast<unsigned char>(s[i]))) starts[++i] = false;
  }
  return starts;
}

// Letters fold only where they stand as characters of their own: a second
// byte that happens to be a letter's byte is part of another character.
bool MatchesAt(const std::string& s, size_t pos, const std::string& t, bool fold,
               const std::vector<bool>& starts) {
  for (size_t j = 0; j < t.size(); ++j) {
    char a = s[pos + j];
    char b = t[j];
    if (fold && starts[pos + j]) {
      a = LowerAscii(a);
      b = LowerAscii(b);
    }
    if (a != b) return false;
  }
  return true;
}

size_t FindFrom(const std::string& s, const std::string& t, size_t from, bool fold,
                const std::vector<bool>& starts) {
  if (t.empty() || t.size() > s.size()) return kNone;
  for (size_t pos = from; pos + t.size() <= s.size(); ++pos) {
    if (starts[pos] && MatchesAt(s, pos, t, fold, starts)) return pos;
  }
  return kNone;
}

std::string RemoveFirstMatch(const std::string& s, const std::string& t, bool fold, CodePage cp) {
  size_t pos = FindFrom(s, t, 0, fold, CharacterStarts(s, cp));
  if (pos == kNone) return s;
  return s.substr(0, pos) + s.substr(pos + t.size());
}

std::string ReplaceEach(const std::string& s, const std::string& t, const std::string& with,
                        bool fold, CodePage cp) {
  const std::vector<bool> starts = CharacterStarts(s, cp);
  std::string result;
  size_t done = 0;
  for (size_t pos = FindFrom(s, t, 0, fold, starts); pos != kNone;
       pos = FindFrom(s, t, done, fold, starts)) {
    result.append(s, done, pos - done);
    result += with;
    done = pos + t.size();
  }
  result.append(s, done);
  return result;
}

bool IsSeparatorAt(const std::string& s, size_t i, const std::vector<bool>& starts) {
  return starts[i] && (s[i] == '\\' || s[i] == ':');
}

// Index of the last "\" or ":" that is a character of its own; kNone if none.
size_t LastSeparator(const std::string& s, const std::vector<bool>& starts) {
  for (size_t i = s.size(); i > 0; --i) {
    if (IsSeparatorAt(s, i - 1, starts)) return i - 1;
  }
  return kNone;
}

}  // namespace

bool CodePage::IsLeadByte(unsigned char c) const {
  return number == kShiftJisCodePage && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

bool OccursIn(const std::string& t, const std::string& s) {
  return !t.empty() && s.find(t) != kNone;
}

bool OccursInIgnoreCase(const std::string& t, const std::string& s) {
  return FindFrom(s, t, 0, true, CharacterStarts(s, CodePage{})) != kNone;
}

bool BeginsWithIgnoreCase(const std::string& s, const std::string& prefix) {
  if (prefix.empty() || prefix.size() > s.size()) return false;
  return MatchesAt(s, 0, prefix, true, CharacterStarts(s, CodePage{}));
}

std::string ParentOf(const std::string& path, CodePage cp) {
  const std::vector<bool> starts = CharacterStarts(path, cp);
  const size_t last = LastSeparator(path, starts);
  if (last == kNone) return "";
  // A "\" right after a drive's ":" or another "\" belongs to a root and stays.
  const bool keeps_separator =
      last == 0 || path[last] == ':' || IsSeparatorAt(path, last - 1, starts);
  return path.substr(0, keeps_separator ? last + 1 : last);
}

bool EndsWithBackslash(const std::string& s, CodePage cp) {
  return !s.empty() && s.back() == '\\' && CharacterStarts(s, cp).back();
}

std::string RemoveFirst(const std::string& s, const std::string& t, CodePage cp) {
  return RemoveFirstMatch(s, t, false, cp);
}

std::string RemoveFirstIgnoreCase(const std::string& s, const std::string& t, CodePage cp) {
  return RemoveFirstMatch(s, t, true, cp);
}

std::string RemoveAll(const std::string& s, const std::string& t) {
  return ReplaceEach(s, t, "", false, CodePage{});
}

std::string ReplaceFirst(const std::string& s, const std::string& t, const std::string& with) {
  size_t pos = t.empty() ? kNone : s.find(t);
  if (pos == kNone) return s;
  return s.substr(0, pos) + with + s.substr(pos + t.size());
}

std::string ReplaceAll(const std::string& s, const std::string& t, const std::string& with,
                       CodePage cp) {
  return ReplaceEach(s, t, with, false, cp);
}

std::string ReplaceAllIgnoreCase(const std::string& s, const std::string& t,
                                 const std::string& with) {
  return ReplaceEach(s, t, with, true, CodePage{});
}

std::string LastPathComponent(const std::string& path, CodePage cp) {
  const size_t last = LastSeparator(path, CharacterStarts(path, cp));
  return last == kNone ? path : path.substr(last + 1);
}

}  // namespace pellmar
