// The log window: its memo keeps up with long runs, OK closes it, and it
// keeps its own look.
#include "ui/qt/log_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "qt_fixture.h"
#include "ui/log_viewer.h"
#include "ui/qt/memo_widget.h"
#include "ui/qt/qt_window_host.h"

namespace pellmar {
namespace {

class LogWindowTest : public ::testing::Test {
 protected:
  LogWindowTest() {
    log.SetHost(&host);
    window = std::make_unique<LogWindow>(log, nullptr);
    host.SetLogWindow(window.get());
  }
  ~LogWindowTest() override { host.SetLogWindow(nullptr); }

  /// Shows the log modally; `while_shown` runs on the shown window, then
  /// OK is clicked.
  void ShowAndPressOk(std::function<void()> while_shown) {
    const ModalAnswer answer([this, while_shown](QWidget*) {
      while_shown();
      QTest::mouseClick(window->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    log.ShowModally();
  }

  WithApplication application;
  QtWindowHost host;
  TLogViewer log;
  std::unique_ptr<LogWindow> window;
};

// A run's lines arrive while the log is hidden, a long run's too (its first
// lines at once, the rest soon after); lines added while it is shown
// appear, and nothing of an earlier run stays.
TEST_F(LogWindowTest, EachRunShowsAllAndOnlyItsOwnLines) {
  std::vector<std::string> many;
  QString many_shown;
  for (int i = 0; i < 30000; ++i) {
    many.push_back("file" + std::to_string(i) + ".txt");
    many_shown += (i ? "\n" : "") + QString::fromStdString(many.back());
  }
  const struct {
    std::vector<std::string> before, while_shown;
    QString shown;
  } runs[] = {{{"a.txt", "b.txt"}, {}, "a.txt\nb.txt"},
              {{"c.txt", "d.txt", "c.txt"}, {}, "c.txt\nd.txt\nc.txt"},
              {{"one"}, {"two"}, "one\ntwo"},
              {many, {}, many_shown}};
  for (const auto& run : runs) {
    log.Clear();
    for (const std::string& line : run.before) log.Append(line);
    QString shown;
    bool showing = false;
    ShowAndPressOk([&] {
      showing = log.Showing();
      for (const std::string& line : run.while_shown) log.Append(line);
      // A long log's later lines come in the next turns of the event loop.
      (void)QTest::qWaitFor([&] { return window->memo()->toPlainText() == run.shown; }, 5000);
      shown = window->memo()->toPlainText();
    });
    EXPECT_TRUE(showing);
    // Compared whole, but printed short: the long run has 30,000 lines.
    EXPECT_TRUE(shown == run.shown)
        << run.before.size() << " lines, shown " << shown.count('\n') + 1 << ": \""
        << shown.left(40).toStdString() << "\"";
    EXPECT_FALSE(log.Showing());
  }
}

TEST_F(LogWindowTest, EnterOnOkClosesItAndEnterInTheMemoStartsALine) {
  QWidget* focused = nullptr;
  bool open_after_enter_in_memo = false;
  const ModalAnswer answer([&](QWidget*) {
    // The window's own focus: the application's is there only once the
    // system has activated the window, which a busy machine may not have
    // done yet.
    focused = window->focusWidget();
    window->memo()->setFocus();
    QTest::keyClick(window->memo(), Qt::Key_Return);
    open_after_enter_in_memo = window->isVisible();
    if (focused == nullptr) return window->reject();
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Return);
  });
  log.ShowModally();
  EXPECT_EQ(focused, window->findChild<QPushButton*>("btnOK")) << "OK has the focus at first";
  EXPECT_TRUE(open_after_enter_in_memo);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(LogWindowTest, KeepsItsOwnCaptionFontAndCentredTitle) {
  log.SetTitle("The following 3 files have been copyed.");
  auto* title = window->findChild<QLabel*>("Title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), "The following 3 files have been copyed.");
  EXPECT_TRUE(title->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(title->textFormat(), Qt::PlainText);
  // Placed as designed, and tall enough for the font's descenders.
  EXPECT_EQ(title->geometry().topLeft(), QPoint(4, 16));
  EXPECT_EQ(title->width(), 433);
  EXPECT_GE(title->height(), std::max(12, title->fontMetrics().height()));
  EXPECT_EQ(window->windowTitle(), "Log");
  EXPECT_EQ(QFontInfo(window->font()).family(), "IPAPGothic");
  EXPECT_EQ(QFontInfo(window->font()).pixelSize(), 12);
  EXPECT_EQ(window->memo()->geometry(), QRect(0, 40, 441, 209));
  EXPECT_FALSE(window->memo()->isReadOnly());
}

}  // namespace
}  // namespace pellmar
