// The window's services for a run without a window: message boxes go to
// stderr, the log window to stdout, questions get a scripted answer, the
// folder picker is always cancelled and the desktop is never asked to open
// anything. The command-line verbs run the window's own reactions on these.
#ifndef PELLMAR_APP_HEADLESS_WINDOW_H_
#define PELLMAR_APP_HEADLESS_WINDOW_H_

#include <iosfwd>
#include <optional>
#include <string>

#include "ui/dialogs.h"

namespace pellmar {

class HeadlessDialogs : public Dialogs {
 public:
  /// `answer_yes`: how every Yes/No question is answered.
  HeadlessDialogs(std::ostream& err, bool answer_yes) : err_(err), answer_yes_(answer_yes) {}
  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& question) override;
  std::optional<std::string> PickFolder(const FolderPickerRequest& request) override;

 private:
  std::ostream& err_;
  bool answer_yes_;
};

class HeadlessShell : public Shell {
 public:
  void Execute(const std::string&, const std::string&, const std::string&, const std::string&,
               int) override {}
};

/// The log window as the command line shows it: the title, then one copied
/// file name a line.
void PrintLogWindow(std::ostream& out, const TLogViewer& log);

/// A message as lines for a terminal: "\r\n" becomes "\n".
std::string TerminalText(const std::string& text);

}  // namespace pellmar

#endif  // PELLMAR_APP_HEADLESS_WINDOW_H_
