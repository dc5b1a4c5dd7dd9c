// The window-independent steps of Send and Load.
#include "core/send_load.h"

#include "core/text_ops.h"

namespace pellmar {

std::string ExclusionList(const std::string& exclusion_text) {
  return RemoveAll(RemoveAll(exclusion_text, " "), ".");
}

std::string SendDestination(const std::string& media_dir, const std::string& project_name) {
  return ReplaceFirst(media_dir + "\\" + project_name, "\\\\", "\\");
}

std::string LoadSource(const std::string& media_dir, const std::string& project_name) {
  return media_dir + "\\" + project_name;
}

std::string NothingSelectedText(const MessageTable& messages) {
  return messages.Msg(kSelectProjectFirst) + "\r\n" + messages.Msg(kNothingTouched);
}

std::string LogTitle(const std::string& msg10, int count, const std::string& msg11) {
  return msg10 + std::to_string(count) + msg11;
}

std::string MediumGoneText(const std::string& message, int copies_done) {
  return FillIn(message, {std::to_string(copies_done)});
}

std::string FailedCopyLogLine(const std::string& file_name, const std::string& reason) {
  return file_name + "  -- NOT copied: " + reason;
}

std::string SkippedEntriesText(const RunOutcome& outcome, const MessageTable& messages) {
  if (outcome.skipped_count == 0) return "";
  std::string text = messages.Msg(kSkippedEntries);
  for (const std::string& name : outcome.skipped_names) text += "\r\n" + name;
  const int64_t unlisted =
      outcome.skipped_count - static_cast<int64_t>(outcome.skipped_names.size());
  if (unlisted > 0) text += "\r\n" + FillIn(messages.Msg(kMoreSkipped), {std::to_string(unlisted)});
  return text;
}

}  // namespace pellmar
