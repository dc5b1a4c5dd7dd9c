// Memo mirroring: a clear rebuilds, an append adds just the new lines.
#include "ui/qt/memo_widget.h"

#include <QStringList>

#include "ui/qt/control_binders.h"
#include "ui/qt/qt_text.h"

namespace pellmar {
namespace {

QString JoinLines(const MemoField& memo, size_t from) {
  QStringList joined;
  joined.reserve(static_cast<qsizetype>(memo.line_count() - from));
  for (size_t i = from; i < memo.line_count(); ++i) {
    const std::string_view line = memo.line(i);
    joined.append(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
  }
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
    if (control_.line_count() < shown_lines_) rebuild_ = true;
    if (isVisible()) CatchUp();
  });
}

void MemoWidget::CatchUp() {
  const size_t count = control_.line_count();
  // An empty document gets its first lines as its whole text, not after a
  // leading empty line.
  if (count < shown_lines_ || shown_lines_ == 0) rebuild_ = true;
  if (rebuild_) {
    setPlainText(JoinLines(control_, 0));
    shown_lines_ = count;
    rebuild_ = false;
    return;
  }
  if (count == shown_lines_) return;
  appendPlainText(JoinLines(control_, shown_lines_));
  shown_lines_ = count;
}

void MemoWidget::showEvent(QShowEvent* event) {
  CatchUp();
  // A freshly shown log starts at its first line.
  moveCursor(QTextCursor::Start);
  QPlainTextEdit::showEvent(event);
}

}  // namespace pellmar
