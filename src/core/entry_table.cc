// The entry table's one operation of its own: closing the gap Remove leaves.
#include "core/entry_table.h"

namespace pellmar {

void EntryTable::ShiftDownFrom(int from) {
  for (int k = from; k < kMaxEntries; ++k) slots_.at(k) = slots_.at(k + 1);
}

}  // namespace pellmar
