// Lines lie back to back across blocks, so a line's place is its offset in
// the text they would make joined; a block is never grown, so adding a line
// never copies the others. A replaced line keeps its place: its new text
// is written there when it has the old one's length, else kept aside.
#include "core/added_memory_lines.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace pellmar {

namespace {

constexpr uint32_t kBlockBytes = 1 << 20;
constexpr size_t kFirstIndexSlots = 1024;

size_t HashOf(std::string_view escaped_path) { return std::hash<std::string_view>{}(escaped_path); }

}  // namespace

size_t AddedMemoryLines::BlockOf(uint32_t at) const {
  const auto after =
      std::upper_bound(blocks_.begin(), blocks_.end(), at,
                       [](uint32_t place, const Block& b) { return place < b.start; });
  return static_cast<size_t>(after - blocks_.begin()) - 1;
}

std::string_view AddedMemoryLines::LineAt(uint32_t at) const {
  const Block& block = blocks_[BlockOf(at)];
  const std::string_view rest(block.bytes.get() + (at - block.start),
                              block.start + block.used - at);
  return rest.substr(0, rest.find('\n'));
}

std::optional<uint32_t> AddedMemoryLines::Find(std::string_view escaped_path) const {
  if (index_.empty()) return std::nullopt;
  const size_t mask = index_.size() - 1;
  for (size_t slot = HashOf(escaped_path) & mask; index_[slot] != 0; slot = (slot + 1) & mask) {
    const uint32_t at = index_[slot] - 1;
    if (PathOfMemoryLine(LineAt(at)) == escaped_path) return at;
  }
  return std::nullopt;
}

std::optional<RememberedVersion> AddedMemoryLines::VersionAt(uint32_t at) const {
  std::string_view line = LineAt(at);
  if (!replaced_.empty()) {
    const auto replaced = replaced_.find(at);
    if (replaced != replaced_.end()) {
      if (replaced->second.empty()) return std::nullopt;
      line = std::string_view(replaced->second);
      line.remove_suffix(1);  // its line end
    }
  }
  RememberedVersion version;
  size_t path_at = 0;
  if (!ParseMemoryLine(line, &version, &path_at)) return std::nullopt;  // only lines made here
  return version;
}

// A new block when the last one is full; one larger than usual for a line
// that would not fit in one (a path may be long).
char* AddedMemoryLines::Append(size_t length) {
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < length) {
    const uint32_t capacity = std::max<uint32_t>(kBlockBytes, static_cast<uint32_t>(length));
    blocks_.push_back(Block{std::make_unique_for_overwrite<char[]>(capacity), end_, capacity, 0});
  }
  Block& block = blocks_.back();
  char* at = block.bytes.get() + block.used;
  block.used += static_cast<uint32_t>(length);
  end_ += static_cast<uint32_t>(length);
  return at;
}

bool AddedMemoryLines::Add(std::string_view escaped_path, const RememberedVersion& version) {
  line_.clear();
  AppendMemoryLine(escaped_path, version, &line_);
  // Places are 32-bit and the index keeps 1 + a place: the last one free.
  if (uint64_t{end_} + line_.size() >= UINT32_MAX) return false;
  const uint32_t at = end_;
  std::memcpy(Append(line_.size()), line_.data(), line_.size());
  ++count_;
  // At most three slots in four taken: probes stay short, and the index
  // costs under 6 bytes a line once it stops growing.
  if (4 * count_ > 3 * index_.size()) GrowIndex();
  Insert(at);
  return true;
}

void AddedMemoryLines::Insert(uint32_t at) {
  const size_t mask = index_.size() - 1;
  size_t slot = HashOf(PathOfMemoryLine(LineAt(at))) & mask;
  while (index_[slot] != 0) slot = (slot + 1) & mask;
  index_[slot] = at + 1;
}

void AddedMemoryLines::GrowIndex() {
  std::vector<uint32_t> old = std::move(index_);
  index_.assign(std::max(kFirstIndexSlots, 2 * old.size()), 0);
  for (const uint32_t taken : old) {
    if (taken != 0) Insert(taken - 1);
  }
}

void AddedMemoryLines::Replace(uint32_t at, const std::optional<RememberedVersion>& version) {
  const bool was_forgotten = !VersionAt(at);
  if (!version && !was_forgotten) ++forgotten_;
  if (version && was_forgotten) --forgotten_;
  const std::string_view line = LineAt(at);
  std::string text;
  if (version) AppendMemoryLine(PathOfMemoryLine(line), *version, &text);
  const auto replaced = replaced_.find(at);
  if (replaced == replaced_.end() && text.size() == line.size() + 1) {
    Block& block = blocks_[BlockOf(at)];
    std::memcpy(block.bytes.get() + (at - block.start), text.data(), line.size());
  } else if (replaced == replaced_.end()) {
    replaced_.emplace(at, std::move(text));
  } else {
    replaced->second = std::move(text);
  }
}

void AddedMemoryLines::AppendSpan(uint32_t from, uint32_t to,
                                  std::vector<std::string_view>* pieces) const {
  while (from < to) {
    const Block& block = blocks_[BlockOf(from)];
    const uint32_t stop = std::min(to, block.start + block.used);
    pieces->emplace_back(block.bytes.get() + (from - block.start), stop - from);
    from = stop;
  }
}

void AddedMemoryLines::AppendPieces(std::vector<std::string_view>* pieces) const {
  uint32_t from = 0;
  for (const auto& [at, text] : replaced_) {
    AppendSpan(from, at, pieces);
    if (!text.empty()) pieces->emplace_back(text);
    from = at + static_cast<uint32_t>(LineAt(at).size()) + 1;
  }
  AppendSpan(from, end_, pieces);
}

void AddedMemoryLines::Clear() { *this = AddedMemoryLines(); }

}  // namespace pellmar
