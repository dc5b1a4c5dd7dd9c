// Refusing an entry whose name or values cannot be trusted.
#include "core/entry_refusal.h"

namespace pellmar {

std::optional<std::string> EntryRefusal(const SyncRun& run, const SyncEntry& entry,
                                        const MessageTable& messages) {
  std::string reasons;
  const std::string name = run.window.ProjectName();
  if (name.empty() || name == "." || name == "..") {
    reasons = FillIn(messages.Msg(kProjectNameUnusable), {run.project_folder}) + "\r\n";
  }
  // What was read of a cut value is not what the user wrote: a cut folder
  // names some other folder, a cut exclusion list lets files through.
  for (const CutValue& cut : entry.cut_values) {
    reasons += FillIn(messages.Msg(kValueCut), {cut.key, std::to_string(cut.length)}) + "\r\n";
  }
  if (reasons.empty()) return std::nullopt;
  return reasons + messages.Msg(kNothingTouched);
}

}  // namespace pellmar
