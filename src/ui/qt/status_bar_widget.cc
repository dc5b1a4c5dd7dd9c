// Status bar panels: plain-text labels side by side, each its own width.
#include "ui/qt/status_bar_widget.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "ui/qt/control_binders.h"
#include "ui/qt/qt_text.h"

namespace pellmar {
namespace {

constexpr int kIndent = 2;

}  // namespace

StatusBarWidget::StatusBarWidget(StatusBar& control, QWidget* parent)
    : QWidget(parent), control_(control) {
  setObjectName(ToQString(control.name()));
  setFocusPolicy(Qt::NoFocus);
  for (int i = 0; i < control.panel_count(); ++i) {
    auto* panel = new QLabel(this);
    panel->setTextFormat(Qt::PlainText);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(kIndent);
    panels_.push_back(panel);
  }
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("RunProgress"));
  progress_->setRange(0, 1000);
  progress_->setAlignment(Qt::AlignCenter);
  progress_->setTextVisible(true);
  progress_->hide();
  BindMirror(
      control_, this, [this] { Mirror(); }, Placement::kOwnLayout);
}

void StatusBarWidget::PlaceAtBottom(const QSize& window_size) {
  setGeometry(0, window_size.height() - control_.height(), window_size.width(), control_.height());
}

void StatusBarWidget::Mirror() {
  for (int i = 0; i < control_.panel_count(); ++i) {
    panels_[static_cast<size_t>(i)]->setText(ToDisplayText(control_.panel_text(i)));
  }
  PlacePanels();
  MirrorProgress();
}

void StatusBarWidget::MirrorProgress() {
  const bool shown = control_.progress() >= 0 && panels_.size() > 1;
  if (!shown) {
    progress_->hide();
    if (panels_.size() > 1) panels_[1]->show();
    return;
  }
  QLabel* second = panels_[1];
  second->hide();
  progress_->setGeometry(second->x(), 0, width() - second->x(), control_.height());
  progress_->setValue(control_.progress());
  // The format reads "%" as the start of a placeholder.
  progress_->setFormat(ToQString(control_.progress_text()).replace(QLatin1Char('%'), "%%"));
  progress_->setAccessibleName(ToQString(control_.progress_name()));
  // The file being copied, which the bar's text has no room for.
  progress_->setToolTip(second->text());
  progress_->show();
}

void StatusBarWidget::PlacePanels() {
  int left = 0;
  for (int i = 0; i < control_.panel_count(); ++i) {
    QLabel* panel = panels_[static_cast<size_t>(i)];
    const int text_width = panel->fontMetrics().horizontalAdvance(panel->text());
    const int needed = text_width + 2 * (kIndent + panel->frameWidth()) + 2;
    const int width = std::max(control_.panel_width(i), needed);
    panel->setGeometry(left, 0, width, control_.height());
    left += width;
  }
}

}  // namespace pellmar
