// Refusing an entry whose name or values cannot be trusted.
#include "core/entry_refusal.h"

namespace pellmar {

std::optional<std::string> EntryRefusal(const SyncRun& run, const SyncEntry& /*entry*/,
                                        const MessageTable& messages) {
  const std::string name = run.window.ProjectName();
  if (name.empty() || name == "." || name == "..") {
    return FillIn(messages.Msg(kProjectNameUnusable), {run.project_folder}) + "\r\n" +
           messages.Msg(kNothingTouched);
  }
  return std::nullopt;
}

}  // namespace pellmar
