// Status bar panels: plain-text labels side by side, each its own width.
#include "ui/qt/status_bar_widget.h"

#include <QEvent>
#include <QLabel>
#include <QMetaObject>
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
  measured_.resize(panels_.size());
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("RunProgress"));
  progress_->setRange(0, 1000);
  progress_->setAlignment(Qt::AlignCenter);
  progress_->setTextVisible(true);
  progress_->hide();
  BindMirror(
      control_, this, [this] { MirrorSoon(); }, Placement::kOwnLayout);
  Mirror();
}

// A run sets the second panel twice for every file it copies, thousands of
// times a second, and the bar can show only what stands at the next turn of
// the event loop: the changes up to then are mirrored once.
void StatusBarWidget::MirrorSoon() {
  if (mirror_queued_) return;
  mirror_queued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        mirror_queued_ = false;
        Mirror();
      },
      Qt::QueuedConnection);
}

void StatusBarWidget::PlaceAtBottom(const QSize& window_size) {
  setGeometry(0, window_size.height() - control_.height(), window_size.width(), control_.height());
}

void StatusBarWidget::Mirror() {
  for (int i = 0; i < control_.panel_count(); ++i) {
    panels_[static_cast<size_t>(i)]->setText(ToDisplayText(control_.panel_text(i)));
  }
  // Behind the progress bar the second panel and those after it show
  // nothing, and measuring their texts is the dearest part of a mirror.
  const bool progress_shown = control_.progress() >= 0 && panels_.size() > 1;
  PlacePanels(progress_shown ? 1 : control_.panel_count());
  MirrorProgress(progress_shown);
}

void StatusBarWidget::MirrorProgress(bool shown) {
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

void StatusBarWidget::PlacePanels(int count) {
  int left = 0;
  for (int i = 0; i < count; ++i) {
    QLabel* panel = panels_[static_cast<size_t>(i)];
    const int needed = TextWidth(i) + 2 * (kIndent + panel->frameWidth()) + 2;
    const int width = std::max(control_.panel_width(i), needed);
    panel->setGeometry(left, 0, width, control_.height());
    left += width;
  }
}

void StatusBarWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    measured_.assign(panels_.size(), Measured{});
    Mirror();
  }
  QWidget::changeEvent(event);
}

int StatusBarWidget::TextWidth(int panel) {
  Measured& measured = measured_[static_cast<size_t>(panel)];
  const QLabel* label = panels_[static_cast<size_t>(panel)];
  if (!measured.valid || measured.text != label->text()) {
    measured = {true, label->text(), label->fontMetrics().horizontalAdvance(label->text())};
  }
  return measured.width;
}

}  // namespace pellmar
