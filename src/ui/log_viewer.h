// TLogViewer, the log window: the names of the files the last run copied
// under a title that gives their number. Shown modally only by Send and Load.
#ifndef PELLMAR_UI_LOG_VIEWER_H_
#define PELLMAR_UI_LOG_VIEWER_H_

#include <string>

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

  /// Needed for ShowModally, Close and Showing; set once at start-up.
  void SetHost(WindowHost* host) { host_ = host; }

  void Clear();
  void Append(const std::string& line);
  void SetTitle(const std::string& title);
  bool Showing() const;
  void ShowModally();
  void Close();

 private:
  std::string caption_ = "Log";
  WindowHost* host_ = nullptr;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_LOG_VIEWER_H_
