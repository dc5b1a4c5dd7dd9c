// The controls' event rules: which change fires which event, and when the
// skin is told to repaint.
#include "ui/controls.h"

#include <gtest/gtest.h>

namespace pellmar {
namespace {

TEST(SpinFieldTest, ValueIsTheIntegerInTheTextOrTheMinimumAndExitBringsItIntoRange) {
  const struct {
    const char* text;
    int value;
    const char* shown;  // after the field lost the focus
  } cases[] = {{"12", 12, "12"}, {"999", 999, "365"},    {"-3", -3, "1"}, {" 7 ", 7, "7"},
               {"+5", 5, "5"},   {"abc", 1, "1"},        {"", 1, "1"},    {"12a", 1, "1"},
               {"+-5", 1, "1"},  {"99999999999", 1, "1"}};
  for (const auto& c : cases) {
    SpinField spin("SpinEdit", 1, 365, 365, 0, 0, 46, 24, 0);
    spin.UserEdit(c.text);
    EXPECT_EQ(spin.value(), c.value) << "text \"" << c.text << "\"";
    spin.Exit();
    EXPECT_EQ(spin.text(), c.shown) << "text \"" << c.text << "\"";
  }
}

// A change from code fires like one from the user, but only when the state
// really changes; a hidden or disabled control takes no clicks.
TEST(ControlEventsTest, FireOnRealChangesOnlyAndNeverForHiddenOrDisabledControls) {
  Edit edit("edExclude", "pdf, ini", 0, 0, 10, 10, 0);
  CheckBox box("chkZip", "Use zip compression", 0, 0, 10, 10, 0);
  Button button("btnSend", "&Send", 0, 0, 10, 10, 0);
  int changes = 0, updates = 0, box_clicks = 0, button_clicks = 0;
  edit.on_change = [&] { ++changes; };
  edit.on_update = [&] { ++updates; };
  box.on_click = [&] { ++box_clicks; };
  button.on_click = [&] { ++button_clicks; };
  edit.SetText("pdf, ini");  // no change
  edit.SetText("bak");
  edit.UserEdit("bak, tmp");
  box.SetChecked(false);  // no change
  box.SetChecked(true);
  box.UserClick();
  EXPECT_FALSE(box.checked());
  box.SetVisible(false);
  box.UserClick();
  button.Click();
  button.SetEnabled(false);
  button.Click();
  button.SetEnabled(true);
  button.SetVisible(false);
  button.Click();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(updates, 2);
  EXPECT_EQ(box_clicks, 2);
  EXPECT_EQ(button_clicks, 1);
}

TEST(ListBoxTest, SelectionFromCodeFiresNothingButUserSelectionDoes) {
  ListBox list("ListBox1", 0, 0, 10, 10, 0);
  int clicks = 0, double_clicks = 0;
  list.on_click = [&] { ++clicks; };
  list.on_dbl_click = [&] { ++double_clicks; };
  for (const char* item : {"a", "b", "c"}) list.Append(item);

  list.SetItemIndex(1);
  EXPECT_EQ(clicks, 0);
  list.SetItemIndex(7);  // outside the list: nothing selected
  EXPECT_EQ(list.item_index(), -1);
  list.UserSelect(7);  // a click below the last item
  EXPECT_EQ(clicks, 0);
  list.UserDoubleClick(2);  // its first click selects
  EXPECT_EQ(list.item_index(), 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(double_clicks, 1);
  EXPECT_EQ(list.item(-1), "");
}

TEST(ListBoxTest, DeleteKeepsTheSelectionOnItsItem) {
  const struct {
    int selected, deleted, after;
  } cases[] = {{1, 1, -1}, {2, 0, 1}, {0, 2, 0}, {1, -1, 1}, {1, 3, 1}};
  for (const auto& c : cases) {
    ListBox list("ListBox1", 0, 0, 10, 10, 0);
    for (const char* item : {"a", "b", "c"}) list.Append(item);
    list.SetItemIndex(c.selected);
    list.Delete(c.deleted);
    EXPECT_EQ(list.item_index(), c.after) << "selected " << c.selected << ", deleted " << c.deleted;
    EXPECT_EQ(list.count(), c.deleted >= 0 && c.deleted < 3 ? 2 : 3) << "deleted " << c.deleted;
  }
}

TEST(LabelTest, SizesItselfToItsCaption) {
  Label label("Label4", "Operate on files modified in recent", 24, 49, 188, 15);
  label.SetCaption("Short");
  EXPECT_LT(label.width(), 188);
  label.SetCaption("Operate on files modified in recent");  // design caption, design width
  EXPECT_EQ(label.width(), 188);
  EXPECT_GT(Label::EstimateWidth("日本語"), Label::EstimateWidth("abc"));

  label.SetMeasurer([](const std::string& caption) { return 10 * int(caption.size()); });
  EXPECT_EQ(label.width(), 350);
  label.SetAutoSize(false);  // a fixed-size label keeps its design width
  label.SetCaption("x");
  EXPECT_EQ(label.width(), 188);
}

}  // namespace
}  // namespace pellmar
