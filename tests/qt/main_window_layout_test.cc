// The main window shows every control where, as and how its control says.
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "ui/qt/qt_text.h"
#include "ui/qt/status_bar_widget.h"
#include "window_fixture.h"

namespace pellmar {
namespace {

class MainWindowLayoutTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteSettings({"alpha", "beta"});
    Start();
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

TEST_F(MainWindowLayoutTest, EveryWidgetMatchesItsControl) {
  EXPECT_EQ(window->windowTitle(), ToQString(main->caption()));
  for (Control* control : main->AllControls()) {
    if (control == &main->StatusBar1) continue;
    QWidget* widget = window->WidgetFor(control->name());
    ASSERT_NE(widget, nullptr) << control->name();
    EXPECT_EQ(widget->geometry(),
              QRect(control->left(), control->top(), control->width(), control->height()))
        << control->name();
    EXPECT_EQ(widget->isHidden(), !control->visible()) << control->name();
    EXPECT_EQ(widget->isEnabled(), control->enabled()) << control->name();
    EXPECT_EQ(ShownCaption(widget), ToQString(CaptionOf(control))) << control->name();
  }
  EXPECT_TRUE(Widget<QCheckBox>("chkZip")->isHidden());
  EXPECT_FALSE(Widget<QPushButton>("btnSend")->isEnabled());
  EXPECT_TRUE(Widget<QPushButton>("btnLoad")->isDefault());
  EXPECT_TRUE(Widget<QPushButton>("btnLoad")->toolTip().contains("Load from a removable disk"));
}

TEST_F(MainWindowLayoutTest, LabelsAreWideEnoughForTheirCaptionsInTheWindowFont) {
  // The measurer must measure in the font the label is drawn in, or the
  // caption is cut and the number field lands on top of Label4's text.
  for (const char* name : {"Label1", "Label3", "Label4", "Label5", "Label6"}) {
    auto* label = Widget<QLabel>(name);
    const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
    EXPECT_GE(label->width(), needed) << name;
    EXPECT_LE(label->width(), needed + 1) << name;
  }
  const QRect label4 = Widget<QLabel>("Label4")->geometry();
  EXPECT_EQ(window->WidgetFor("SpinEdit")->x(), label4.x() + label4.width() + 5);
}

TEST_F(MainWindowLayoutTest, WindowHasItsFontAndButtonFaceBackground) {
  const QFontInfo font(window->font());
  EXPECT_TRUE(font.family() == "Liberation Sans" || font.family() == "Arial")
      << font.family().toStdString();
  EXPECT_EQ(font.pixelSize(), 12);
  EXPECT_EQ(window->palette().color(QPalette::Window), window->palette().color(QPalette::Button));
  EXPECT_EQ(QFontInfo(Widget<QLabel>("Label1")->font()).pixelSize(), 12);
}

TEST_F(MainWindowLayoutTest, StatusBarKeepsToTheBottomEdgeWhenResized) {
  const QRect list_before = window->WidgetFor("ListBox1")->geometry();
  for (const QSize size : {window->size(), QSize(700, 480), QSize(400, 300)}) {
    window->resize(size);
    auto* bar = Widget<StatusBarWidget>("StatusBar1");
    const std::string at = std::to_string(size.width()) + "x" + std::to_string(size.height());
    EXPECT_EQ(bar->geometry(), QRect(0, window->height() - 17, window->width(), 17)) << at;
    EXPECT_EQ(bar->Panel(0)->geometry(), QRect(0, 0, 170, 17)) << at;
    EXPECT_EQ(bar->Panel(1)->geometry(), QRect(170, 0, 200, 17)) << at;
    EXPECT_EQ(window->WidgetFor("ListBox1")->geometry(), list_before) << at;
  }
}

TEST_F(MainWindowLayoutTest, FirstPanelWidensToShowAWholeFreeSpaceText) {
  auto* bar = Widget<StatusBarWidget>("StatusBar1");
  main->StatusBar1.SetPanelText(0, "Available disk size:84,455,391KB");
  QLabel* first = bar->Panel(0);
  EXPECT_EQ(first->text(), "Available disk size:84,455,391KB");
  EXPECT_GE(first->contentsRect().width(),
            first->fontMetrics().horizontalAdvance(first->text()) + first->indent());
  EXPECT_EQ(bar->Panel(1)->x(), first->width());
  EXPECT_EQ(bar->Panel(1)->width(), 200);
}

// The design's tab order, written out rather than computed from the code.
TEST_F(MainWindowLayoutTest, TabGoesThroughTheControlsInTheirTabOrder) {
  const std::vector<std::string> expected = {
      "btnHelp",  "btnLoad",  "btnSend",    "btnSelectFile", "btnRemoveFromList",
      "ListBox1", "Button2",  "edMediaDir", "chkAutoUmount", "edMntCmd",
      "ListBox2", "SpinEdit", "edExclude",  "chkAutoDelete", "chkZip"};
  std::vector<std::string> chain;
  QWidget* widget = window->WidgetFor(expected.front());
  for (size_t i = 0; i < 200 && chain.size() < expected.size(); ++i) {
    const std::string name = ToUtf8(widget->objectName());
    if (window->WidgetFor(name) == widget) chain.push_back(name);
    widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(chain, expected);
}

}  // namespace
}  // namespace pellmar
