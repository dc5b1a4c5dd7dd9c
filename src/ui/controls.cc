// Toolkit-neutral controls: values, events and the skin's update hook.
//
// The rules about which change fires which event live here and nowhere else,
// so the window's reactions, the skin and the tests all see the same ones.
#include "ui/controls.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

namespace pellmar {

namespace {

// The integer a number field's text holds, as the field reads it: optional
// blanks around an optionally signed decimal number that fits 32 bits.
bool ParseWholeNumber(const std::string& text, int* value) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const auto last = text.find_last_not_of(' ');
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  // from_chars takes a minus sign but no plus sign.
  if (*begin == '+' && begin + 1 != end && begin[1] != '-') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, *value);
  return error == std::errc() && stop == end;
}

}  // namespace

// --- Control ---------------------------------------------------------------

Control::Control(std::string name, int left, int top, int width, int height, int tab_order)
    : name_(std::move(name)),
      left_(left),
      top_(top),
      width_(width),
      height_(height),
      tab_order_(tab_order) {}

void Control::SetLeft(int left) {
  if (left_ == left) return;
  left_ = left;
  Updated();
}

void Control::SetWidth(int width) {
  if (width_ == width) return;
  width_ = width;
  Updated();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Updated();
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Updated();
}

void Control::SetHint(std::string hint) {
  if (hint_ == hint) return;
  hint_ = std::move(hint);
  Updated();
}

void Control::Updated() const {
  if (on_update) on_update();
}

// --- Button ----------------------------------------------------------------

Button::Button(std::string name, std::string caption, int left, int top, int width, int height,
               int tab_order)
    : Control(std::move(name), left, top, width, height, tab_order), caption_(std::move(caption)) {}

void Button::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Updated();
}

void Button::Click() {
  if (visible() && enabled() && on_click) on_click();
}

void Button::ShiftClick() {
  if (!on_shift_click) return Click();
  if (visible() && enabled()) on_shift_click();
}

void Button::SetDefault(bool is_default) {
  if (default_ == is_default) return;
  default_ = is_default;
  Updated();
}

void Button::SetCancel(bool is_cancel) {
  if (cancel_ == is_cancel) return;
  cancel_ = is_cancel;
  Updated();
}

// --- Label -----------------------------------------------------------------

Label::Label(std::string name, std::string caption, int left, int top, int width, int height)
    : Control(std::move(name), left, top, width, height),
      caption_(caption),
      design_caption_(std::move(caption)),
      design_width_(width) {}

void Label::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  AutoSize();
  Updated();
}

void Label::SetMeasurer(Measurer measurer) {
  measurer_ = std::move(measurer);
  AutoSize();
}

void Label::Remeasure() { AutoSize(); }

void Label::SetAutoSize(bool auto_size) {
  auto_size_ = auto_size;
  if (auto_size_) {
    AutoSize();
  } else {
    SetWidth(design_width_);
  }
}

void Label::SetCentered(bool centered) {
  if (centered_ == centered) return;
  centered_ = centered;
  Updated();
}

int Label::EstimateWidth(const std::string& caption) {
  // Arial at 12 pixels averages about 5.4 pixels a Latin letter; a
  // character outside ASCII (one UTF-8 lead byte) is taken as full width.
  int tenths = 0;
  for (unsigned char c : caption) {
    if (c < 0x80) {
      tenths += 54;
    } else if (c >= 0xC0) {
      tenths += 120;
    }
  }
  return (tenths + 5) / 10;
}

void Label::AutoSize() {
  if (!auto_size_) return;
  if (measurer_) {
    SetWidth(measurer_(caption_));
  } else if (caption_ == design_caption_) {
    SetWidth(design_width_);
  } else {
    SetWidth(EstimateWidth(caption_));
  }
}

// --- Edit ------------------------------------------------------------------

Edit::Edit(std::string name, std::string text, int left, int top, int width, int height,
           int tab_order)
    : Control(std::move(name), left, top, width, height, tab_order), text_(std::move(text)) {}

void Edit::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  Updated();
  if (on_change) on_change();
}

// --- SpinField ---------------------------------------------------------------

SpinField::SpinField(std::string name, int min, int max, int value, int left, int top, int width,
                     int height, int tab_order)
    : Control(std::move(name), left, top, width, height, tab_order),
      min_(min),
      max_(max),
      text_(std::to_string(std::clamp(value, min, max))) {}

int SpinField::value() const {
  int parsed = 0;
  return ParseWholeNumber(text_, &parsed) ? parsed : min_;
}

void SpinField::SetValue(int value) { SetText(std::to_string(std::clamp(value, min_, max_))); }

void SpinField::UserEdit(std::string text) { SetText(std::move(text)); }

void SpinField::Exit() { SetValue(value()); }

void SpinField::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  Updated();
  if (on_change) on_change();
}

// --- CheckBox ----------------------------------------------------------------

CheckBox::CheckBox(std::string name, std::string caption, int left, int top, int width, int height,
                   int tab_order)
    : Control(std::move(name), left, top, width, height, tab_order), caption_(std::move(caption)) {}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Updated();
  if (on_click) on_click();
}

void CheckBox::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Updated();
}

void CheckBox::UserClick() {
  if (visible() && enabled()) SetChecked(!checked_);
}

// --- ListBox -----------------------------------------------------------------

ListBox::ListBox(std::string name, int left, int top, int width, int height, int tab_order)
    : Control(std::move(name), left, top, width, height, tab_order) {}

std::string ListBox::item(int index) const {
  if (index < 0 || index >= count()) return {};
  return items_[index];
}

void ListBox::Append(std::string item) {
  items_.push_back(std::move(item));
  Updated();
}

void ListBox::Insert(int index, std::string item) {
  index = std::clamp(index, 0, count());
  items_.insert(items_.begin() + index, std::move(item));
  if (item_index_ >= index) ++item_index_;
  Updated();
}

void ListBox::Delete(int index) {
  if (index < 0 || index >= count()) return;
  items_.erase(items_.begin() + index);
  // The selection stays on its item; the deleted item takes it away.
  if (item_index_ == index) {
    item_index_ = -1;
  } else if (item_index_ > index) {
    --item_index_;
  }
  top_index_ = std::clamp(top_index_, 0, std::max(0, count() - 1));
  Updated();
}

void ListBox::Clear() {
  items_.clear();
  item_index_ = -1;
  top_index_ = 0;
  Updated();
}

void ListBox::SetItemIndex(int index) {
  // As the toolkit does, a position outside the list selects nothing.
  if (index < -1 || index >= count()) index = -1;
  if (item_index_ == index) return;
  item_index_ = index;
  Updated();
}

void ListBox::SetTopIndex(int index) {
  index = std::clamp(index, 0, std::max(0, count() - 1));
  if (top_index_ == index) return;
  top_index_ = index;
  Updated();
}

void ListBox::UserSelect(int index) {
  if (index < 0 || index >= count()) return;
  SetItemIndex(index);
  if (on_click) on_click();
}

void ListBox::UserDoubleClick(int index) {
  UserSelect(index);
  if (on_dbl_click) on_dbl_click();
}

// --- StatusBar ---------------------------------------------------------------

StatusBar::StatusBar(std::string name, std::vector<int> panel_widths, int height)
    : Control(std::move(name), 0, 0, 0, height),
      widths_(std::move(panel_widths)),
      texts_(widths_.size()) {}

void StatusBar::SetPanelText(int panel, std::string text) {
  std::string& current = texts_.at(panel);
  if (current == text) return;
  current = std::move(text);
  Updated();
}

void StatusBar::SetProgress(int permille, std::string text) {
  progress_ = std::clamp(permille, 0, 1000);
  progress_text_ = std::move(text);
  Updated();
}

void StatusBar::HideProgress() {
  if (progress_ < 0) return;
  progress_ = -1;
  progress_text_.clear();
  Updated();
}

void StatusBar::SetProgressName(std::string name) {
  progress_name_ = std::move(name);
  Updated();
}

// --- MemoField ---------------------------------------------------------------

MemoField::MemoField(std::string name, int left, int top, int width, int height, int tab_order)
    : Control(std::move(name), left, top, width, height, tab_order) {}

size_t MemoField::EndOf(size_t index) const {
  auto stretch = stretches_.end() - 1;
  while (stretch->first_line > index) --stretch;
  return stretch->start + ends_[index];
}

std::string_view MemoField::line(size_t index) const {
  const size_t begin = index == 0 ? 0 : EndOf(index - 1);
  return std::string_view(text_).substr(begin, EndOf(index) - begin);
}

std::vector<std::string> MemoField::lines() const {
  std::vector<std::string> all;
  all.reserve(ends_.size());
  for (size_t i = 0; i < ends_.size(); ++i) all.emplace_back(line(i));
  return all;
}

void MemoField::Clear() {
  if (ends_.empty()) return;
  text_.clear();
  text_.shrink_to_fit();
  ends_.clear();
  ends_.shrink_to_fit();
  stretches_.clear();
  Updated();
}

void MemoField::Append(std::string_view line) {
  if (stretches_.empty() || text_.size() + line.size() - stretches_.back().start > UINT32_MAX) {
    stretches_.push_back({ends_.size(), text_.size()});
  }
  text_.append(line);
  ends_.push_back(static_cast<uint32_t>(text_.size() - stretches_.back().start));
  Updated();
}

}  // namespace pellmar
