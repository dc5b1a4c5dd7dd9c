// TLogViewer, the log window: the names of the files the last run copied
// under a title that gives their number. Shown modally only by Send and Load.
#ifndef PELLMAR_UI_LOG_VIEWER_H_
#define PELLMAR_UI_LOG_VIEWER_H_

#include <string>

#include "core/language_file.h"
#include "ui/controls.h"

namespace pellmar {

class WindowHost;

class TLogViewer {
 public:
  static constexpr int kWidth = 451;
  static constexpr int kHeight = 338;

  TLogViewer();

  Label Title;
  MemoField Memo;
  Button btnOK;

  const std::string& caption() const { return caption_; }
  /// The window's own design font (UTF-8 face name, Shift-JIS character
  /// set); neither the language file nor the main window's font reaches it.
  static constexpr const char* kFontName = "ＭＳ Ｐゴシック";
  static constexpr int kFontCharset = kShiftJisCharset;
  static constexpr int kFontPixelHeight = 12;

  /// Needed for ShowModally, Close and Showing; set once at start-up.
  void SetHost(WindowHost* host) { host_ = host; }

  /// Empties Memo.
  void Clear();
  /// Adds one line at the end of Memo.
  void Append(const std::string& line);
  /// Replaces the caption of Title.
  void SetTitle(const std::string& title);
  /// Whether the window is on screen.
  bool Showing() const;
  /// Shows the window and returns when the user has closed it.
  void ShowModally();
  /// Hides the window; nothing happens when it is not on screen.
  void Close();

 private:
  std::string caption_ = "Log";
  WindowHost* host_ = nullptr;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_LOG_VIEWER_H_
