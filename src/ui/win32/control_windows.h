// The native child windows of one top-level window, each bound to its
// toolkit-neutral control: every control value is mirrored into its window
// through on_update, and the window's notifications become the control's
// User* calls, so the reactions are those every other front end runs.
#ifndef PELLMAR_UI_WIN32_CONTROL_WINDOWS_H_
#define PELLMAR_UI_WIN32_CONTROL_WINDOWS_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/win32/common_controls.h"

namespace pellmar {

class ControlWindows {
 public:
  /// Called with a control's name and the virtual-key code of a released key.
  using KeyUpHandler = std::function<void(const std::string& control_name, int key)>;

  explicit ControlWindows(HWND parent);
  ~ControlWindows();
  ControlWindows(const ControlWindows&) = delete;
  ControlWindows& operator=(const ControlWindows&) = delete;

  /// Creates the control's window (in call order, which is the Tab order)
  /// and mirrors the control into it.
  HWND Bind(Control& control);
  /// Key releases on these controls' windows go to `handler`.
  void ForwardKeyUps(const std::vector<std::string>& names, KeyUpHandler handler);

  /// The parent's WM_COMMAND and WM_NOTIFY; true when they were a control's.
  bool OnCommand(WPARAM w_param, LPARAM l_param);
  bool OnNotify(const NMHDR& header, LRESULT* result);

  HWND WindowOf(const std::string& control_name) const;
  /// The control whose window (or part of it) `window` is; null for none.
  Control* ControlOf(HWND window) const;
  int IdOf(const Control& control) const;
  Control* ControlWithId(int id) const;

  /// Pixels for the design's pixels at the window's DPI.
  int Scale(int design_pixels) const;
  /// The DPI or the font changed: new font, every control placed again.
  void Rescale(int dpi, HFONT font);
  /// Mirrors every control again (e.g. the status bar after a resize).
  void MirrorAll();

 private:
  struct Bound;
  void Mirror(Bound& bound);
  void MirrorCommon(Bound& bound);
  /// What only a window of its kind shows: one function per kind.
  void MirrorKind(Bound& bound);
  void MirrorButton(Bound& bound);
  void MirrorLabel(Bound& bound);
  void MirrorSpin(Bound& bound);
  void MirrorCheckBox(Bound& bound);
  void MirrorList(Bound& bound);
  void MirrorMemo(Bound& bound);
  void AddToolTips(const Bound& bound);
  void UpdateToolTip(Bound& bound);
  void MirrorStatusBar(Bound& bound);
  /// The progress control beside the run's text, `text_width` pixels wide.
  void MirrorProgress(Bound& bound, int text_width);
  HWND CreateChild(const wchar_t* window_class, DWORD style, DWORD ex_style, int id);
  Bound* Find(HWND window) const;
  void ListScrolled(Bound& bound);
  static LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                    UINT_PTR id, DWORD_PTR data);

  HWND parent_;
  HWND tool_tip_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_ = 96;
  std::vector<std::unique_ptr<Bound>> bound_;
  KeyUpHandler key_up_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_CONTROL_WINDOWS_H_
