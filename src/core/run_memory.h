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
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

/// The two copies of a file as a run saw them alike.
struct RememberedVersion {
  int64_t size = 0;
  int64_t project_ns = 0;  // last write of the copy in the project folder
  int64_t medium_ns = 0;   // last write of the copy on the removable disk
  int64_t since = 0;       // the local midnight of that run, as ToLocalSeconds counts: whole days

  friend bool operator==(const RememberedVersion&, const RememberedVersion&) = default;
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
  /// The text of the memory file.
  std::string Text() const;

  /// The version remembered of the file at `relative` (folders joined by
  /// "\" below the project folder).
  std::optional<RememberedVersion> Find(std::string_view relative) const;
  void Remember(std::string_view relative, const RememberedVersion& version);
  void Forget(std::string_view relative);
  /// True once something was remembered or forgotten since Parse.
  bool Changed() const { return !changes_.empty(); }
  /// False for a disk with nothing lasting to tell it by: no memory is kept.
  bool Keyed() const { return !medium_key_.empty(); }
  size_t size() const;

 private:
  // A line of the file as read: its version, and its path as written there.
  struct Line {
    RememberedVersion version;
    uint32_t path_at;
    uint32_t path_length;
  };
  std::string_view PathOf(const Line& line) const {
    return std::string_view(text_).substr(line.path_at, line.path_length);
  }
  void BuildIndex() const;
  const Line* FindRead(std::string_view relative) const;

  const std::string project_folder_;
  const std::string medium_key_;
  // What the file held, looked up by a hash index of the paths, so that a
  // memory of many files costs no allocation for each.
  std::string text_;
  std::vector<Line> lines_;
  mutable std::vector<uint32_t> index_;  // 1 + the place in lines_; 0 for a free slot
  mutable size_t cursor_ = 0;            // the line after the one found last
  // What the run changed since: a version, or nullopt for a file forgotten;
  // the paths new to the memory in the order they came.
  std::unordered_map<std::string, std::optional<RememberedVersion>> changes_;
  std::vector<std::string> added_;
};

/// Reads the memory of `memory`'s project and disk from the state folder;
/// a missing, foreign or broken file leaves it empty. False when there is
/// nothing to keep a memory by (no state folder, a disk with no key).
bool RecallRunMemory(Platform& platform, RunMemory* memory);
/// Writes it back in one atomic replace, making the state folder first.
Status KeepRunMemory(Platform& platform, const RunMemory& memory);

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_MEMORY_H_
