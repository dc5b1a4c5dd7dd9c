// The window's services for the command line.
#include "app/headless_window.h"

#include <ostream>

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

void PrintLogWindow(std::ostream& out, const TLogViewer& log) {
  out << log.Title.caption() << '\n';
  for (const std::string& line : log.Memo.lines()) out << line << '\n';
  out.flush();
}

}  // namespace pellmar
