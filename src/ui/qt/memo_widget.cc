// Memo mirroring: a clear rebuilds, an append adds just the new lines.
#include "ui/qt/memo_widget.h"

#include <QStringList>

#include "ui/qt/control_binders.h"
#include "ui/qt/qt_text.h"

namespace pellmar {
namespace {

QString JoinLines(const std::vector<std::string>& lines, size_t from) {
  QStringList joined;
  joined.reserve(static_cast<qsizetype>(lines.size() - from));
  for (size_t i = from; i < lines.size(); ++i) joined.append(ToQString(lines[i]));
  return joined.join(QLatin1Char('\n'));
}

}  // namespace

MemoWidget::MemoWidget(MemoField& control, QWidget* parent)
    : QPlainTextEdit(parent), control_(control) {
  setObjectName(ToQString(control.name()));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setReadOnly(false);
  BindMirror(control_, this, [this] {
    if (control_.lines().size() < shown_lines_) rebuild_ = true;
    if (isVisible()) CatchUp();
  });
}

void MemoWidget::CatchUp() {
  const std::vector<std::string>& lines = control_.lines();
  // An empty document gets its first lines as its whole text, not after a
  // leading empty line.
  if (lines.size() < shown_lines_ || shown_lines_ == 0) rebuild_ = true;
  if (rebuild_) {
    setPlainText(JoinLines(lines, 0));
    shown_lines_ = lines.size();
    rebuild_ = false;
    return;
  }
  if (lines.size() == shown_lines_) return;
  appendPlainText(JoinLines(lines, shown_lines_));
  shown_lines_ = lines.size();
}

void MemoWidget::showEvent(QShowEvent* event) {
  CatchUp();
  // A freshly shown log starts at its first line.
  moveCursor(QTextCursor::Start);
  QPlainTextEdit::showEvent(event);
}

}  // namespace pellmar
