// The window's services of runs without a toolkit.
#include "ui/headless.h"

#include <ostream>
#include <utility>

#include "core/text_ops.h"
#include "ui/log_viewer.h"

namespace pellmar {

std::string TerminalText(const std::string& text) { return ReplaceAll(text, "\r\n", "\n"); }

void HeadlessDialogs::ShowMessage(const std::string& text) {
  err_ << TerminalText(text) << std::endl;
}

bool HeadlessDialogs::Confirm(const std::string& question) {
  err_ << TerminalText(question) << (answer_yes_ ? " -> Yes" : " -> No") << std::endl;
  return answer_yes_;
}

std::optional<std::string> HeadlessDialogs::PickFolder(const FolderPickerRequest&) {
  return std::nullopt;
}

void HeadlessHost::ShowModal(TLogViewer& log) {
  showing_ = true;
  if (while_modal) while_modal(log);
  showing_ = false;
}

void HeadlessHost::Hide(TLogViewer&) { showing_ = false; }

bool HeadlessHost::Showing(const TLogViewer&) const { return showing_; }

void HeadlessHost::RequestQuit() { quit_requested_ = true; }

void HeadlessHost::SetFocus(const std::string& control_name) { focus_ = control_name; }

void HeadlessHost::Post(std::function<void()> work) {
  const std::lock_guard<std::mutex> lock(posted_mutex_);
  posted_.push_back(std::move(work));
}

size_t HeadlessHost::posted() const {
  const std::lock_guard<std::mutex> lock(posted_mutex_);
  return posted_.size();
}

size_t HeadlessHost::RunPosted() {
  std::vector<std::function<void()>> due;
  {
    const std::lock_guard<std::mutex> lock(posted_mutex_);
    due.swap(posted_);
  }
  // Outside the lock: the work may post more.
  for (const auto& work : due) work();
  return due.size();
}

void PrintLogWindow(std::ostream& out, const TLogViewer& log) {
  out << log.Title.caption() << '\n';
  for (size_t i = 0; i < log.Memo.line_count(); ++i) out << log.Memo.line(i) << '\n';
  out.flush();
}

}  // namespace pellmar
