// The log window: its memo keeps up with long runs, OK closes it, and it
// keeps its own look.
#include "ui/qt/log_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
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

TEST_F(LogWindowTest, ThirtyThousandLinesArriveWhileHiddenAndAllShow) {
  log.Clear();
  for (int i = 0; i < 30000; ++i) log.Append("file" + std::to_string(i) + ".txt");
  log.SetTitle("The following 30000 files have been copyed.");
  int blocks = 0;
  QString first, last;
  bool showing = false;
  ShowAndPressOk([&] {
    showing = log.Showing();
    const QTextDocument* text = window->memo()->document();
    blocks = text->blockCount();
    first = text->firstBlock().text();
    last = text->lastBlock().text();
  });
  EXPECT_TRUE(showing);
  EXPECT_EQ(blocks, 30000);
  EXPECT_EQ(first, "file0.txt");
  EXPECT_EQ(last, "file29999.txt");
  EXPECT_FALSE(log.Showing());
}

TEST_F(LogWindowTest, EachRunShowsOnlyItsOwnLinesAndLinesAddedWhileShown) {
  const struct {
    std::vector<std::string> before, while_shown;
    QString shown;
  } runs[] = {{{"a.txt", "b.txt"}, {}, "a.txt\nb.txt"},
              {{"c.txt", "d.txt", "c.txt"}, {}, "c.txt\nd.txt\nc.txt"},
              {{"one"}, {"two"}, "one\ntwo"}};
  for (const auto& run : runs) {
    log.Clear();
    for (const std::string& line : run.before) log.Append(line);
    QString shown;
    ShowAndPressOk([&] {
      for (const std::string& line : run.while_shown) log.Append(line);
      shown = window->memo()->toPlainText();
    });
    EXPECT_EQ(shown, run.shown);
  }
}

TEST_F(LogWindowTest, EnterOnOkClosesItAndEnterInTheMemoStartsALine) {
  QWidget* focused = nullptr;
  bool open_after_enter_in_memo = false;
  const ModalAnswer answer([&](QWidget*) {
    focused = QApplication::focusWidget();
    window->memo()->setFocus();
    QTest::keyClick(window->memo(), Qt::Key_Return);
    open_after_enter_in_memo = window->isVisible();
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
