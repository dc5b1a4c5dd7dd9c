// The profile (INI) facility: parses the whole file into sections of lines,
// answers reads by the first matching section and key, and writes the lines
// back through the platform's atomic replace.
#include "platform/ini_file.h"

#include <charconv>
#include <iterator>
#include <limits>
#include <utility>

namespace pellmar {
namespace {

// Values longer than this are cut on reading, as the fixed read buffer of
// the facility holds 2047 characters and a terminator.
constexpr size_t kMaxValueLength = 2047;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// A section or key name that would change the file's structure once written.
bool IsWritableName(const std::string& name) {
  return !name.empty() && !HasLineBreak(name) && name.find_first_of("=[]") == std::string::npos &&
         Trim(name) == name;
}

std::vector<std::string> SplitLines(const std::string& contents) {
  std::vector<std::string> lines;
  size_t start = 0;
  // An editor's UTF-8 byte order mark would otherwise hide the first header.
  if (contents.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  while (start < contents.size()) {
    size_t end = contents.find('\n', start);
    if (end == std::string::npos) end = contents.size();
    std::string line = contents.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::optional<int32_t> ParseDigits(const char* first, const char* last, int base, bool negative) {
  if (first == last) return std::nullopt;
  uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(first, last, magnitude, base);
  if (error != std::errc() || end != last) return std::nullopt;
  if (base == 16) {
    // Hexadecimal spells the 32-bit pattern itself: $FFFFFFFF is -1.
    if (magnitude > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(magnitude));
  }
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  if (magnitude > limit) return std::nullopt;
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                       : static_cast<int64_t>(magnitude));
}

}  // namespace

IniFile::IniFile(Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {
  std::string contents;
  // A missing or unreadable file reads as an empty one; every key then takes
  // its default, which is what the callers want.
  if (platform_.ReadWholeFile(path_, &contents).ok()) Parse(contents);
}

void IniFile::Parse(const std::string& contents) {
  sections_.push_back(Section{"", "", false, {}});
  for (std::string& text : SplitLines(contents)) {
    const std::string trimmed = Trim(text);
    if (!trimmed.empty() && trimmed[0] == '[') {
      const size_t close = trimmed.find(']');
      const std::string name =
          Trim(trimmed.substr(1, close == std::string::npos ? close : close - 1));
      sections_.push_back(Section{name, std::move(text), true, {}});
      continue;
    }
    Line line;
    const size_t equals = text.find('=');
    if (equals != std::string::npos && !trimmed.empty() && trimmed[0] != ';') {
      line.key = Trim(text.substr(0, equals));
      if (!line.key.empty()) line.value = Trim(text.substr(equals + 1));
    }
    line.text = std::move(text);
    sections_.back().lines.push_back(std::move(line));
  }
}

const IniFile::Section* IniFile::FindSection(const std::string& section) const {
  for (const Section& s : sections_) {
    if (s.has_header && SameName(s.name, section)) return &s;
  }
  return nullptr;
}

IniFile::Section* IniFile::FindSection(const std::string& section) {
  return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

const IniFile::Line* IniFile::Find(const std::string& section, const std::string& key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  for (const Line& line : s->lines) {
    if (!line.key.empty() && SameName(line.key, key)) return &line;
  }
  return nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& default_value) const {
  const Line* line = Find(section, key);
  if (line == nullptr) return default_value;
  return line->value.substr(0, kMaxValueLength);
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t default_value) const {
  const Line* line = Find(section, key);
  if (line == nullptr) return default_value;
  return ParseInteger(line->value.substr(0, kMaxValueLength)).value_or(default_value);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key,
                       bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

bool IniFile::SectionExists(const std::string& section) const {
  return FindSection(section) != nullptr;
}

std::optional<int32_t> IniFile::ParseInteger(const std::string& text) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (text.size() > 1 && text[0] == '$') return ParseDigits(first + 1, last, 16, false);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ParseDigits(first + 2, last, 16, false);
  }
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++first;
  // from_chars would take a second sign or a hex prefix after the first one.
  if (first == last || *first < '0' || *first > '9') return std::nullopt;
  return ParseDigits(first, last, 10, negative);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  // Names are the program's own constants; one that could break the file's
  // structure is a mistake and is not written.
  if (!IsWritableName(section) || !IsWritableName(key)) return;
  Section* s = FindSection(section);
  if (s == nullptr) {
    sections_.push_back(Section{section, "[" + section + "]", true, {}});
    s = &sections_.back();
  }
  auto existing = s->lines.begin();
  while (existing != s->lines.end() && (existing->key.empty() || !SameName(existing->key, key))) {
    ++existing;
  }
  // A value with a line break would spill into lines of its own and could
  // forge other keys or sections; such a value is not stored at all.
  if (HasLineBreak(value)) {
    if (existing != s->lines.end()) s->lines.erase(existing);
    return;
  }
  if (existing != s->lines.end()) {
    existing->value = Trim(value);
    existing->text = existing->key + "=" + value;
    return;
  }
  // New keys go after the section's last key, before the blank lines that
  // separate it from the next section.
  auto position = s->lines.end();
  while (position != s->lines.begin() && Trim(std::prev(position)->text).empty()) --position;
  s->lines.insert(position, Line{key + "=" + value, key, Trim(value)});
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
  char buffer[64];
  // to_chars gives the shortest text that reads back as the same number,
  // always with "." and never in the user's locale.
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return;
  WriteString(section, key, std::string(buffer, end));
}

void IniFile::EraseSection(const std::string& section) {
  // Every section of that name goes, or a later duplicate would surface with
  // stale values once the first one is erased.
  std::erase_if(sections_,
                [&](const Section& s) { return s.has_header && SameName(s.name, section); });
}

Status IniFile::UpdateFile() {
  std::string contents;
  for (const Section& s : sections_) {
    if (s.has_header) contents += s.header + "\r\n";
    for (const Line& line : s.lines) contents += line.text + "\r\n";
  }
  return platform_.ReplaceFile(path_, contents);
}

}  // namespace pellmar
