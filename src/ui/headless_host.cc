// The window host of runs without a toolkit.
#include "ui/headless_host.h"

namespace pellmar {

void HeadlessHost::ShowModal(TLogViewer& log) {
  showing_ = true;
  if (while_modal) while_modal(log);
  showing_ = false;
}

void HeadlessHost::Hide(TLogViewer&) { showing_ = false; }

bool HeadlessHost::Showing(const TLogViewer&) const { return showing_; }

void HeadlessHost::RequestQuit() { quit_requested_ = true; }

void HeadlessHost::SetFocus(const std::string& control_name) { focus_ = control_name; }

}  // namespace pellmar
