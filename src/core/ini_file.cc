// The profile (INI) facility: parses the whole file into sections of lines,
// answers reads by the first matching section and key, and writes the lines
// back through the platform's atomic replace.
#include "core/ini_file.h"

#include <charconv>
#include <limits>
#include <utility>

#include "core/ini_text.h"
#include "platform/ascii.h"
#include "platform/utf8_text.h"

namespace pellmar {
namespace {

constexpr std::string_view kBlanks = " \t";
// Far more than any settings or language file holds, and little enough
// that a damaged file cannot take the machine's memory. What lies beyond
// is not read, and the file counts as not fully understood.
constexpr size_t kMaxParsedBytes = size_t{16} << 20;

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool IsBlank(std::string_view text) { return Trim(text).empty(); }

// Names compare without regard to case; the folded form is the index key.
std::string Folded(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = LowerAscii(c);
  return folded;
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// A section or key name that would change the file's structure once written.
bool IsWritableName(const std::string& name) {
  return !name.empty() && !HasLineBreak(name) && name.find_first_of("=[]") == std::string::npos &&
         Trim(name) == name;
}

bool IsQuoted(std::string_view value) {
  return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string_view Unquoted(std::string_view value) {
  return IsQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

// The read limit counts bytes, but a cut never splits a UTF-8 character:
// the one that would not fit whole is left out, so what a read returns is
// still text. Bytes that are no UTF-8 (a Shift-JIS file) are cut as they are.
std::string_view CutToLimit(std::string_view value, size_t limit) {
  if (value.size() <= limit) return value;
  size_t start = limit;  // where the last character kept begins
  for (int back = 0; back < 4 && start > 0; ++back) {
    if ((static_cast<unsigned char>(value[--start]) & 0xC0) != 0x80) break;
  }
  const auto lead = static_cast<unsigned char>(value[start]);
  const size_t length = lead >= 0xF8   ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 1;
  return value.substr(0, start + length > limit ? start : limit);
}

// A read trims blanks at either end and unwraps one pair of quotes, so a
// value that would lose either goes out wrapped in one more pair.
std::string Encoded(const std::string& value) {
  const bool padded = !value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                                         kBlanks.find(value.back()) != std::string_view::npos);
  if (padded || IsQuoted(value)) return '"' + value + '"';
  return value;
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

void IniFile::Line::Assign(std::string new_text) {
  text = std::move(new_text);
  key_begin = key_size = value_begin = value_size = 0;
  const std::string_view view(text);
  const std::string_view trimmed = Trim(view);
  if (trimmed.empty() || trimmed.front() == ';') return;
  const size_t equals = view.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = Trim(view.substr(0, equals));
  if (key.empty()) return;
  key_begin = static_cast<size_t>(key.data() - view.data());
  key_size = key.size();
  const std::string_view value = Trim(view.substr(equals + 1));
  if (value.empty()) return;
  value_begin = static_cast<size_t>(value.data() - view.data());
  value_size = value.size();
}

std::string_view IniFile::Line::whole_value() const { return Unquoted(raw_value()); }

std::string IniFile::Line::value() const {
  return std::string(CutToLimit(whole_value(), kMaxValueLength));
}

IniFile::IniFile(Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {
  std::string contents;
  const Status read = platform_.ReadWholeFile(path_, &contents);
  if (read.ok()) {
    Parse(contents);
    as_read_ = std::move(contents);
    return;
  }
  sections_.push_back(Section{"", "", false, {}, {}});
  // A missing file reads as an empty one and every key takes its default,
  // which is what the callers want. A file that is there but cannot be read
  // is not empty, and whoever writes over it must know that.
  unreadable_parts_ = read.code != kErrorFileNotFound && read.code != kErrorPathNotFound;
}

void IniFile::Parse(std::string_view bytes) {
  const bool cut = bytes.size() > kMaxParsedBytes;
  const ProfileText decoded = DecodeProfileText(bytes.substr(0, kMaxParsedBytes));
  std::string_view text = decoded.text;
  if (cut) {
    // The line the cut went through is not taken for a whole one.
    const size_t last_end = text.find_last_of("\r\n");
    text = text.substr(0, last_end == std::string_view::npos ? 0 : last_end + 1);
  }
  unreadable_parts_ = cut || !decoded.clean;
  unicode_ = decoded.unicode;
  sections_.push_back(Section{"", "", false, {}, {}});
  LineSplitter lines(text);
  for (std::string_view line; lines.Next(&line);) AddLine(line);
  // A last line without its line end may have been cut short (a disk that
  // filled, an editor that died): kept before anything is written over it.
  // An editor that leaves the end off costs one needless copy, no more.
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') unreadable_parts_ = true;
}

void IniFile::AddLine(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  if (!trimmed.empty() && trimmed.front() == '[') {
    const size_t close = trimmed.find(']');
    const std::string_view name =
        Trim(trimmed.substr(1, close == std::string_view::npos ? close : close - 1));
    AddSection(Section{std::string(name), std::string(text), true, {}, {}});
    return;
  }
  Section& section = sections_.back();
  Line line;
  line.Assign(std::string(text));
  if (trimmed.empty()) {
    section.blank_lines.push_back(std::move(line));
    return;
  }
  const bool stray_text = !line.is_key() && trimmed.front() != ';';
  const bool cut_on_read = line.is_key() && line.whole_value().size() > kMaxValueLength;
  if (stray_text || cut_on_read) unreadable_parts_ = true;
  // Blank lines with more of the section after them belong to its body.
  for (Line& blank : section.blank_lines) section.lines.push_back(std::move(blank));
  section.blank_lines.clear();
  section.lines.push_back(std::move(line));
}

void IniFile::AddSection(Section section) {
  section_index_.try_emplace(Folded(section.name), sections_.size());
  sections_.push_back(std::move(section));
}

void IniFile::RebuildSectionIndex() {
  section_index_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (sections_[i].has_header) section_index_.try_emplace(Folded(sections_[i].name), i);
  }
}

void IniFile::ForgetIndexes() {
  RebuildSectionIndex();
  key_indexes_.clear();
}

const IniFile::Section* IniFile::FindSection(const std::string& section) const {
  const auto found = section_index_.find(Folded(section));
  return found == section_index_.end() ? nullptr : &sections_[found->second];
}

const IniFile::KeyIndex& IniFile::KeysOf(const Section& section) const {
  const auto [index, made] = key_indexes_.try_emplace(&section - sections_.data());
  if (made) {
    for (size_t i = 0; i < section.lines.size(); ++i) {
      const Line& line = section.lines[i];
      if (line.is_key()) index->second.try_emplace(Folded(line.key()), i);
    }
  }
  return index->second;
}

const IniFile::Line* IniFile::Find(const std::string& section, const std::string& key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  const KeyIndex& keys = KeysOf(*s);
  const auto found = keys.find(Folded(key));
  return found == keys.end() ? nullptr : &s->lines[found->second];
}

IniFile::Line* IniFile::FindLine(Section& section, const std::string& key) {
  const KeyIndex& keys = KeysOf(section);
  const auto found = keys.find(Folded(key));
  return found == keys.end() ? nullptr : &section.lines[found->second];
}

std::string IniFile::Decoded(std::string value) const {
  // A value that is no UTF-8 was written in the system's ANSI code page (0),
  // as editors on Windows save by default; where the system's own text is
  // UTF-8 already, that leaves the bytes as they are.
  if (!unicode_ && !IsWellFormedUtf8(value)) value = platform_.DecodeCodePage(value, 0);
  return value;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& default_value) const {
  const Line* line = Find(section, key);
  return line == nullptr ? default_value : Decoded(line->value());
}

std::optional<size_t> IniFile::CutLength(const std::string& section, const std::string& key) const {
  const Line* line = Find(section, key);
  if (line == nullptr || line->whole_value().size() <= kMaxValueLength) return std::nullopt;
  return line->whole_value().size();
}

std::string IniFile::ReadWholeString(const std::string& section, const std::string& key,
                                     const std::string& default_value) const {
  const Line* line = Find(section, key);
  return line == nullptr ? default_value : Decoded(std::string(line->whole_value()));
}

std::string IniFile::ReadBytes(const std::string& section, const std::string& key,
                               const std::string& default_value) const {
  const Line* line = Find(section, key);
  return line == nullptr ? default_value : line->value();
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t default_value) const {
  const Line* line = Find(section, key);
  if (line == nullptr) return default_value;
  return ParseInteger(line->value()).value_or(default_value);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key,
                       bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

bool IniFile::SectionExists(const std::string& section) const {
  return FindSection(section) != nullptr;
}

std::vector<std::string> IniFile::SectionNames() const {
  std::vector<std::string> names;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (s.has_header && section_index_.at(Folded(s.name)) == i) names.push_back(s.name);
  }
  return names;
}

std::vector<std::string> IniFile::KeyNames(const std::string& section) const {
  std::vector<std::string> names;
  const Section* s = FindSection(section);
  if (s == nullptr) return names;
  const KeyIndex& keys = KeysOf(*s);
  for (size_t i = 0; i < s->lines.size(); ++i) {
    const Line& line = s->lines[i];
    if (line.is_key() && keys.at(Folded(line.key())) == i) names.emplace_back(line.key());
  }
  return names;
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
  if (FindSection(section) == nullptr) {
    AddSection(Section{section, "[" + section + "]", true, {}, {}});
  }
  Section& s = sections_[section_index_.at(Folded(section))];
  Line* existing = FindLine(s, key);
  // A value with a line break would spill into lines of its own and could
  // forge other keys or sections; such a value is not stored at all.
  if (HasLineBreak(value)) {
    if (existing != nullptr) EraseLine(s, existing);
    return;
  }
  if (existing != nullptr) {
    // The key keeps the spelling the file gave it.
    existing->Assign(std::string(existing->key()) + "=" + Encoded(value));
    return;
  }
  // New keys go after the section's last line that is not blank, before the
  // blank lines that part it from the next section.
  Line line;
  line.Assign(key + "=" + Encoded(value));
  s.lines.push_back(std::move(line));
  const auto index = key_indexes_.find(&s - sections_.data());
  if (index != key_indexes_.end()) index->second.try_emplace(Folded(key), s.lines.size() - 1);
}

void IniFile::EraseLine(Section& section, Line* line) {
  section.lines.erase(section.lines.begin() + (line - section.lines.data()));
  // Blank lines now at the end of the body are the section's end again.
  while (!section.lines.empty() && IsBlank(section.lines.back().text)) {
    section.blank_lines.insert(section.blank_lines.begin(), std::move(section.lines.back()));
    section.lines.pop_back();
  }
  key_indexes_.erase(&section - sections_.data());
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
  const std::string folded = Folded(section);
  std::erase_if(sections_,
                [&](const Section& s) { return s.has_header && Folded(s.name) == folded; });
  ForgetIndexes();
}

Status IniFile::UpdateFile() {
  // UTF-8 without a byte-order mark, whatever the file was read as.
  std::string contents;
  for (const Section& s : sections_) {
    if (s.has_header) contents.append(s.header).append("\r\n");
    for (const Line& line : s.lines) contents.append(line.text).append("\r\n");
    for (const Line& line : s.blank_lines) contents.append(line.text).append("\r\n");
  }
  // A file that would come out as it went in is left alone: no rewrite and
  // no flush for every run that changed nothing.
  if (!as_read_.empty() && contents == as_read_) return Status::Ok();
  const Status written = platform_.WriteWholeFile(path_, contents);
  if (written.ok()) as_read_ = std::move(contents);
  return written;
}

}  // namespace pellmar
