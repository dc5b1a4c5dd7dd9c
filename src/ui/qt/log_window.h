// The Qt log window: TLogViewer's title, memo and OK button in a dialog of
// its own font, shown modally by Send and Load.
#ifndef PELLMAR_UI_QT_LOG_WINDOW_H_
#define PELLMAR_UI_QT_LOG_WINDOW_H_

#include <QDialog>

namespace pellmar {

class MemoWidget;
class TLogViewer;

class LogWindow : public QDialog {
  Q_OBJECT

 public:
  LogWindow(TLogViewer& log, QWidget* parent);

  /// Shows the window centred and returns once the user has closed it.
  void ShowCentredModal();
  /// Hides the window when it is on screen, ending its modal run.
  void CloseIfShown();

  MemoWidget* memo() const { return memo_; }

 private:
  void CloseAfterOk();

  TLogViewer& log_;
  MemoWidget* memo_ = nullptr;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_LOG_WINDOW_H_
