// The status bar along the bottom edge of the main window: sunken panels of
// the StatusBar control's widths holding its panel texts. A panel whose text
// is wider than its design width grows to show all of it (the free space
// would otherwise lose its last digits in the 12-pixel window font), and
// the panels after it move along. While a run goes, a progress bar that
// carries the run's progress text takes the second panel's place, to the
// window's right edge. The bar follows its control at the next turn of the
// event loop, however often the control changed meanwhile.
#ifndef PELLMAR_UI_QT_STATUS_BAR_WIDGET_H_
#define PELLMAR_UI_QT_STATUS_BAR_WIDGET_H_

#include <QString>
#include <QWidget>
#include <vector>

#include "ui/controls.h"

class QLabel;
class QProgressBar;

namespace pellmar {

class StatusBarWidget : public QWidget {
  Q_OBJECT

 public:
  StatusBarWidget(StatusBar& control, QWidget* parent);

  /// Lays the bar along the bottom edge of a window of `window_size`.
  void PlaceAtBottom(const QSize& window_size);
  QLabel* Panel(int index) const { return panels_.at(static_cast<size_t>(index)); }
  QProgressBar* ProgressBar() const { return progress_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void MirrorSoon();
  void Mirror();
  /// Lays out the first `count` panels side by side.
  void PlacePanels(int count);
  void MirrorProgress(bool shown);
  /// The width of a panel's text, measured again only when it changed.
  int TextWidth(int panel);

  // Measuring shapes the text, which costs more than setting it.
  struct Measured {
    bool valid = false;
    QString text;
    int width = 0;
  };

  StatusBar& control_;
  std::vector<QLabel*> panels_;
  QProgressBar* progress_ = nullptr;
  std::vector<Measured> measured_;
  bool mirror_queued_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_STATUS_BAR_WIDGET_H_
