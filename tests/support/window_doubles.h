// Stand-ins for what a person and the desktop answer a window: dialogs
// answered from queues, a shell that only records, and a headless host that
// counts how often the log window was shown. A box can never make a test hang.
#ifndef PELLMAR_TESTS_SUPPORT_WINDOW_DOUBLES_H_
#define PELLMAR_TESTS_SUPPORT_WINDOW_DOUBLES_H_

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"
#include "ui/headless.h"

namespace pellmar {

/// Every box is recorded; an empty queue answers No or cancels.
class ScriptedDialogs : public Dialogs {
 public:
  std::deque<bool> answers;                      // for Confirm, in order
  std::deque<std::optional<std::string>> picks;  // for PickFolder; nullopt cancels
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<FolderPickerRequest> pickers;

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string& question) override;
  std::optional<std::string> PickFolder(const FolderPickerRequest& request) override;
  /// Forgets every box asked so far.
  void Clear();
};

class RecordingShell : public Shell {
 public:
  struct Call {
    std::string verb, file, parameters, directory;
    int show = 0;
  };
  std::vector<Call> calls;
  void Execute(const std::string& verb, const std::string& file, const std::string& parameters,
               const std::string& directory, int show) override {
    calls.push_back({verb, file, parameters, directory, show});
  }
};

/// The headless host, counting shows of the log window and quit requests.
class RecordingHost : public HeadlessHost {
 public:
  int modal_shows = 0;
  int quit_requests = 0;
  void ShowModal(TLogViewer& log) override;
  void RequestQuit() override;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_WINDOW_DOUBLES_H_
