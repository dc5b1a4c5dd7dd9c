// The entry table: 31 slots holding the settings of up to 30 sync entries.
//
// The entry at list position p lives in slot p + 1; slot 0 takes edits made
// while nothing is selected and is never loaded or saved.
#ifndef PELLMAR_CORE_ENTRY_TABLE_H_
#define PELLMAR_CORE_ENTRY_TABLE_H_

#include <array>
#include <cstdint>
#include <string>

namespace pellmar {

struct SyncEntry {
  std::string removable_folder;  // "Path in mobile disk"
  std::string exclusion_text;    // "Extensions of excluded files"
  std::string mount_command;     // carried along, never run
  int32_t duration = 0;          // days
  bool auto_delete = false;
  bool use_zip = false;
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

 private:
  std::array<SyncEntry, kSlots> slots_{};
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_ENTRY_TABLE_H_
