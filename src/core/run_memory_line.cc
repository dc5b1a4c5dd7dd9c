// A line: size, the project copy's last write, the disk copy's as the
// difference from it (mostly 0), the day they were seen alike, and the
// path, last, so that a tab in a name needs no care. Only "%", CR and LF
// are written escaped.
#include "core/run_memory_line.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "platform/dos_time.h"

namespace pellmar {

namespace {

bool EscapedWell(std::string_view text) {
  for (size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 3)) {
    const std::string_view code = text.substr(at + 1, 2);
    if (code != "25" && code != "0D" && code != "0A") return false;
  }
  return true;
}

// A number and the tab after it, read in one pass: a memory of many files
// has four on each line, and reads them again for each file it is asked
// for. Decimal digits with an optional "-", within 64 bits, as written.
bool TakeNumber(std::string_view* rest, int64_t* value) {
  const char* at = rest->data();
  const char* const end = at + rest->size();
  const bool negative = at != end && *at == '-';
  if (negative) ++at;
  const char* const digits = at;
  uint64_t magnitude = 0;  // 19 digits never wrap it
  while (at != end && at - digits < 20 && static_cast<unsigned char>(*at - '0') < 10) {
    magnitude = magnitude * 10 + static_cast<unsigned char>(*at - '0');
    ++at;
  }
  const uint64_t limit = uint64_t{INT64_MAX} + (negative ? 1 : 0);
  if (at == digits || at - digits > 19 || magnitude > limit || at == end || *at != '\t') {
    return false;
  }
  *value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  rest->remove_prefix(at - rest->data() + 1);
  return true;
}

// The four numbers in front of the path; what follows them is left in
// `*line`.
bool TakeVersion(std::string_view* line, RememberedVersion* version) {
  int64_t medium_after = 0, day = 0;
  if (!TakeNumber(line, &version->size) || !TakeNumber(line, &version->project_ns) ||
      !TakeNumber(line, &medium_after) || !TakeNumber(line, &day)) {
    return false;
  }
  version->medium_ns = version->project_ns + medium_after;
  version->since = day * kSecondsPerDay;
  return true;
}

bool NeedsEscape(char c) { return c == '%' || c == '\r' || c == '\n'; }

void AppendNumber(int64_t number, std::string* out) {
  char digits[24];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
  (void)error;  // 24 places hold every int64_t
  out->append(digits, end).push_back('\t');
}

}  // namespace

std::string EscapedPathText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '%')
      out += "%25";
    else if (c == '\r')
      out += "%0D";
    else if (c == '\n')
      out += "%0A";
    else
      out += c;
  }
  return out;
}

std::string_view EscapedPathText(std::string_view text, std::string* scratch) {
  if (std::none_of(text.begin(), text.end(), NeedsEscape)) return text;
  *scratch = EscapedPathText(text);
  return *scratch;
}

bool ParseMemoryLine(std::string_view line, RememberedVersion* version, size_t* path_at) {
  const size_t length = line.size();
  if (!TakeVersion(&line, version) || version->size < 0 || line.empty() || !EscapedWell(line)) {
    return false;
  }
  *path_at = length - line.size();
  return true;
}

RememberedVersion VersionOfMemoryLine(std::string_view line) {
  RememberedVersion version;
  TakeVersion(&line, &version);
  return version;
}

std::string_view PathOfMemoryLine(std::string_view line) {
  for (int field = 0; field < 4; ++field) line.remove_prefix(line.find('\t') + 1);
  return line;
}

void AppendMemoryLine(std::string_view escaped_path, const RememberedVersion& version,
                      std::string* out) {
  AppendNumber(version.size, out);
  AppendNumber(version.project_ns, out);
  AppendNumber(version.medium_ns - version.project_ns, out);
  AppendNumber(version.since / kSecondsPerDay, out);
  out->append(escaped_path).push_back('\n');
}

}  // namespace pellmar
