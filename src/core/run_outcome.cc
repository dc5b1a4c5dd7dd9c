// Bookkeeping of what a run could not handle.
#include "core/run_outcome.h"

#include <utility>

namespace pellmar {

void RunOutcome::Skip(std::string description) {
  ++skipped_count;
  if (skipped_names.size() < kMaxListedSkips) skipped_names.push_back(std::move(description));
}

void RunOutcome::Conflict(std::string description) {
  ++conflict_count;
  if (conflicts.size() < kMaxListedSkips) conflicts.push_back(std::move(description));
}

bool RunOutcome::Complete() const {
  return !run_refused && !medium_gone && !stopped && !disk_full && copies_refused == 0 &&
         copies_failed == 0 && skipped_count == 0;
}

}  // namespace pellmar
