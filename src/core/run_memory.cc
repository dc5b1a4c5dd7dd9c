// The memory file: a first line naming the format, one naming the project
// folder and one the disk, then one line a file: size, the project copy's
// last write, the disk copy's as the difference from it (mostly 0), the
// day they were seen alike, and the path, last, so that a tab in a name
// needs no care. Only "%", CR and LF are written escaped.
#include "core/run_memory.h"

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

bool Unescape(std::string_view text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      *out += text[i];
      continue;
    }
    const std::string_view code = text.substr(i + 1, 2);
    if (code == "25")
      *out += '%';
    else if (code == "0D")
      *out += '\r';
    else if (code == "0A")
      *out += '\n';
    else
      return false;
    i += 2;
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

bool TakeNumber(std::string_view* rest, int64_t* value) {
  const std::string_view field = TakeField(rest, '\t');
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), *value);
  return error == std::errc() && end == field.data() + field.size() && !field.empty();
}

bool ParseVersionLine(std::string_view line, std::string* path, RememberedVersion* version) {
  int64_t medium_after = 0, day = 0;
  if (!TakeNumber(&line, &version->size) || !TakeNumber(&line, &version->project_ns) ||
      !TakeNumber(&line, &medium_after) || !TakeNumber(&line, &day) || version->size < 0 ||
      line.empty() || !Unescape(line, path)) {
    return false;
  }
  version->medium_ns = version->project_ns + medium_after;
  version->since = day * kSecondsPerDay;
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

bool RunMemory::Parse(std::string_view text) {
  versions_.clear();
  changed_ = false;
  if (TakeField(&text, '\n') != kFormatLine ||
      TakeField(&text, '\n') != "project\t" + Escaped(project_folder_) ||
      TakeField(&text, '\n') != "medium\t" + Escaped(medium_key_)) {
    return false;
  }
  std::string path;
  RememberedVersion version;
  while (!text.empty()) {
    const std::string_view line = TakeField(&text, '\n');
    if (!ParseVersionLine(line, &path, &version)) {
      versions_.clear();
      return false;
    }
    versions_[path] = version;
  }
  return true;
}

std::string RunMemory::Text() const {
  std::string text;
  text.reserve(64 * (versions_.size() + 3));
  text.append(kFormatLine).append("\nproject\t").append(Escaped(project_folder_));
  text.append("\nmedium\t").append(Escaped(medium_key_)).append("\n");
  for (const auto& [path, version] : versions_) {
    for (const int64_t number :
         {version.size, version.project_ns, version.medium_ns - version.project_ns,
          version.since / kSecondsPerDay}) {
      text.append(std::to_string(number)).append("\t");
    }
    text.append(Escaped(path)).append("\n");
  }
  return text;
}

const RememberedVersion* RunMemory::Find(const std::string& relative) const {
  const auto found = versions_.find(relative);
  return found == versions_.end() ? nullptr : &found->second;
}

void RunMemory::Remember(const std::string& relative, const RememberedVersion& version) {
  auto [place, added] = versions_.try_emplace(relative, version);
  if (!added && place->second == version) return;
  place->second = version;
  changed_ = true;
}

void RunMemory::Forget(const std::string& relative) {
  if (versions_.erase(relative) != 0) changed_ = true;
}

bool RecallRunMemory(Platform& platform, RunMemory* memory) {
  const std::string folder = platform.StateFolder();
  if (folder.empty() || !memory->Keyed()) return false;
  std::string text;
  if (platform.ReadWholeFile(memory->PathIn(folder), &text).ok()) memory->Parse(text);
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
