// A window host without a toolkit, for runs with no window on screen (the
// command line, the window's own tests): showing the log window runs a
// callback and ends as if OK had been pressed; a quit request and the
// focus are remembered for whoever drives the reactions.
#ifndef PELLMAR_UI_HEADLESS_HOST_H_
#define PELLMAR_UI_HEADLESS_HOST_H_

#include <functional>
#include <string>

#include "ui/dialogs.h"

namespace pellmar {

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

  bool quit_requested() const { return quit_requested_; }
  /// The control last given the focus.
  const std::string& focus() const { return focus_; }

 private:
  bool showing_ = false;
  bool quit_requested_ = false;
  std::string focus_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_HEADLESS_HOST_H_
