// The window's reactions run headless, with the terminal's share of a run.
#include "app/headless_session.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "app/stop_signals.h"
#include "core/run_progress.h"

namespace pellmar {

HeadlessSession::Dialogs::Dialogs(RunDisplay& display, bool answer_yes)
    : HeadlessDialogs(std::cerr, answer_yes), display_(display) {}

void HeadlessSession::Dialogs::ShowMessage(const std::string& text) {
  display_.Erase();
  HeadlessDialogs::ShowMessage(text);
}

bool HeadlessSession::Dialogs::Confirm(const std::string& question) {
  display_.Erase();
  return HeadlessDialogs::Confirm(question);
}

bool HeadlessSession::Window::StopRequested() {
  // The walk asks this between every two entries, so a signal stops the
  // run at the very next file, not after one more copy.
  if (StopSignalled()) RequestStop();
  return TMain::StopRequested();
}

HeadlessSession::HeadlessSession(Platform& platform, const SessionOptions& options)
    : display_(std::cout, std::cerr, log_.Memo, options.display, SteadyMilliseconds),
      dialogs_(display_, options.answer_yes),
      main_(MainFormServices{&platform, &dialogs_, &shell_, &host_, {}}, log_) {
  host_.while_modal = [this](TLogViewer& log) { PrintLog(log); };
  log_.SetHost(&host_);
  // The window's progress bar and log, watched once the window is made.
  main_.StatusBar1.on_update = [this] {
    display_.ShowProgress(main_.StatusBar1.progress(), main_.StatusBar1.progress_text());
  };
  log_.Memo.on_update = [this] { display_.LogChanged(main_.run_in_progress()); };
  main_.SaveOnlyChanges();
  // A benchmark aid, read here alone: bench/run.sh --plan times a run with
  // its plan against the same run without one.
  const char* no_plan = std::getenv("PELLMAR_NO_PLAN");
  if (no_plan != nullptr && std::string(no_plan) == "1") main_.SkipPlans();
  // The same for the memory of the runs: --medium ext4 times its cost.
  const char* no_memory = std::getenv("PELLMAR_NO_MEMORY");
  if (no_memory != nullptr && std::string(no_memory) == "1") main_.SkipMemory();
  main_.FormCreate();
  main_.TellEntriesBeyondLimit();
}

void HeadlessSession::PrintLog(const TLogViewer& log) {
  display_.FlushLog();
  const size_t printed = display_.lines_printed();
  if (printed == 0) return PrintLogWindow(std::cout, log);
  // The run's lines are on the screen already; the title sums them up.
  std::cout << log.Title.caption() << '\n';
  for (size_t i = printed; i < log.Memo.line_count(); ++i) std::cout << log.Memo.line(i) << '\n';
  std::cout.flush();
}

}  // namespace pellmar
