// The window's services for runs with no window on screen (the command
// line, the window's own tests), all in one place: message boxes go to a
// stream, questions get a scripted answer, the folder picker is always
// cancelled, the desktop is never asked to open anything, and showing the
// log window runs a callback and ends as if OK had been pressed.
#ifndef PELLMAR_UI_HEADLESS_H_
#define PELLMAR_UI_HEADLESS_H_

#include <functional>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

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
  bool Execute(const std::string&, const std::string&, const std::string&, const std::string&,
               int) override {
    return true;
  }
};

class HeadlessHost : public WindowHost {
 public:
  /// What showing the log window does; the window is on screen while it runs.
  std::function<void(TLogViewer&)> while_modal;

  void ShowModal(TLogViewer& log) override;
  void Hide(TLogViewer& log) override;
  bool Showing(const TLogViewer& log) const override;
  /// Nothing to repaint without a toolkit.
  void ProcessEvents() override {}
  void RequestQuit() override;
  void SetFocus(const std::string& control_name) override;
  /// Kept until RunPosted: without an event loop, the caller says when.
  void Post(std::function<void()> work) override;
  /// Runs the work posted so far, in order; returns how much there was.
  size_t RunPosted();
  /// How much work is posted and not run yet.
  size_t posted() const;

  bool quit_requested() const { return quit_requested_; }
  /// The control last given the focus.
  const std::string& focus() const { return focus_; }

 private:
  bool showing_ = false;
  bool quit_requested_ = false;
  std::string focus_;
  mutable std::mutex posted_mutex_;
  std::vector<std::function<void()>> posted_;
};

/// The log window as a terminal shows it: the title, then one line each.
void PrintLogWindow(std::ostream& out, const TLogViewer& log);

/// A message as lines for a terminal: "\r\n" becomes "\n".
std::string TerminalText(const std::string& text);

}  // namespace pellmar

#endif  // PELLMAR_UI_HEADLESS_H_
