// The main window shows every control where, as and how its control says,
// and as screen readers meet it (names, values, plain hints, its icon); its
// first show, its close (the save) and a quit request.
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "qt_fixture.h"
#include "ui/qt/memo_widget.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_bar_widget.h"

namespace pellmar {
namespace {

class MainWindowTest : public SkinTest {
 protected:
  void SetUp() override {
    WriteProjects({"alpha", "beta"});
    Start();
  }
  QAccessibleInterface* Accessible(const std::string& control) {
    return QAccessible::queryAccessibleInterface(skin_->WidgetFor(control));
  }
};

QString ShownCaption(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return QString();
}

std::string CaptionOf(Control* control) {
  if (auto* button = dynamic_cast<Button*>(control)) return button->caption();
  if (auto* label = dynamic_cast<Label*>(control)) return label->caption();
  if (auto* box = dynamic_cast<CheckBox*>(control)) return box->caption();
  return "";
}

TEST_F(MainWindowTest, EveryWidgetMatchesItsControl) {
  EXPECT_EQ(skin_->windowTitle(), ToQString(window().caption()));
  for (Control* control : window().AllControls()) {
    if (control == &window().StatusBar1) continue;
    QWidget* widget = skin_->WidgetFor(control->name());
    ASSERT_NE(widget, nullptr) << control->name();
    EXPECT_EQ(widget->geometry(),
              QRect(control->left(), control->top(), control->width(), control->height()))
        << control->name();
    EXPECT_EQ(widget->isHidden(), !control->visible()) << control->name();
    EXPECT_EQ(widget->isEnabled(), control->enabled()) << control->name();
    EXPECT_EQ(ShownCaption(widget), ToQString(CaptionOf(control))) << control->name();
  }
  EXPECT_TRUE(Widget<QPushButton>("btnLoad")->isDefault());
  EXPECT_TRUE(Widget<QPushButton>("btnLoad")->toolTip().contains("Load from a removable disk"));
}

TEST_F(MainWindowTest, LabelsAreWideEnoughForTheirCaptionsInTheWindowFont) {
  // The measurer must measure in the font the label is drawn in, or the
  // caption is cut and the number field lands on top of Label4's text.
  for (const char* name : {"Label1", "Label3", "Label4", "Label5", "Label6"}) {
    auto* label = Widget<QLabel>(name);
    const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
    EXPECT_GE(label->width(), needed) << name;
    EXPECT_LE(label->width(), needed + 1) << name;
  }
  const QRect label4 = Widget<QLabel>("Label4")->geometry();
  EXPECT_EQ(skin_->WidgetFor("SpinEdit")->x(), label4.x() + label4.width() + 5);
}

TEST_F(MainWindowTest, WindowHasItsFontAndButtonFaceBackground) {
  const QFontInfo font(skin_->font());
  EXPECT_TRUE(font.family() == "Liberation Sans" || font.family() == "Arial")
      << font.family().toStdString();
  EXPECT_EQ(font.pixelSize(), 12);
  EXPECT_EQ(skin_->palette().color(QPalette::Window), skin_->palette().color(QPalette::Button));
  EXPECT_EQ(QFontInfo(Widget<QLabel>("Label1")->font()).pixelSize(), 12);
}

TEST_F(MainWindowTest, StatusBarKeepsToTheBottomEdgeWhenResized) {
  const QRect list_before = skin_->WidgetFor("ListBox1")->geometry();
  for (const QSize size : {skin_->size(), QSize(700, 480), QSize(400, 300)}) {
    skin_->resize(size);
    auto* bar = Widget<StatusBarWidget>("StatusBar1");
    const std::string at = std::to_string(size.width()) + "x" + std::to_string(size.height());
    EXPECT_EQ(bar->geometry(), QRect(0, skin_->height() - 17, skin_->width(), 17)) << at;
    EXPECT_EQ(bar->Panel(0)->geometry(), QRect(0, 0, 170, 17)) << at;
    EXPECT_EQ(bar->Panel(1)->geometry(), QRect(170, 0, 200, 17)) << at;
    EXPECT_EQ(skin_->WidgetFor("ListBox1")->geometry(), list_before) << at;
  }
}

TEST_F(MainWindowTest, FirstPanelWidensToShowAWholeFreeSpaceText) {
  window().StatusBar1.SetPanelText(0, "Available disk size:84,455,391KB");
  auto* bar = Widget<StatusBarWidget>("StatusBar1");
  QLabel* first = bar->Panel(0);
  EXPECT_EQ(first->text(), "Available disk size:84,455,391KB");
  EXPECT_GE(first->contentsRect().width(),
            first->fontMetrics().horizontalAdvance(first->text()) + first->indent());
  EXPECT_EQ(bar->Panel(1)->x(), first->width());
  EXPECT_EQ(bar->Panel(1)->width(), 200);
}

// The design's tab order, written out rather than computed from the code.
TEST_F(MainWindowTest, TabGoesThroughTheControlsInTheirTabOrder) {
  const std::vector<std::string> expected = {
      "btnHelp",  "btnLoad",  "btnSend",    "btnSelectFile", "btnRemoveFromList",
      "ListBox1", "Button2",  "edMediaDir", "chkAutoUmount", "edMntCmd",
      "ListBox2", "SpinEdit", "edExclude",  "chkAutoDelete", "chkZip"};
  std::vector<std::string> chain;
  QWidget* widget = skin_->WidgetFor(expected.front());
  for (size_t i = 0; i < 200 && chain.size() < expected.size(); ++i) {
    const std::string name = ToUtf8(widget->objectName());
    if (skin_->WidgetFor(name) == widget) chain.push_back(name);
    widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(chain, expected);
}

TEST_F(MainWindowTest, ScreenReadersHearNamesValuesAndPlainHints) {
  const struct {
    const char *control, *name;
  } cases[] = {
      {"edMediaDir", "Folder name in removable disk which hold the selected project"},
      {"ListBox2", "Project Name"},
      {"ListBox1", "Directory"},
      {"SpinEdit", "Operate on files modified in recent days"},
      {"edExclude", "Exclusion"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Accessible(c.control)->text(QAccessible::Name).toStdString(), c.name) << c.control;
  }
  QAccessibleValueInterface* days = Accessible("SpinEdit")->valueInterface();
  ASSERT_NE(days, nullptr);
  EXPECT_EQ(days->currentValue().toInt(), window().SpinEdit.value());
  EXPECT_EQ(days->minimumValue().toInt(), 1);
  EXPECT_EQ(days->maximumValue().toInt(), 365);
  days->setCurrentValue(900);  // as an assistive tool sets it: kept in range
  EXPECT_EQ(window().SpinEdit.value(), 365);

  EXPECT_EQ(Accessible("btnLoad")->text(QAccessible::Description).toStdString(),
            "Load from a removable disk");
  QAccessibleInterface* main_window = QAccessible::queryAccessibleInterface(skin_.get());
  EXPECT_EQ(main_window->role(), QAccessible::Window);
  EXPECT_EQ(main_window->text(QAccessible::Name).toStdString(), window().caption());
  EXPECT_FALSE(skin_->windowIcon().pixmap(32).isNull()) << "the built-in icon did not load";

  log_->SetTitle("The following 2 files have been copyed.");
  EXPECT_EQ(log_window_->memo()->accessibleName(), "The following 2 files have been copyed.");
}

TEST_F(SkinTest, FirstShowWelcomesOnceWithAnEmptyList) {
  Start();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0], window().messages().Msg(2));
  EXPECT_EQ(dialogs_.pickers.size(), 1u);  // Add, cancelled
  skin_->hide();
  skin_->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.pickers.size(), 1u);
}

TEST_F(SkinTest, FailedSaveKeepsTheWindowOpenAndTheNextCloseSaves) {
  WriteProjects({"alpha"});
  Start();
  // A folder where the settings file belongs: the rename onto it must fail.
  std::filesystem::remove(ns_.settings_file());
  MakeFolder(ns_.settings_file() + "/blocker");
  EXPECT_FALSE(skin_->close());
  EXPECT_TRUE(skin_->isVisible());

  std::filesystem::remove_all(ns_.settings_file());
  EXPECT_TRUE(skin_->close());
  EXPECT_FALSE(skin_->isVisible());
  EXPECT_NE(ReadText(ns_.settings_file()).find("SyncItem1="), std::string::npos);
}

TEST_F(SkinTest, CloseDuringARunIsTurnedDownAndTheRunReports) {
  WriteProjects({"alpha"});
  WriteText(Documents("alpha/notes.txt"), "new");
  Start();
  window().ListBox1.UserSelect(0);
  const std::string before = ReadText(ns_.settings_file());
  bool closed_during_run = true;
  // The first repaint of the run delivers the desktop's close request.
  QTimer::singleShot(0, [&] { closed_during_run = skin_->close(); });
  bool log_was_shown = false;
  const ModalAnswer answer([&](QWidget* modal) {
    log_was_shown = modal == log_window_;
    QTest::keyClick(modal, Qt::Key_Return);
  });
  window().btnSend.Click();
  EXPECT_FALSE(closed_during_run);
  EXPECT_TRUE(skin_->isVisible());
  EXPECT_TRUE(log_was_shown);
  EXPECT_EQ(ReadText(ns_.settings_file()), before) << "no save in the middle of a run";
  EXPECT_TRUE(skin_->close()) << "once the run is over the window closes";
}

TEST_F(SkinTest, QuitRequestEndsTheLoopWithoutTheSave) {
  WriteProjects({"alpha"});
  Start();
  const std::string before = ReadText(ns_.settings_file());
  QTimer::singleShot(0, [this] { qt_host_.RequestQuit(); });
  // Should the request be lost, this ends the loop instead of hanging (and
  // the exit code tells); it dies with the test either way.
  QTimer safety;
  safety.setSingleShot(true);
  QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  safety.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(skin_->isVisible());  // not closed, so FormClose never ran
  EXPECT_EQ(ReadText(ns_.settings_file()), before);
}

}  // namespace
}  // namespace pellmar
