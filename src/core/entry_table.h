// The entry table: 31 slots holding the settings of up to 30 sync entries.
//
// The entry at list position p lives in slot p + 1; slot 0 takes edits made
// while nothing is selected and is never loaded or saved.
#ifndef PELLMAR_CORE_ENTRY_TABLE_H_
#define PELLMAR_CORE_ENTRY_TABLE_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pellmar {

/// A value the settings file held longer than a read returns. The entry is
/// never run on it, and a save writes the whole value back for as long as
/// the entry still holds what was read of it.
struct CutValue {
  std::string name;   // the key without its number: "Path in mobile disk"
  std::string key;    // as the file names it: "Path in mobile disk3"
  size_t length = 0;  // of the whole value
  std::string read;   // what the entry holds of it
  std::string whole;

  friend bool operator==(const CutValue&, const CutValue&) = default;
};

struct SyncEntry {
  std::string removable_folder;  // "Path in mobile disk"
  std::string exclusion_text;    // "Extensions of excluded files"
  std::string mount_command;     // carried along, never run
  int32_t duration = 0;          // days
  bool auto_delete = false;
  bool use_zip = false;
  std::vector<CutValue> cut_values;  // empty unless the file held too much

  friend bool operator==(const SyncEntry&, const SyncEntry&) = default;
};

class EntryTable {
 public:
  static constexpr int kMaxEntries = 30;
  static constexpr int kSlots = kMaxEntries + 1;

  SyncEntry& slot(int n) { return slots_.at(n); }
  const SyncEntry& slot(int n) const { return slots_.at(n); }
  /// Slot for a list position (-1 gives slot 0).
  SyncEntry& at_position(int p) { return slots_.at(p + 1); }

  /// Moves slots k + 1 down into k for k from `from` up to 29; slot 30 keeps
  /// its values.
  void ShiftDownFrom(int from);
  /// The reverse: moves slots k - 1 up into k for k from 30 down to
  /// `at` + 1, then puts `entry` into slot `at`.
  void InsertAt(int at, const SyncEntry& entry);

 private:
  std::array<SyncEntry, kSlots> slots_{};
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_ENTRY_TABLE_H_
