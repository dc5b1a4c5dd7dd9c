// The user's clicks, keys and typing reach the window's reactions, and
// changes made from code do not pretend to be the user's.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/messages.h"
#include "qt_fixture.h"
#include "ui/qt/list_box_widget.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_bar_widget.h"

namespace pellmar {
namespace {

class MainWindowInputTest : public SkinTest {
 protected:
  void SetUp() override {
    WriteProjects({"alpha", "beta", "gamma"});
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(skin_.get()));
  }

  void ClickItem(const char* list, int row) {
    auto* widget = Widget<ListBoxWidget>(list);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier,
                      widget->visualItemRect(widget->item(row)).center());
  }

  bool SelectionRan() {
    return window().btnSend.enabled() && !window().StatusBar1.panel_text(0).empty();
  }
};

TEST_F(MainWindowInputTest, ClickOnAnItemOfEitherListOrAnArrowKeyRunsTheEntrySelection) {
  EXPECT_EQ(skin_->focusWidget(), skin_->WidgetFor("btnHelp")) << "first in tab order";
  for (const auto& [clicked, other, row] :
       {std::tuple{"ListBox1", "ListBox2", 1}, std::tuple{"ListBox2", "ListBox1", 2}}) {
    window().StatusBar1.SetPanelText(0, "");  // so each click has to run the selection anew
    window().btnSend.SetEnabled(false);
    ClickItem(clicked, row);
    EXPECT_EQ(window().ListBox1.item_index(), row) << clicked;
    EXPECT_TRUE(SelectionRan()) << clicked;
    EXPECT_TRUE(Widget<QPushButton>("btnLoad")->isEnabled()) << clicked;
    EXPECT_EQ(Widget<ListBoxWidget>(other)->SelectedRow(), row) << "the other list follows";
    EXPECT_TRUE(
        Widget<StatusBarWidget>("StatusBar1")->Panel(0)->text().startsWith("Available disk size:"));
    EXPECT_EQ(Widget<QLineEdit>("edMediaDir")->text(), "E:\\Sync");
    EXPECT_EQ(skin_->focusWidget(), skin_->WidgetFor("btnSend"));
  }
  skin_->WidgetFor("ListBox1")->setFocus();
  QTest::keyClick(skin_->WidgetFor("ListBox1"), Qt::Key_Up);
  EXPECT_EQ(window().ListBox1.item_index(), 1);
  EXPECT_EQ(window().ListBox2.item_index(), 1);
}

TEST_F(MainWindowInputTest, SelectionSetFromCodeIsShownButRunsNothing) {
  window().ListBox1.SetItemIndex(2);
  EXPECT_EQ(Widget<ListBoxWidget>("ListBox1")->SelectedRow(), 2);
  EXPECT_EQ(Widget<ListBoxWidget>("ListBox2")->SelectedRow(), -1);
  EXPECT_FALSE(SelectionRan());
  window().ListBox1.SetItemIndex(-1);
  EXPECT_EQ(Widget<ListBoxWidget>("ListBox1")->SelectedRow(), -1);
}

TEST_F(MainWindowInputTest, DoubleClickOpensTheProjectFolder) {
  auto* list = Widget<ListBoxWidget>("ListBox1");
  const QPoint at = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  ASSERT_TRUE(SelectionRan());
  window().StatusBar1.SetPanelText(0, "");
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(window().StatusBar1.panel_text(0), "") << "the second press selects nothing anew";
  ASSERT_EQ(shell_.calls.size(), 1u);
  EXPECT_EQ(shell_.calls[0].parameters, Ns(Documents("alpha")));
}

TEST_F(MainWindowInputTest, EscapePressesRemoveFromList) {
  ClickItem("ListBox1", 1);
  QTest::keyClick(skin_->focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(window().ListBox1.count(), 2);
  EXPECT_EQ(Widget<ListBoxWidget>("ListBox1")->count(), 2);
  EXPECT_EQ(Widget<ListBoxWidget>("ListBox2")->item(1)->text(), "gamma");
}

// Ctrl+E ejects the selected project's disk wherever the focus is, a
// field included, and the bar shows when it can be pulled out.
TEST_F(MainWindowInputTest, CtrlEEjectsTheSelectedProjectsDisk) {
  platform_.eject_answer = Status::Ok();
  ClickItem("ListBox1", 1);
  for (const char* focus : {"ListBox1", "edExclude"}) {
    skin_->WidgetFor(focus)->setFocus();
    QTest::keyClick(skin_->WidgetFor(focus), Qt::Key_E, Qt::ControlModifier);
  }
  EXPECT_THAT(platform_.ejects, ElementsAre("E:", "E:"));
  EXPECT_EQ(Widget<StatusBarWidget>("StatusBar1")->Panel(1)->text(), "E: can be pulled out now.");
}

TEST_F(MainWindowInputTest, AmpersandInACaptionMakesAnAccelerator) {
  // "&Add to List": Alt+A adds, whatever has the focus.
  skin_->WidgetFor("edExclude")->setFocus();
  QTest::keyClick(skin_->windowHandle(), Qt::Key_A, Qt::AltModifier);
  // A mnemonic animates the press, so the click lands a moment later.
  EXPECT_TRUE(QTest::qWaitFor([this] { return !dialogs_.pickers.empty(); }));
}

TEST_F(MainWindowInputTest, EnterInAFieldPressesLoadAndTheLogWindowCloses) {
  WriteText(Stick("Sync/alpha/notes.txt"), "from the stick");
  ClickItem("ListBox1", 0);
  bool log_was_shown = false;
  const ModalAnswer answer([&](QWidget* modal) {
    log_was_shown = modal == log_window_;
    QTest::keyClick(modal, Qt::Key_Return);  // OK is the log's default button
  });
  skin_->WidgetFor("edExclude")->setFocus();
  QTest::keyClick(skin_->WidgetFor("edExclude"), Qt::Key_Return);
  EXPECT_TRUE(log_was_shown) << (dialogs_.messages.empty() ? "" : dialogs_.messages.back());
  EXPECT_FALSE(log_window_->isVisible());
  EXPECT_EQ(ReadText(Documents("alpha/notes.txt")), "from the stick");
}

TEST_F(MainWindowInputTest, F1ReachesHelpOnlyFromTheControlsThatShareTheKeyUp) {
  ClickItem("ListBox1", 0);
  const struct {
    const char* control;
    bool opens_help;
  } cases[] = {
      {"btnHelp", true},   {"btnSelectFile", true}, {"btnSend", true},
      {"ListBox1", true},  {"edExclude", false},    {"ListBox2", false},
      {"SpinEdit", false}, {"edMediaDir", false},   {"Button2", false},
  };
  for (const auto& c : cases) {
    shell_.calls.clear();
    QWidget* widget = skin_->WidgetFor(c.control);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_F1);
    ASSERT_EQ(shell_.calls.size(), c.opens_help ? 1u : 0u) << c.control;
    if (c.opens_help) {
      EXPECT_EQ(shell_.calls[0].file, window().program_dir() + "Help.htm") << c.control;
    }
  }
}

TEST_F(MainWindowInputTest, TypingReachesTheFieldsAndTheSelectedEntry) {
  ClickItem("ListBox1", 0);
  auto* exclude = Widget<QLineEdit>("edExclude");
  exclude->setFocus();
  exclude->selectAll();
  QTest::keyClicks(exclude, "tmp, log");
  EXPECT_EQ(window().edExclude.text(), "tmp, log");
  EXPECT_EQ(window().entries().slot(1).exclusion_text, "tmp, log");

  auto* spin = Widget<QAbstractSpinBox>("SpinEdit");
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, "999");
  EXPECT_EQ(window().entries().slot(1).duration, 999);
  exclude->setFocus();  // leaving the field brings it into range
  EXPECT_EQ(spin->text(), "365");
  EXPECT_EQ(window().entries().slot(1).duration, 365);

  spin->setFocus();
  QTest::keyClick(spin, Qt::Key_Down);
  EXPECT_EQ(window().entries().slot(1).duration, 364);
  QTest::keyClicks(spin, "x");  // no letters in a number field
  EXPECT_EQ(spin->text(), "364");
}

TEST_F(MainWindowInputTest, CheckBoxClickStoresItsState) {
  ClickItem("ListBox1", 0);
  auto* box = Widget<QCheckBox>("chkAutoDelete");
  ASSERT_TRUE(box->isVisible());
  const bool before = window().chkAutoDelete.checked();
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
  EXPECT_EQ(box->isChecked(), !before);
  EXPECT_EQ(window().entries().slot(1).auto_delete, !before);
}

// While a run goes, the second panel is a named progress bar, and Escape
// asks whether to stop the run instead of removing the project. The run
// turns the event loop about every 30 ms and must outlast a few turns, so
// it gets files enough for a fast machine too.
TEST_F(MainWindowInputTest, ARunShowsAProgressBarAndEscapeAsksToStopIt) {
  for (int i = 0; i < 6000; ++i) WriteText(Documents("alpha/f" + std::to_string(i) + ".c"), "x");
  ClickItem("ListBox1", 0);
  dialogs_.answers.push_back(true);
  QProgressBar* bar = Widget<StatusBarWidget>("StatusBar1")->ProgressBar();
  QString format, name;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!format.isEmpty() || !bar->isVisible()) return;
    format = bar->format();
    name = bar->accessibleName();
    QTest::keyClick(skin_.get(), Qt::Key_Escape);
  });
  watch.start(0);
  const ModalAnswer close_log([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
  window().btnSend.Click();
  EXPECT_THAT(ToUtf8(format), HasSubstr(" of 6000 files, "));
  EXPECT_EQ(ToUtf8(name), window().messages().Msg(kProgressName));
  EXPECT_THAT(dialogs_.questions, ElementsAre(window().messages().Msg(kStopQuestion)));
  EXPECT_TRUE(window().last_run().stopped);
  EXPECT_EQ(window().ListBox1.count(), 3) << "Escape during a run removes nothing";
  EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace pellmar
