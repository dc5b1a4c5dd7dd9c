// A line: size, the project copy's last write, the disk copy's as the
// difference from it (mostly 0), the day they were seen alike, and the
// path, last, so that a tab in a name needs no care. Only "%", CR and LF
// are written escaped.
#include "core/run_memory_line.h"

#include <charconv>

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
// has four on each line.
bool TakeNumber(std::string_view* rest, int64_t* value) {
  const char* begin = rest->data();
  const char* end = begin + rest->size();
  const auto [stop, error] = std::from_chars(begin, end, *value);
  if (error != std::errc() || stop == end || *stop != '\t') return false;
  rest->remove_prefix(stop - begin + 1);
  return true;
}

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
  if (text.find_first_of("%\r\n") == std::string_view::npos) return text;
  *scratch = EscapedPathText(text);
  return *scratch;
}

bool ParseMemoryLine(std::string_view line, RememberedVersion* version, size_t* path_at) {
  const size_t length = line.size();
  int64_t medium_after = 0, day = 0;
  if (!TakeNumber(&line, &version->size) || !TakeNumber(&line, &version->project_ns) ||
      !TakeNumber(&line, &medium_after) || !TakeNumber(&line, &day) || version->size < 0 ||
      line.empty() || !EscapedWell(line)) {
    return false;
  }
  version->medium_ns = version->project_ns + medium_after;
  version->since = day * kSecondsPerDay;
  *path_at = length - line.size();
  return true;
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
