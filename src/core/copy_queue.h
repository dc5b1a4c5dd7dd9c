// Copies of new files at one level of a walk, made several at once where
// the file system they go onto gains from it (a stick served by a driver
// in user space). Each is decided, charged and shown in the walk's order,
// made with the others, and then recorded in that same order.
#ifndef PELLMAR_CORE_COPY_QUEUE_H_
#define PELLMAR_CORE_COPY_QUEUE_H_

#include <vector>

#include "core/copy_if_newer.h"
#include "core/sync_run.h"
#include "core/target_listing.h"

namespace pellmar {

class CopyQueue {
 public:
  // Enough to keep the platform's threads busy; few enough that a stop or
  // a failure finds little made after it.
  static constexpr size_t kDepth = 8;

  CopyQueue(SyncRun& run, TargetListing& target) : run_(run), target_(target) {}
  CopyQueue(const CopyQueue&) = delete;
  CopyQueue& operator=(const CopyQueue&) = delete;

  /// True when `pending` waits here to be made by Flush: a copy onto a
  /// free name, with no clash to name, into a folder where copies overlap.
  bool Take(const PendingCopy& pending);
  bool Full() const { return pending_.size() >= kDepth; }

  /// Makes the waiting copies and records each in order. kQueued when
  /// the walk goes on, else the first outcome that ends the level or the
  /// run; every copy made is recorded all the same.
  CopyOutcome Flush();

 private:
  SyncRun& run_;
  TargetListing& target_;
  std::vector<PendingCopy> pending_;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_COPY_QUEUE_H_
