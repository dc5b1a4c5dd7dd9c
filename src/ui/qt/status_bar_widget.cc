// Status bar panels: plain-text labels side by side, each its own width.
#include "ui/qt/status_bar_widget.h"

#include <QLabel>
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
