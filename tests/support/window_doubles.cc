// Scripted answers and recording hooks for the window's tests.
#include "support/window_doubles.h"

namespace pellmar {

bool ScriptedDialogs::Confirm(const std::string& question) {
  questions.push_back(question);
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedDialogs::PickFolder(const FolderPickerRequest& request) {
  pickers.push_back(request);
  if (picks.empty()) return std::nullopt;
  std::optional<std::string> pick = picks.front();
  picks.pop_front();
  return pick;
}

void ScriptedDialogs::Clear() {
  messages.clear();
  questions.clear();
  pickers.clear();
}

void RecordingHost::ShowModal(TLogViewer& log) {
  ++modal_shows;
  HeadlessHost::ShowModal(log);
}

void RecordingHost::RequestQuit() {
  ++quit_requests;
  HeadlessHost::RequestQuit();
}

}  // namespace pellmar
