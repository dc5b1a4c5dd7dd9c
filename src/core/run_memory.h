// The memory of the runs between one project folder and one removable disk:
// for each file, its version when a run last saw its two copies the same.
// It lets a run tell a file changed on both sides since then from one
// changed on one side only. Kept in the user's state folder, one file per
// project and disk, so that two computers sharing a stick each keep their own.
#ifndef PELLMAR_CORE_RUN_MEMORY_H_
#define PELLMAR_CORE_RUN_MEMORY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/added_memory_lines.h"
#include "core/run_memory_line.h"
#include "platform/platform.h"

namespace pellmar {

/// The text of a memory file as pieces to write one after another. Most
/// point into the memory, which must stay as it is while they are used;
/// only the head of the file and the lines a run changed are made anew.
struct MemoryPieces {
  MemoryPieces() = default;
  MemoryPieces(const MemoryPieces&) = delete;  // the pieces point into `made`
  MemoryPieces& operator=(const MemoryPieces&) = delete;

  std::string made;
  std::vector<std::string_view> pieces;
};

class RunMemory {
 public:
  RunMemory(std::string project_folder, std::string medium_key);

  /// The memory file in `state_folder` of this project and disk.
  std::string PathIn(const std::string& state_folder) const;

  /// Takes the memory from the text of a memory file. A text that is no
  /// memory file, or that of another project or disk, leaves the memory
  /// empty and returns false: a memory the run cannot trust is none.
  bool Parse(std::string text);
  /// The text of the memory file, in pieces, so that a large memory is
  /// written without a second copy of it.
  void Pieces(MemoryPieces* out) const;
  /// The text of the memory file, whole.
  std::string Text() const;

  /// The version remembered of the file at `relative` (folders joined by
  /// "\" below the project folder).
  std::optional<RememberedVersion> Find(std::string_view relative) const;
  void Remember(std::string_view relative, const RememberedVersion& version);
  void Forget(std::string_view relative);
  /// True once something was remembered or forgotten since Parse.
  bool Changed() const { return changed_; }
  /// True when the run remembered more files than a memory can hold: the
  /// memory is not to be kept, as it would miss some.
  bool Overfull() const { return overfull_; }
  /// False for a disk with nothing lasting to tell it by: no memory is kept.
  bool Keyed() const { return !medium_key_.empty(); }
  size_t size() const;

 private:
  enum LineState : uint32_t { kAsRead, kChanged, kForgotten };
  // A line of the file as read: where its path lies in the text. Its version
  // is read from the text when asked for, and one the run gave it is kept
  // aside, so that a large memory costs little beyond its text.
  struct Line {
    uint32_t path_at = 0;
    uint32_t path_length : 30 = 0;
    uint32_t state : 2 = kAsRead;
  };
  static constexpr size_t kNoLine = SIZE_MAX;
  std::string_view PathOf(const Line& line) const {
    return std::string_view(text_).substr(line.path_at, line.path_length);
  }
  // Lines asked for out of the file's order are found one folder at a
  // time. The lines of a folder lie together in the file, as the walk that
  // wrote it went through the folder in one go: the first time a folder is
  // asked about, its lines alone are indexed, in a table small enough to
  // stay in the processor's cache while the walk is in the folder, instead
  // of one index of every line, where each name is a wait of its own.
  struct FolderRun {
    uint64_t folder_hash;
    uint32_t begin, end;  // lines [begin, end) of one folder
  };
  struct FolderTable {
    std::string folder;           // escaped, ending in "\\"; empty for the top
    std::vector<uint64_t> index;  // upper half of the name's hash, 1 + line; 0 free
    uint64_t used = 0;            // when it was last asked, to drop the oldest
  };
  bool ParseBody(std::string_view body);
  bool ParseLines(std::string_view part, std::vector<Line>* lines) const;
  void BuildRuns() const;
  const FolderTable& TableOf(std::string_view folder) const;
  size_t FindRead(std::string_view escaped) const;
  RememberedVersion VersionOfRead(size_t read) const;
  void ChangeRead(size_t read, const RememberedVersion& version);
  void AppendReadPieces(MemoryPieces* out, size_t made_at) const;

  const std::string project_folder_;
  const std::string medium_key_;
  // What the file held, looked up by a hash index of the paths, so that a
  // memory of many files costs no allocation for each.
  std::string text_;
  size_t body_at_ = 0;  // where the first line starts
  std::vector<Line> lines_;
  mutable std::vector<FolderRun> runs_;  // by folder_hash, then begin; made at the first miss
  mutable std::vector<FolderTable> tables_;
  mutable size_t current_table_ = 0;
  mutable uint64_t table_uses_ = 0;
  mutable size_t cursor_ = 0;  // the line after the one found last
  // The versions the run gave lines read: 1 + the place in changes_ for
  // each line, made at the first change.
  std::vector<uint32_t> change_at_;
  std::vector<RememberedVersion> changes_;
  // The paths new to the memory, in the order they came.
  AddedMemoryLines added_;
  bool changed_ = false;
  bool overfull_ = false;
};

/// Reads the memory of `memory`'s project and disk from the state folder;
/// a missing, foreign or broken file leaves it empty. False when there is
/// nothing to keep a memory by (no state folder, a disk with no key).
bool RecallRunMemory(Platform& platform, RunMemory* memory);
/// Writes it back in one atomic replace, making the state folder first.
Status KeepRunMemory(Platform& platform, const RunMemory& memory);

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_MEMORY_H_
