// A level's waiting copies: made in one call, recorded one by one in order.
#include "core/copy_queue.h"

namespace pellmar {

bool CopyQueue::Take(const PendingCopy& pending) {
  if (pending.target || pending.clash.clash != Clash::kNone || pending.into == nullptr) {
    return false;
  }
  if (!pending_.empty() && pending.into != pending_.front().into) return false;
  if (!run_.platform.CopiesOverlap(*pending.into)) return false;
  pending_.push_back(pending);
  return true;
}

CopyOutcome CopyQueue::Flush() {
  if (pending_.empty()) return CopyOutcome::kQueued;
  std::vector<CopyRequest> requests;
  requests.reserve(pending_.size());
  for (const PendingCopy& pending : pending_) requests.push_back(pending.Request());
  std::vector<Status> statuses;
  std::vector<CopyResult> results;
  run_.platform.CopyEach(requests, &statuses, &results);
  CopyOutcome ended = CopyOutcome::kQueued;
  for (size_t i = 0; i < pending_.size(); ++i) {
    const CopyOutcome outcome = FinishCopy(run_, target_, pending_[i], statuses[i], results[i]);
    if (!GoOn(outcome) && GoOn(ended)) ended = outcome;
  }
  pending_.clear();
  return ended;
}

}  // namespace pellmar
