// The entry table's one operation of its own: closing the gap Remove leaves.
#include "core/entry_table.h"

namespace pellmar {

void EntryTable::ShiftDownFrom(int from) {
  for (int k = from; k < kMaxEntries; ++k) slots_.at(k) = slots_.at(k + 1);
}

void EntryTable::InsertAt(int at, const SyncEntry& entry) {
  for (int k = kMaxEntries; k > at; --k) slots_.at(k) = slots_.at(k - 1);
  slots_.at(at) = entry;
}

}  // namespace pellmar
