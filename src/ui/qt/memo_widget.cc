// Memo mirroring: a clear rebuilds, an append adds just the new lines.
#include "ui/qt/memo_widget.h"

#include <QMetaObject>
#include <QStringList>
#include <QTextCursor>
#include <algorithm>

#include "ui/qt/control_binders.h"
#include "ui/qt/qt_text.h"

namespace pellmar {
namespace {

// A log of tens of thousands of lines takes a noticeable moment to lay into
// the widget: the window shows its first lines at once and takes the rest
// in steps that leave it free to scroll, type or close meanwhile.
constexpr size_t kLinesAtOnce = 1000;
constexpr size_t kLinesPerStep = 5000;

QString JoinLines(const MemoField& memo, size_t from, size_t to) {
  QStringList joined;
  joined.reserve(static_cast<qsizetype>(to - from));
  for (size_t i = from; i < to; ++i) {
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
    const size_t end = std::min(count, kLinesAtOnce);
    setPlainText(JoinLines(control_, 0, end));
    shown_lines_ = end;
    rebuild_ = false;
  } else if (count > shown_lines_) {
    const size_t end = std::min(count, shown_lines_ + kLinesPerStep);
    // At the end of the text, through a cursor of its own: the view stays
    // where the reader has it (appending through the widget may scroll to
    // a last line not laid out yet).
    QTextCursor at_end(document());
    at_end.movePosition(QTextCursor::End);
    at_end.insertText(QLatin1Char('\n') + JoinLines(control_, shown_lines_, end));
    shown_lines_ = end;
  }
  if (shown_lines_ < control_.line_count() && !step_queued_) {
    step_queued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          step_queued_ = false;
          if (isVisible()) CatchUp();
        },
        Qt::QueuedConnection);
  }
}

void MemoWidget::showEvent(QShowEvent* event) {
  CatchUp();
  // A freshly shown log starts at its first line.
  moveCursor(QTextCursor::Start);
  QPlainTextEdit::showEvent(event);
}

}  // namespace pellmar
