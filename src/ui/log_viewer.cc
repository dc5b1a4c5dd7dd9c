// TLogViewer: the log window's controls and the operations Send and Load use.
//
// Being on screen is the toolkit's business, so Showing, ShowModally and
// Close go through the WindowHost; without one the window is never shown.
#include "ui/log_viewer.h"

#include "ui/dialogs.h"

namespace pellmar {

TLogViewer::TLogViewer()
    : Title("Title", "Copying ..", 4, 16, 433, 12),
      Memo("Memo", 0, 40, 441, 209, 0),
      btnOK("btnOK", "&O K", 184, 264, 75, 25, 1) {
  Title.SetAutoSize(false);
  Title.SetCentered(true);
  Memo.Append("Memo");
  btnOK.SetDefault(true);
  btnOK.on_click = [this] { Close(); };
}

void TLogViewer::Clear() { Memo.Clear(); }

void TLogViewer::Append(const std::string& line) { Memo.Append(line); }

void TLogViewer::SetTitle(const std::string& title) { Title.SetCaption(title); }

bool TLogViewer::Showing() const { return host_ != nullptr && host_->Showing(*this); }

void TLogViewer::ShowModally() {
  if (host_ != nullptr) host_->ShowModal(*this);
}

void TLogViewer::Close() {
  if (Showing()) host_->Hide(*this);
}

}  // namespace pellmar
