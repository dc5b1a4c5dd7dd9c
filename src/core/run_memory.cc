// The memory file: a first line naming the format, one naming the project
// folder and one the disk, then one line a file (see run_memory_line.h).
// The lines read stay in the text they came in; a run's changes are kept in
// their lines and new paths in AddedMemoryLines, and the file is written
// back from those pieces.
#include "core/run_memory.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <thread>
#include <utility>

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

// From this size (about 18,000 files) a memory is read on two threads.
constexpr size_t kReadInHalvesFrom = size_t{1} << 20;

// Folders above a line's file kept at once: a walk seldom goes deeper.
constexpr size_t kTablesKept = 16;

// The length of the folder part of an escaped path, "\\" included: a name
// never holds one, and escaping never makes one.
size_t FolderLength(std::string_view path) {
  const size_t cut = path.rfind('\\');
  return cut == std::string_view::npos ? 0 : cut + 1;
}

// Takes the text up to the next `separator` off the front of `*rest`.
std::string_view TakeField(std::string_view* rest, char separator) {
  const size_t end = rest->find(separator);
  const std::string_view field = rest->substr(0, end);
  rest->remove_prefix(end == std::string_view::npos ? rest->size() : end + 1);
  return field;
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
  runs_.clear();
  tables_.clear();
  current_table_ = 0;
  change_at_.clear();
  changes_.clear();
  added_.Clear();
  changed_ = overfull_ = false;
  cursor_ = 0;
  std::string_view rest = text_;
  if (TakeField(&rest, '\n') != kFormatLine ||
      TakeField(&rest, '\n') != "project\t" + EscapedPathText(project_folder_) ||
      TakeField(&rest, '\n') != "medium\t" + EscapedPathText(medium_key_) ||
      text_.size() > UINT32_MAX) {
    text_.clear();
    return false;
  }
  body_at_ = text_.size() - rest.size();
  if (!ParseBody(rest)) {
    text_.clear();
    lines_.clear();
    return false;
  }
  return true;
}

// A large memory is read on two threads, each half of it from a line's
// start: the walk waits for it before its first file.
bool RunMemory::ParseBody(std::string_view body) {
  // Room for every line at once: the second half's join the first's
  // without a second copy of both.
  lines_.reserve(static_cast<size_t>(std::count(body.begin(), body.end(), '\n')) + 1);
  if (body.size() < kReadInHalvesFrom) return ParseLines(body, &lines_);
  const size_t half = body.find('\n', body.size() / 2);
  if (half == std::string_view::npos || half + 1 >= body.size()) return ParseLines(body, &lines_);
  std::vector<Line> second;
  bool second_ok = false;
  std::thread helper;
  try {
    helper = std::thread([&] {
      const std::string_view part = body.substr(half + 1);
      second.reserve(static_cast<size_t>(std::count(part.begin(), part.end(), '\n')) + 1);
      second_ok = ParseLines(part, &second);
    });
  } catch (const std::system_error&) {
    return ParseLines(body, &lines_);  // no thread to be had: one after the other
  }
  const bool first_ok = ParseLines(body.substr(0, half + 1), &lines_);
  helper.join();
  if (!first_ok || !second_ok) return false;
  lines_.insert(lines_.end(), second.begin(), second.end());
  return true;
}

bool RunMemory::ParseLines(std::string_view part, std::vector<Line>* lines) const {
  while (!part.empty()) {
    const size_t line_at = part.data() - text_.data();
    const std::string_view line = TakeField(&part, '\n');
    RememberedVersion version;
    size_t path_at = 0;
    if (!ParseMemoryLine(line, &version, &path_at) || line.size() - path_at >= (1u << 30)) {
      return false;
    }
    Line read{};
    read.path_at = static_cast<uint32_t>(line_at + path_at);
    read.path_length = static_cast<uint32_t>(line.size() - path_at) & ((1u << 30) - 1);
    lines->push_back(read);
  }
  return true;
}

// Runs of lines of one folder, in the file's order: a folder whose files
// and subfolders the walk took turns with has more than one.
void RunMemory::BuildRuns() const {
  runs_.clear();
  std::string_view folder;
  for (uint32_t i = 0; i < lines_.size(); ++i) {
    const std::string_view path = PathOf(lines_[i]);
    const std::string_view here = path.substr(0, FolderLength(path));
    if (i > 0 && here == folder) {
      runs_.back().end = i + 1;
      continue;
    }
    folder = here;
    runs_.push_back(FolderRun{NameHash(here), i, i + 1});
  }
  std::sort(runs_.begin(), runs_.end(), [](const FolderRun& a, const FolderRun& b) {
    return a.folder_hash != b.folder_hash ? a.folder_hash < b.folder_hash : a.begin < b.begin;
  });
}

// A walk goes back to a folder after each of its subfolders: the tables of
// the folders it is in stay, and the one asked about longest ago goes.
const RunMemory::FolderTable& RunMemory::TableOf(std::string_view folder) const {
  ++table_uses_;
  if (current_table_ < tables_.size() && tables_[current_table_].folder == folder) {
    tables_[current_table_].used = table_uses_;
    return tables_[current_table_];
  }
  for (size_t i = 0; i < tables_.size(); ++i) {
    if (tables_[i].folder != folder) continue;
    current_table_ = i;
    tables_[i].used = table_uses_;
    return tables_[i];
  }
  if (runs_.empty()) BuildRuns();
  const uint64_t hash = NameHash(folder);
  const auto first =
      std::lower_bound(runs_.begin(), runs_.end(), hash,
                       [](const FolderRun& run, uint64_t h) { return run.folder_hash < h; });
  std::vector<FolderRun> mine;
  size_t count = 0;
  for (auto run = first; run != runs_.end() && run->folder_hash == hash; ++run) {
    const std::string_view path = PathOf(lines_[run->begin]);
    if (path.substr(0, FolderLength(path)) != folder) continue;  // another folder, same hash
    mine.push_back(*run);
    count += run->end - run->begin;
  }
  FolderTable table{std::string(folder), {}, table_uses_};
  size_t slots = 16;
  while (slots < 2 * count) slots *= 2;
  table.index.assign(slots, 0);
  for (const FolderRun& run : mine) {
    for (uint32_t i = run.begin; i < run.end; ++i) {
      const uint64_t name_hash = NameHash(PathOf(lines_[i]).substr(folder.size()));
      size_t slot = name_hash & (slots - 1);
      while (table.index[slot] != 0) slot = (slot + 1) & (slots - 1);
      table.index[slot] = (name_hash & 0xFFFFFFFF00000000ull) | (i + 1);
    }
  }
  if (tables_.size() < kTablesKept) {
    tables_.push_back(std::move(table));
    current_table_ = tables_.size() - 1;
  } else {
    const auto oldest = std::min_element(
        tables_.begin(), tables_.end(),
        [](const FolderTable& a, const FolderTable& b) { return a.used < b.used; });
    current_table_ = static_cast<size_t>(oldest - tables_.begin());
    tables_[current_table_] = std::move(table);
  }
  return tables_[current_table_];
}

// A walk asks in the order it listed the files, which the file keeps, so
// the line after the one found last is looked at first: it is mostly the
// one, and it is next in memory.
size_t RunMemory::FindRead(std::string_view escaped) const {
  if (cursor_ < lines_.size() && PathOf(lines_[cursor_]) == escaped) return cursor_++;
  if (lines_.empty()) return kNoLine;
  const size_t cut = FolderLength(escaped);
  const FolderTable& table = TableOf(escaped.substr(0, cut));
  const uint64_t hash = NameHash(escaped.substr(cut));
  const size_t mask = table.index.size() - 1;
  for (size_t slot = hash & mask; table.index[slot] != 0; slot = (slot + 1) & mask) {
    if ((table.index[slot] ^ hash) >> 32 != 0) continue;
    const uint32_t place = static_cast<uint32_t>(table.index[slot]);
    if (PathOf(lines_[place - 1]) == escaped) {
      cursor_ = place;
      return place - 1;
    }
  }
  return kNoLine;
}

RememberedVersion RunMemory::VersionOfRead(size_t read) const {
  if (lines_[read].state == kChanged) return changes_[change_at_[read] - 1];
  // The line starts after the one before it; Parse has checked it.
  const Line& before = lines_[read == 0 ? 0 : read - 1];
  const size_t start = read == 0 ? body_at_ : before.path_at + before.path_length + 1;
  const Line& line = lines_[read];
  return VersionOfMemoryLine(
      std::string_view(text_).substr(start, line.path_at + line.path_length - start));
}

void RunMemory::ChangeRead(size_t read, const RememberedVersion& version) {
  if (change_at_.empty()) change_at_.assign(lines_.size(), 0);
  if (change_at_[read] == 0) {
    changes_.push_back(version);
    change_at_[read] = static_cast<uint32_t>(changes_.size());
  } else {
    changes_[change_at_[read] - 1] = version;
  }
  lines_[read].state = kChanged;
}

std::optional<RememberedVersion> RunMemory::Find(std::string_view relative) const {
  std::string scratch;
  const std::string_view escaped = EscapedPathText(relative, &scratch);
  if (const size_t read = FindRead(escaped); read != kNoLine) {
    if (lines_[read].state == kForgotten) return std::nullopt;
    return VersionOfRead(read);
  }
  const std::optional<uint32_t> added = added_.Find(escaped);
  if (!added) return std::nullopt;
  return added_.VersionAt(*added);
}

void RunMemory::Remember(std::string_view relative, const RememberedVersion& version) {
  std::string scratch;
  const std::string_view escaped = EscapedPathText(relative, &scratch);
  if (const size_t read = FindRead(escaped); read != kNoLine) {
    if (lines_[read].state != kForgotten && VersionOfRead(read) == version) return;
    ChangeRead(read, version);
  } else if (const std::optional<uint32_t> added = added_.Find(escaped)) {
    if (added_.VersionAt(*added) == version) return;
    added_.Replace(*added, version);
  } else if (!added_.Add(escaped, version)) {
    overfull_ = true;
  }
  changed_ = true;
}

void RunMemory::Forget(std::string_view relative) {
  std::string scratch;
  const std::string_view escaped = EscapedPathText(relative, &scratch);
  if (const size_t read = FindRead(escaped); read != kNoLine) {
    if (lines_[read].state == kForgotten) return;
    lines_[read].state = kForgotten;
  } else if (const std::optional<uint32_t> added = added_.Find(escaped)) {
    if (!added_.VersionAt(*added)) return;
    added_.Replace(*added, std::nullopt);
  } else {
    return;
  }
  changed_ = true;
}

// The lines read stay where they were and as they were written, changed
// where the run changed them: runs of unchanged lines go out straight from
// the text read, changed ones from `made`, which holds them in their order.
void RunMemory::AppendReadPieces(MemoryPieces* out, size_t made_at) const {
  const std::string_view text = text_, made = out->made;
  size_t line_start = body_at_, run_from = 0, run_to = 0;
  for (const Line& line : lines_) {
    const size_t line_end = std::min<size_t>(line.path_at + line.path_length + 1, text.size());
    if (line.state == kAsRead) {
      if (run_to == run_from) run_from = line_start;
      run_to = line_end;
    } else {
      if (run_to > run_from) out->pieces.push_back(text.substr(run_from, run_to - run_from));
      run_from = run_to = 0;
    }
    if (line.state == kChanged) {
      const size_t length = made.find('\n', made_at) + 1 - made_at;
      out->pieces.push_back(made.substr(made_at, length));
      made_at += length;
    }
    line_start = line_end;
  }
  if (run_to > run_from) out->pieces.push_back(text.substr(run_from, run_to - run_from));
  // The last line of a file may lack its line end; every line written has one.
  if (!lines_.empty() && lines_.back().state == kAsRead && text.back() != '\n') {
    out->pieces.push_back("\n");
  }
}

// `made` is complete before any piece points into it.
void RunMemory::Pieces(MemoryPieces* out) const {
  out->made.clear();
  out->pieces.clear();
  out->made.append(kFormatLine).append("\nproject\t").append(EscapedPathText(project_folder_));
  out->made.append("\nmedium\t").append(EscapedPathText(medium_key_)).append("\n");
  const size_t head_length = out->made.size();
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].state == kChanged)
      AppendMemoryLine(PathOf(lines_[i]), VersionOfRead(i), &out->made);
  }
  out->pieces.push_back(std::string_view(out->made).substr(0, head_length));
  AppendReadPieces(out, head_length);
  added_.AppendPieces(&out->pieces);
}

std::string RunMemory::Text() const {
  MemoryPieces pieces;
  Pieces(&pieces);
  std::string text;
  for (const std::string_view piece : pieces.pieces) text.append(piece);
  return text;
}

size_t RunMemory::size() const {
  const size_t forgotten = static_cast<size_t>(std::count_if(
      lines_.begin(), lines_.end(), [](const Line& line) { return line.state == kForgotten; }));
  return lines_.size() - forgotten + added_.size();
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
  if (memory.Overfull()) {
    return Status::Error(kErrorInvalidData, "more files than a memory can hold");
  }
  MemoryPieces pieces;
  memory.Pieces(&pieces);
  return platform.WriteWholeFile(memory.PathIn(folder), pieces.pieces);
}

}  // namespace pellmar
