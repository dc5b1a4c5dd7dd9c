// The status bar along the bottom edge of the main window: sunken panels of
// the StatusBar control's widths holding its panel texts. A panel whose text
// is wider than its design width grows to show all of it (the free space
// would otherwise lose its last digits in the 12-pixel window font), and
// the panels after it move along. While a run goes, a progress bar that
// carries the run's progress text takes the second panel's place, to the
// window's right edge.
#ifndef PELLMAR_UI_QT_STATUS_BAR_WIDGET_H_
#define PELLMAR_UI_QT_STATUS_BAR_WIDGET_H_

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

 private:
  void Mirror();
  void PlacePanels();
  void MirrorProgress();

  StatusBar& control_;
  std::vector<QLabel*> panels_;
  QProgressBar* progress_ = nullptr;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_STATUS_BAR_WIDGET_H_
