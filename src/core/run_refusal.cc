// The refusals of a run, in the order a user would fix them.
#include "core/run_refusal.h"

#include "core/entry_refusal.h"
#include "core/overlap_guard.h"

namespace pellmar {

std::optional<std::string> RunRefusal(Platform& platform, const SyncRun& run,
                                      const SyncEntry& entry,
                                      const std::string& removable_project_folder,
                                      const MessageTable& messages) {
  if (auto refusal = EntryRefusal(run, entry, messages)) return refusal;
  if (auto refusal = OverlapRefusal(platform, run.project_folder, removable_project_folder,
                                    run.media_dir, messages)) {
    return refusal;
  }
  if (!run.medium_recorded.ok()) {
    return FillIn(messages.Msg(kDiskUnreachable), {run.media_dir, run.medium_recorded.message}) +
           "\r\n" + messages.Msg(kNothingTouched);
  }
  return IdentityRefusal(platform, run.project_folder, removable_project_folder, run.medium.root(),
                         messages);
}

}  // namespace pellmar
