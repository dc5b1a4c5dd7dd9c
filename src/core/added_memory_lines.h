// The lines a run adds to its memory for files it did not know, kept as
// the file will hold them, in blocks that never move, and found by an index
// of 32-bit places: a first run over a large tree costs about its file.
#ifndef PELLMAR_CORE_ADDED_MEMORY_LINES_H_
#define PELLMAR_CORE_ADDED_MEMORY_LINES_H_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/run_memory_line.h"

namespace pellmar {

/// Lines for new paths, in the order they came; a path has one line.
class AddedMemoryLines {
 public:
  /// The place of the line of `escaped_path`; nullopt when none was added.
  std::optional<uint32_t> Find(std::string_view escaped_path) const;
  /// The version of the line at `at`; nullopt once it was forgotten.
  std::optional<RememberedVersion> VersionAt(uint32_t at) const;
  /// Adds a line for a path that has none. False when the lines would
  /// outgrow what a 32-bit place can name: nothing was added.
  bool Add(std::string_view escaped_path, const RememberedVersion& version);
  /// Gives the line at `at` another version, or forgets it (nullopt); it
  /// keeps its place in the order either way.
  void Replace(uint32_t at, const std::optional<RememberedVersion>& version);
  /// Lines not forgotten.
  size_t size() const { return count_ - forgotten_; }
  /// Appends the lines as pieces of text that point into this object.
  void AppendPieces(std::vector<std::string_view>* pieces) const;
  void Clear();

 private:
  struct Block {
    std::unique_ptr<char[]> bytes;
    uint32_t start = 0;  // the place of its first byte
    uint32_t capacity = 0;
    uint32_t used = 0;
  };
  size_t BlockOf(uint32_t at) const;           // the block that holds place `at`
  std::string_view LineAt(uint32_t at) const;  // without its line end
  char* Append(size_t length);
  void Insert(uint32_t at);
  void GrowIndex();
  void AppendSpan(uint32_t from, uint32_t to, std::vector<std::string_view>* pieces) const;

  std::vector<Block> blocks_;
  uint32_t end_ = 0;             // the place after the last line
  std::vector<uint32_t> index_;  // 1 + a line's place; 0 for a free slot
  size_t count_ = 0;             // lines added, forgotten ones too
  size_t forgotten_ = 0;
  // Lines whose text no longer fits where they lie (another version of
  // another length, or forgotten: ""), by place. A run seldom has any.
  std::map<uint32_t, std::string> replaced_;
  std::string line_;  // the line being added
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_ADDED_MEMORY_LINES_H_
