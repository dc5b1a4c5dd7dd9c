// Toolkit-neutral controls: the values and events the window logic works on.
//
// Each control holds exactly what the window's reactions read and write, and
// behaves as the desktop toolkit the logic was written for: a list's
// selection set from code fires nothing, an edit's change event fires when
// its text really changes (from code too), a check box fires its click when
// its state changes (from code too), the number field keeps its value in
// range. The Qt skin mirrors every control into a real widget through
// `on_update` and turns user input into the User* calls below; tests and the
// command line drive the same objects with no widgets at all.
#ifndef PELLMAR_UI_CONTROLS_H_
#define PELLMAR_UI_CONTROLS_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pellmar {

using Event = std::function<void()>;

/// What every control has: a name, a place, visibility and enabled state.
class Control {
 public:
  Control(std::string name, int left, int top, int width, int height, int tab_order = -1);
  virtual ~Control() = default;

  const std::string& name() const { return name_; }
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int tab_order() const { return tab_order_; }
  bool visible() const { return visible_; }
  bool enabled() const { return enabled_; }
  const std::string& hint() const { return hint_; }

  void SetLeft(int left);
  void SetWidth(int width);
  void SetVisible(bool visible);
  void SetEnabled(bool enabled);
  void SetHint(std::string hint);

  /// Set by the skin: called after any value of the control changed.
  Event on_update;

 protected:
  void Updated() const;

 private:
  std::string name_;
  int left_, top_, width_, height_, tab_order_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
};

/// A push button. Click() is what a mouse click or its key does.
class Button : public Control {
 public:
  Button(std::string name, std::string caption, int left, int top, int width, int height,
         int tab_order);
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  /// Runs on_click when the button is visible and enabled.
  void Click();
  Event on_click;
  /// A click with Shift held: runs on_shift_click where the button has one,
  /// else it is a plain click.
  void ShiftClick();
  Event on_shift_click;

  /// The window's default button answers Enter, its cancel button Escape.
  bool is_default() const { return default_; }
  bool is_cancel() const { return cancel_; }
  void SetDefault(bool is_default);
  void SetCancel(bool is_cancel);

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

/// A label that sizes itself to its caption through a text measurer.
///
/// Without a measurer (no toolkit, as in tests and on the command line) the
/// design caption keeps its design width and any other caption gets an
/// estimate of the window font's width, so placement still follows the text.
class Label : public Control {
 public:
  /// Width of a caption in pixels in the window's current font.
  using Measurer = std::function<int(const std::string& caption)>;

  Label(std::string name, std::string caption, int left, int top, int width, int height);
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  /// Installs the measurer and re-sizes the label to its caption.
  void SetMeasurer(Measurer measurer);
  /// Sizes the label again, e.g. after the window's font changed.
  void Remeasure();

  /// A fixed-size label keeps its design width whatever its caption.
  bool auto_size() const { return auto_size_; }
  void SetAutoSize(bool auto_size);
  /// Text centred in the label's width (fixed-size labels only).
  bool centered() const { return centered_; }
  void SetCentered(bool centered);

  /// The width estimate used when no measurer is installed.
  static int EstimateWidth(const std::string& caption);

 private:
  void AutoSize();
  std::string caption_;
  const std::string design_caption_;
  const int design_width_;
  Measurer measurer_;
  bool auto_size_ = true;
  bool centered_ = false;
};

/// A one-line edit field. on_change fires whenever the text changes.
class Edit : public Control {
 public:
  Edit(std::string name, std::string text, int left, int top, int width, int height, int tab_order);
  const std::string& text() const { return text_; }
  /// Sets the text; fires on_change only when it differs from the old text.
  void SetText(std::string text);
  /// What typing into the field does (the same as SetText).
  void UserEdit(std::string text) { SetText(std::move(text)); }
  Event on_change;

 private:
  std::string text_;
};

/// A whole-number field with arrows, range [min, max].
class SpinField : public Control {
 public:
  SpinField(std::string name, int min, int max, int value, int left, int top, int width, int height,
            int tab_order);
  /// The integer in the text, or the minimum when the text is no integer.
  int value() const;
  const std::string& text() const { return text_; }
  int min() const { return min_; }
  int max() const { return max_; }
  /// Shows `value` brought into range; fires on_change when the text changes.
  void SetValue(int value);
  /// Typing: the text as typed, not yet brought into range.
  void UserEdit(std::string text);
  /// Losing the focus brings the shown value into range.
  void Exit();
  Event on_change;

 private:
  void SetText(std::string text);
  int min_, max_;
  std::string text_;
};

/// A check box. on_click fires whenever the state changes, also from code.
class CheckBox : public Control {
 public:
  CheckBox(std::string name, std::string caption, int left, int top, int width, int height,
           int tab_order);
  bool checked() const { return checked_; }
  const std::string& caption() const { return caption_; }
  void SetChecked(bool checked);
  void SetCaption(std::string caption);
  /// A mouse click or the space key: toggles the state when the box is
  /// visible and enabled.
  void UserClick();
  Event on_click;

 private:
  bool checked_ = false;
  std::string caption_;
};

/// A list with one selection. Setting the selection from code fires nothing.
class ListBox : public Control {
 public:
  ListBox(std::string name, int left, int top, int width, int height, int tab_order);
  int count() const { return static_cast<int>(items_.size()); }
  /// The item at `index`; empty for an index outside the list.
  std::string item(int index) const;
  const std::vector<std::string>& items() const { return items_; }
  void Append(std::string item);
  /// Inserts an item before `index` (at the end for count()); the selected
  /// item stays selected.
  void Insert(int index, std::string item);
  /// Deletes the item at `index`; an index outside the list changes nothing.
  void Delete(int index);
  void Clear();

  /// Selected position, -1 for none.
  int item_index() const { return item_index_; }
  void SetItemIndex(int index);
  int top_index() const { return top_index_; }
  void SetTopIndex(int index);

  /// A selection by mouse or keyboard: selects, then fires on_click. An
  /// index outside the list (a click below the last item) does nothing.
  void UserSelect(int index);
  /// A double-click: its first click selects like UserSelect, then
  /// on_dbl_click fires (also below the last item, with the old selection).
  void UserDoubleClick(int index);
  Event on_click;
  Event on_dbl_click;

 private:
  std::vector<std::string> items_;
  int item_index_ = -1;
  int top_index_ = 0;
};

/// A status bar along the bottom edge with fixed-width panels.
class StatusBar : public Control {
 public:
  StatusBar(std::string name, std::vector<int> panel_widths, int height);
  int panel_count() const { return static_cast<int>(texts_.size()); }
  int panel_width(int panel) const { return widths_.at(panel); }
  const std::string& panel_text(int panel) const { return texts_.at(panel); }
  void SetPanelText(int panel, std::string text);

  /// While a run goes, the second panel is a progress bar: its position in
  /// thousandths and the text it carries. -1 when no bar is shown.
  int progress() const { return progress_; }
  const std::string& progress_text() const { return progress_text_; }
  void SetProgress(int permille, std::string text);
  void HideProgress();
  /// What a screen reader calls the bar.
  const std::string& progress_name() const { return progress_name_; }
  void SetProgressName(std::string name);

 private:
  std::vector<int> widths_;
  std::vector<std::string> texts_;
  int progress_ = -1;
  std::string progress_text_;
  std::string progress_name_;
};

/// A multi-line text field.
class MemoField : public Control {
 public:
  MemoField(std::string name, int left, int top, int width, int height, int tab_order);
  size_t line_count() const { return ends_.size(); }
  std::string_view line(size_t index) const;
  /// Every line as a string of its own: for short logs.
  std::vector<std::string> lines() const;
  void Clear();
  void Append(std::string_view line);

 private:
  // A run can log hundreds of thousands of names: they are kept end to end
  // in one text, with where each ends, instead of as a string apiece. An
  // end is kept in 32 bits, from the start of its stretch of the text; a
  // new stretch begins where 4 GB would be passed.
  struct Stretch {
    size_t first_line = 0;
    size_t start = 0;
  };
  size_t EndOf(size_t index) const;

  std::string text_;
  std::vector<uint32_t> ends_;
  std::vector<Stretch> stretches_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_CONTROLS_H_
