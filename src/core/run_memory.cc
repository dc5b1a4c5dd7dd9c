// The memory file: a first line naming the format, one naming the project
// folder and one the disk, then one line a file: size, the project copy's
// last write, the disk copy's as the difference from it (mostly 0), the
// day they were seen alike, and the path, last, so that a tab in a name
// needs no care. Only "%", CR and LF are written escaped.
#include "core/run_memory.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

#include "platform/dos_time.h"
#include "platform/path_text.h"

namespace pellmar {

namespace {

constexpr std::string_view kFormatLine = "Pellmar run memory 1";

// 64-bit FNV-1a: names the file by project and disk without putting either
// text, which may hold any character, into a file name.
uint64_t NameHash(std::string_view text, uint64_t hash = 14695981039346656037ull) {
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Escaped(std::string_view text) {
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

std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const std::string_view code = text.substr(i + 1, 2);
    out += code == "25" ? '%' : code == "0D" ? '\r' : '\n';
    i += 2;
  }
  return out;
}

bool EscapedWell(std::string_view text) {
  for (size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 3)) {
    const std::string_view code = text.substr(at + 1, 2);
    if (code != "25" && code != "0D" && code != "0A") return false;
  }
  return true;
}

// Takes the text up to the next `separator` off the front of `*rest`.
std::string_view TakeField(std::string_view* rest, char separator) {
  const size_t end = rest->find(separator);
  const std::string_view field = rest->substr(0, end);
  rest->remove_prefix(end == std::string_view::npos ? rest->size() : end + 1);
  return field;
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

// A line's numbers, and where its path starts; false for a line that is
// none of this file's.
bool ParseLine(std::string_view line, RememberedVersion* version, size_t* path_at) {
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

}  // namespace

RunMemory::RunMemory(std::string project_folder, std::string medium_key)
    : project_folder_(std::move(project_folder)), medium_key_(std::move(medium_key)) {}

std::string RunMemory::PathIn(const std::string& state_folder) const {
  const uint64_t hash = NameHash(medium_key_, NameHash(project_folder_ + '\n'));
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.runs", static_cast<unsigned long long>(hash));
  return ChildPath(state_folder, name);
}

bool RunMemory::Parse(std::string text) {
  text_ = std::move(text);
  lines_.clear();
  index_.clear();
  changes_.clear();
  added_.clear();
  cursor_ = 0;
  std::string_view rest = text_;
  if (TakeField(&rest, '\n') != kFormatLine ||
      TakeField(&rest, '\n') != "project\t" + Escaped(project_folder_) ||
      TakeField(&rest, '\n') != "medium\t" + Escaped(medium_key_) || text_.size() > UINT32_MAX) {
    text_.clear();
    return false;
  }
  lines_.reserve(static_cast<size_t>(std::count(rest.begin(), rest.end(), '\n')));
  while (!rest.empty()) {
    const size_t line_at = rest.data() - text_.data();
    const std::string_view line = TakeField(&rest, '\n');
    Line read;
    size_t path_at = 0;
    if (!ParseLine(line, &read.version, &path_at)) {
      text_.clear();
      lines_.clear();
      return false;
    }
    read.path_at = static_cast<uint32_t>(line_at + path_at);
    read.path_length = static_cast<uint32_t>(line.size() - path_at);
    lines_.push_back(read);
  }
  return true;
}

// Open addressing over a table at least twice the lines: short probes.
// Made only once a file is asked out of the file's order: a walk that finds
// the tree as the last one left it never needs it.
void RunMemory::BuildIndex() const {
  size_t slots = 16;
  while (slots < 2 * lines_.size()) slots *= 2;
  index_.assign(slots, 0);
  for (uint32_t i = 0; i < lines_.size(); ++i) {
    size_t slot = NameHash(PathOf(lines_[i])) & (slots - 1);
    while (index_[slot] != 0) slot = (slot + 1) & (slots - 1);
    index_[slot] = i + 1;
  }
}

// A walk asks in the order it listed the files, which the file keeps, so
// the line after the one found last is looked at first: it is mostly the
// one, and it is next in memory.
const RunMemory::Line* RunMemory::FindRead(std::string_view relative) const {
  if (cursor_ < lines_.size() && PathOf(lines_[cursor_]) == relative) {
    return &lines_[cursor_++];
  }
  if (lines_.empty()) return nullptr;
  if (index_.empty()) BuildIndex();
  std::string escaped;
  if (relative.find_first_of("%\r\n") != std::string_view::npos) {
    escaped = Escaped(relative);
    relative = escaped;
  }
  const size_t mask = index_.size() - 1;
  for (size_t slot = NameHash(relative) & mask; index_[slot] != 0; slot = (slot + 1) & mask) {
    const Line& line = lines_[index_[slot] - 1];
    if (PathOf(line) == relative) {
      cursor_ = index_[slot];
      return &line;
    }
  }
  return nullptr;
}

std::optional<RememberedVersion> RunMemory::Find(std::string_view relative) const {
  if (!changes_.empty()) {
    const auto changed = changes_.find(std::string(relative));
    if (changed != changes_.end()) return changed->second;
  }
  const Line* line = FindRead(relative);
  if (line == nullptr) return std::nullopt;
  return line->version;
}

void RunMemory::Remember(std::string_view relative, const RememberedVersion& version) {
  if (Find(relative) == version) return;
  auto [change, added] = changes_.try_emplace(std::string(relative), version);
  change->second = version;
  if (added && FindRead(relative) == nullptr) added_.push_back(change->first);
}

void RunMemory::Forget(std::string_view relative) {
  if (Find(relative)) changes_[std::string(relative)] = std::nullopt;
}

// The lines read stay where they were, changed where the run changed them,
// and the files new to the memory follow in the order they were seen.
std::string RunMemory::Text() const {
  std::string text;
  text.reserve(text_.size() + 64 * changes_.size() + 64);
  text.append(kFormatLine).append("\nproject\t").append(Escaped(project_folder_));
  text.append("\nmedium\t").append(Escaped(medium_key_)).append("\n");
  const auto append = [&text](std::string_view escaped_path, const RememberedVersion& version) {
    for (const int64_t number :
         {version.size, version.project_ns, version.medium_ns - version.project_ns,
          version.since / kSecondsPerDay}) {
      text.append(std::to_string(number)).append("\t");
    }
    text.append(escaped_path).append("\n");
  };
  for (const Line& line : lines_) {
    const auto changed = changes_.empty() ? changes_.end() : changes_.find(Unescaped(PathOf(line)));
    if (changed == changes_.end()) {
      append(PathOf(line), line.version);
    } else if (changed->second) {
      append(PathOf(line), *changed->second);
    }
  }
  for (const std::string& path : added_) {
    const std::optional<RememberedVersion>& version = changes_.at(path);
    if (version) append(Escaped(path), *version);
  }
  return text;
}

size_t RunMemory::size() const {
  size_t count = lines_.size();
  for (const auto& [path, version] : changes_) {
    const bool read = FindRead(path) != nullptr;
    count += (version.has_value() ? 1 : 0) - (read ? 1 : 0);
  }
  return count;
}

bool RecallRunMemory(Platform& platform, RunMemory* memory) {
  const std::string folder = platform.StateFolder();
  if (folder.empty() || !memory->Keyed()) return false;
  std::string text;
  if (platform.ReadWholeFile(memory->PathIn(folder), &text).ok()) memory->Parse(std::move(text));
  return true;
}

Status KeepRunMemory(Platform& platform, const RunMemory& memory) {
  const std::string folder = platform.StateFolder();
  FolderHandle made;
  if (Status status = platform.MakeFolders(folder, VolumeGuard{}, &made); !status.ok()) {
    return status;
  }
  return platform.WriteWholeFile(memory.PathIn(folder), memory.Text());
}

}  // namespace pellmar
