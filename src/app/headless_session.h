// The main window and everything it needs, made as the program makes them,
// with no window on screen: what the verbs on the entries run. Messages go
// to stderr, the log window to stdout, and on a terminal the run shows its
// progress (RunDisplay). A stop signal stops a run as the window's stop
// does, between two files.
#ifndef PELLMAR_APP_HEADLESS_SESSION_H_
#define PELLMAR_APP_HEADLESS_SESSION_H_

#include <string>

#include "app/run_display.h"
#include "platform/platform.h"
#include "ui/headless.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"

namespace pellmar {

struct SessionOptions {
  bool answer_yes = false;  // how every Yes/No question is answered
  RunDisplay::Options display;
};

class HeadlessSession {
 public:
  HeadlessSession(Platform& platform, const SessionOptions& options);
  HeadlessSession(const HeadlessSession&) = delete;
  HeadlessSession& operator=(const HeadlessSession&) = delete;

  TMain& main() { return main_; }
  /// Erases the progress line: called before anything else is written.
  void EraseProgress() { display_.Erase(); }

 private:
  // Message boxes and questions on stderr, below no progress line.
  class Dialogs : public HeadlessDialogs {
   public:
    Dialogs(RunDisplay& display, bool answer_yes);
    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& question) override;

   private:
    RunDisplay& display_;
  };

  // The window a stop signal reaches.
  class Window : public TMain {
   public:
    using TMain::TMain;
    bool StopRequested() override;
  };

  /// The log window as the command line shows it.
  void PrintLog(const TLogViewer& log);

  TLogViewer log_;
  RunDisplay display_;
  Dialogs dialogs_;
  HeadlessShell shell_;
  HeadlessHost host_;
  Window main_;
};

}  // namespace pellmar

#endif  // PELLMAR_APP_HEADLESS_SESSION_H_
