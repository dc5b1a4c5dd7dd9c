// Creating, mirroring and listening to the child windows of the controls.
#include "ui/win32/control_windows.h"

#include <algorithm>

#include "ui/win32/win32_text.h"

namespace pellmar {
namespace {

constexpr int kFirstId = 100;  // below are IDOK, IDCANCEL and the like
constexpr int kItemHeight = 15;
constexpr int kArrowsWidth = 15;
constexpr int kCheckMarkRoom = 20;
constexpr int kRightMargin = 8;
constexpr int kInkRoom = 3;
// A status panel's frame and the indent of its text, both sides together.
constexpr int kPanelPadding = 12;
constexpr int kProgressPanel = 1;
constexpr int kProgressWidth = 80;
constexpr int kProgressMinWidth = 40;
constexpr int kProgressGap = 8;

enum class Kind { kButton, kLabel, kEdit, kSpin, kCheckBox, kList, kStatus, kMemo };

Kind KindOf(const Control& control) {
  if (dynamic_cast<const Button*>(&control)) return Kind::kButton;
  if (dynamic_cast<const Label*>(&control)) return Kind::kLabel;
  if (dynamic_cast<const Edit*>(&control)) return Kind::kEdit;
  if (dynamic_cast<const SpinField*>(&control)) return Kind::kSpin;
  if (dynamic_cast<const CheckBox*>(&control)) return Kind::kCheckBox;
  if (dynamic_cast<const ListBox*>(&control)) return Kind::kList;
  if (dynamic_cast<const StatusBar*>(&control)) return Kind::kStatus;
  return Kind::kMemo;
}

int TextWidth(HWND window, HFONT font, const std::wstring& text) {
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return size.cx;
}

int LineHeight(HWND window, HFONT font) {
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return metrics.tmHeight;
}

// How far the last glyph's ink reaches past its advance (an italic-like
// overhang, e.g. of a "t"): a label sized to the advance would cut it off.
int LastGlyphOverhang(HWND window, HFONT font, const std::wstring& text) {
  if (text.empty()) return 0;
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, font);
  ABC widths{};
  const bool known = ::GetCharABCWidthsW(dc, text.back(), text.back(), &widths) != FALSE;
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return known && widths.abcC < 0 ? -widths.abcC : 0;
}

// Sets a status panel's text only when it differs: a run updates the bar
// ten times a second, and each new text repaints the panel.
void SetPanelText(HWND bar, int panel, const std::wstring& text) {
  const auto length = LOWORD(::SendMessageW(bar, SB_GETTEXTLENGTHW, panel, 0));
  std::wstring shown(length + 1, L'\0');
  ::SendMessageW(bar, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(shown.data()));
  shown.resize(length);
  if (shown != text) {
    ::SendMessageW(bar, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

// A caption may carry a project name: an "&" in it is text, not an
// accelerator.
std::wstring Unprefixed(const std::string& caption) {
  std::wstring text;
  for (wchar_t c : ToWide(caption)) {
    text += c;
    if (c == L'&') text += L'&';
  }
  return text;
}

}  // namespace

struct ControlWindows::Bound {
  Control* control = nullptr;
  Kind kind = Kind::kButton;
  HWND window = nullptr;
  HWND arrows = nullptr;    // the number field's up-down control
  HWND progress = nullptr;  // the status bar's progress control, once a run shows it
  int id = 0;
  bool mirroring = false;
  bool forwards_key_up = false;
  std::vector<std::string> items;  // what the list window shows
  int top = 0;                     // the top index last pushed into it
  size_t memo_lines = static_cast<size_t>(-1);
};

ControlWindows::ControlWindows(HWND parent) : parent_(parent) {
  tool_tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(tool_tip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

ControlWindows::~ControlWindows() {
  // The controls outlive their windows; nothing may mirror into them later.
  for (const auto& bound : bound_) bound->control->on_update = nullptr;
}

HWND ControlWindows::CreateChild(const wchar_t* window_class, DWORD style, DWORD ex_style, int id) {
  HWND window = ::CreateWindowExW(ex_style, window_class, L"", WS_CHILD | style, 0, 0, 0, 0,
                                  parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return window;
}

HWND ControlWindows::Bind(Control& control) {
  auto bound = std::make_unique<Bound>();
  Bound& b = *bound;
  b.control = &control;
  b.kind = KindOf(control);
  b.id = kFirstId + static_cast<int>(bound_.size());
  const DWORD tab = control.tab_order() >= 0 ? WS_TABSTOP : 0;
  switch (b.kind) {
    case Kind::kButton:
      b.window = CreateChild(WC_BUTTONW, tab | BS_PUSHBUTTON, 0, b.id);
      break;
    case Kind::kLabel:
      b.window = CreateChild(WC_STATICW, SS_NOPREFIX | SS_NOTIFY, 0, b.id);
      break;
    case Kind::kEdit:
      b.window = CreateChild(WC_EDITW, tab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, b.id);
      break;
    case Kind::kSpin: {
      const auto& spin = static_cast<const SpinField&>(control);
      b.window = CreateChild(WC_EDITW, tab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, b.id);
      b.arrows =
          CreateChild(UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0);
      ::SendMessageW(b.arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b.window), 0);
      ::SendMessageW(b.arrows, UDM_SETRANGE32, spin.min(), spin.max());
      break;
    }
    case Kind::kCheckBox:
      b.window = CreateChild(WC_BUTTONW, tab | BS_CHECKBOX, 0, b.id);
      break;
    case Kind::kList:
      b.window = CreateChild(WC_LISTBOXW, tab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                             WS_EX_CLIENTEDGE, b.id);
      ::SendMessageW(b.window, LB_SETITEMHEIGHT, 0, Scale(kItemHeight));
      ::SetWindowSubclass(b.window, ChildProc, 1, reinterpret_cast<DWORD_PTR>(this));
      break;
    case Kind::kStatus:
      // The progress control lies on the bar: the bar's own painting of
      // the panel must not wipe it out.
      b.window = CreateChild(STATUSCLASSNAMEW, WS_CLIPCHILDREN, 0, b.id);
      break;
    case Kind::kMemo:
      b.window = CreateChild(
          WC_EDITW, tab | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_VSCROLL,
          WS_EX_CLIENTEDGE, b.id);
      break;
  }
  AddToolTips(b);
  bound_.push_back(std::move(bound));
  control.on_update = [this, &b] { Mirror(b); };
  Mirror(b);
  return b.window;
}

// Each window has two tools: the window itself, which hears the pointer
// while it is enabled, and its rectangle on the parent, which hears it while
// the window is greyed (a disabled window gets no mouse messages, and its
// hint is then the one that says why it is greyed).
void ControlWindows::AddToolTips(const Bound& bound) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(bound.window);
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tool_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.uFlags = TTF_SUBCLASS;
  tool.uId = static_cast<UINT_PTR>(bound.id);
  ::SendMessageW(tool_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ControlWindows::ForwardKeyUps(const std::vector<std::string>& names, KeyUpHandler handler) {
  key_up_ = std::move(handler);
  for (const auto& bound : bound_) {
    if (std::find(names.begin(), names.end(), bound->control->name()) == names.end()) continue;
    bound->forwards_key_up = true;
    ::SetWindowSubclass(bound->window, ChildProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
}

int ControlWindows::Scale(int design_pixels) const { return ::MulDiv(design_pixels, dpi_, 96); }

void ControlWindows::Rescale(int dpi, HFONT font) {
  dpi_ = dpi;
  font_ = font;
  for (const auto& bound : bound_) {
    ::SendMessageW(bound->window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (bound->kind == Kind::kList) {
      ::SendMessageW(bound->window, LB_SETITEMHEIGHT, 0, Scale(kItemHeight));
    }
  }
  MirrorAll();
  ::InvalidateRect(parent_, nullptr, TRUE);
}

void ControlWindows::MirrorAll() {
  for (const auto& bound : bound_) {
    bound->memo_lines = static_cast<size_t>(-1);
    Mirror(*bound);
  }
}

void ControlWindows::Mirror(Bound& bound) {
  // A mirror that reads a value back (a list's scroll position) would come
  // round again through on_update.
  if (bound.mirroring) return;
  bound.mirroring = true;
  MirrorCommon(bound);
  MirrorKind(bound);
  bound.mirroring = false;
  if (bound.kind == Kind::kList) ListScrolled(bound);
}

void ControlWindows::MirrorCommon(Bound& bound) {
  const Control& c = *bound.control;
  if (bound.kind == Kind::kSpin) {
    const int arrows = Scale(kArrowsWidth);
    ::MoveWindow(bound.window, Scale(c.left()), Scale(c.top()), Scale(c.width()) - arrows,
                 Scale(c.height()), TRUE);
    ::MoveWindow(bound.arrows, Scale(c.left()) + Scale(c.width()) - arrows, Scale(c.top()), arrows,
                 Scale(c.height()), TRUE);
  } else if (bound.kind == Kind::kStatus) {
    ::SendMessageW(bound.window, SB_SETMINHEIGHT, Scale(c.height()), 0);
    ::SendMessageW(bound.window, WM_SIZE, 0, 0);  // the bar places itself along the bottom
  } else {
    int width = Scale(c.width());
    int height = Scale(c.height());
    if (bound.kind == Kind::kLabel) {
      // A design height below the font's line would cut descenders off.
      height = std::max(height, LineHeight(bound.window, font_));
      const auto& label = static_cast<const Label&>(c);
      // The last glyph's ink may reach past its advance: room for it, at
      // least the few pixels a hinted "t" or "f" takes, which the font's
      // own widths do not always tell.
      if (label.auto_size()) {
        width += std::max(LastGlyphOverhang(bound.window, font_, ToWide(label.caption())),
                          Scale(kInkRoom));
      }
    }
    ::MoveWindow(bound.window, Scale(c.left()), Scale(c.top()), width, height, TRUE);
  }
  for (HWND window : {bound.window, bound.arrows}) {
    if (window == nullptr) continue;
    ::EnableWindow(window, c.enabled());
    ::ShowWindow(window, c.visible() ? SW_SHOWNA : SW_HIDE);
  }
  UpdateToolTip(bound);
}

void ControlWindows::UpdateToolTip(Bound& bound) {
  const std::wstring hint = ToWide(bound.control->hint());
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(bound.window);
  tool.lpszText = const_cast<wchar_t*>(hint.c_str());
  ::SendMessageW(tool_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.uId = static_cast<UINT_PTR>(bound.id);
  ::SendMessageW(tool_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  ::GetWindowRect(bound.window, &tool.rect);
  ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&tool.rect), 2);
  ::SendMessageW(tool_tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ControlWindows::MirrorKind(Bound& bound) {
  switch (bound.kind) {
    case Kind::kButton:
      return MirrorButton(bound);
    case Kind::kLabel:
      return MirrorLabel(bound);
    case Kind::kEdit:
      return SetWindowTextIfChanged(bound.window,
                                    ToWide(static_cast<const Edit&>(*bound.control).text()));
    case Kind::kSpin:
      return MirrorSpin(bound);
    case Kind::kCheckBox:
      return MirrorCheckBox(bound);
    case Kind::kList:
      return MirrorList(bound);
    case Kind::kStatus:
      return MirrorStatusBar(bound);
    case Kind::kMemo:
      return MirrorMemo(bound);
  }
}

void ControlWindows::MirrorButton(Bound& bound) {
  const auto& button = static_cast<const Button&>(*bound.control);
  SetWindowTextIfChanged(bound.window, ToWide(button.caption()));
  ::SendMessageW(bound.window, BM_SETSTYLE, button.is_default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                 TRUE);
}

void ControlWindows::MirrorLabel(Bound& bound) {
  const auto& label = static_cast<const Label&>(*bound.control);
  LONG_PTR style = ::GetWindowLongPtrW(bound.window, GWL_STYLE) & ~(SS_CENTER | SS_RIGHT);
  ::SetWindowLongPtrW(bound.window, GWL_STYLE, style | (label.centered() ? SS_CENTER : SS_LEFT));
  SetWindowTextIfChanged(bound.window, ToWide(label.caption()));
  ::InvalidateRect(bound.window, nullptr, TRUE);
}

void ControlWindows::MirrorSpin(Bound& bound) {
  const auto& spin = static_cast<const SpinField&>(*bound.control);
  // The field is narrow: three digits must fit beside the arrows, in
  // whatever font it has been given.
  ::SendMessageW(bound.window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
  SetWindowTextIfChanged(bound.window, ToWide(spin.text()));
  ::SendMessageW(bound.arrows, UDM_SETPOS32, 0, spin.value());
}

void ControlWindows::MirrorCheckBox(Bound& bound) {
  const auto& box = static_cast<const CheckBox&>(*bound.control);
  const std::wstring caption = Unprefixed(box.caption());
  SetWindowTextIfChanged(bound.window, caption);
  ::SendMessageW(bound.window, BM_SETCHECK, box.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  // A long caption (a long project name, a translation) grows the box to
  // the right within the window, never below its design width.
  RECT client{};
  ::GetClientRect(parent_, &client);
  const int room = client.right - Scale(box.left()) - Scale(kRightMargin);
  const int wanted =
      std::min(TextWidth(bound.window, font_, caption) + Scale(kCheckMarkRoom), room);
  if (wanted > Scale(box.width())) {
    ::MoveWindow(bound.window, Scale(box.left()), Scale(box.top()), wanted, Scale(box.height()),
                 TRUE);
  }
}

void ControlWindows::MirrorList(Bound& bound) {
  const auto& list = static_cast<const ListBox&>(*bound.control);
  HWND window = bound.window;
  if (list.items() != bound.items) {
    ::SendMessageW(window, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : list.items()) {
      ::SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
    }
    bound.items = list.items();
  }
  if (::SendMessageW(window, LB_GETCURSEL, 0, 0) != list.item_index()) {
    ::SendMessageW(window, LB_SETCURSEL, list.item_index(), 0);
  }
  // Only a top index the logic set itself is pushed into the window; else
  // the list stays where the selection scrolled it.
  if (list.top_index() != bound.top) {
    bound.top = list.top_index();
    ::SendMessageW(window, LB_SETTOPINDEX, bound.top, 0);
  }
}

// A run appends a line per file; the text goes into the window when the
// log is on screen, not once per line.
void ControlWindows::MirrorMemo(Bound& bound) {
  const auto& memo = static_cast<const MemoField&>(*bound.control);
  if (!::IsWindowVisible(parent_) && bound.memo_lines != static_cast<size_t>(-1)) return;
  if (memo.line_count() == bound.memo_lines) return;
  std::string text;
  for (size_t i = 0; i < memo.line_count(); ++i) {
    if (i > 0) text += "\r\n";
    text += memo.line(i);
  }
  ::SetWindowTextW(bound.window, ToWide(text).c_str());
  bound.memo_lines = memo.line_count();
}

// A panel is never narrower than its text in the window's font: the
// design's widths were made for another font. While a run goes, the second
// panel takes the rest of the bar and shows the run's text with the
// progress control at its right end.
void ControlWindows::MirrorStatusBar(Bound& bound) {
  const auto& bar = static_cast<const StatusBar&>(*bound.control);
  const bool running = bar.progress() >= 0;
  std::vector<std::wstring> texts;
  std::vector<int> rights;
  int right = 0;
  for (int i = 0; i < bar.panel_count(); ++i) {
    texts.push_back(
        ToWide(running && i == kProgressPanel ? bar.progress_text() : bar.panel_text(i)));
    const int text_width = TextWidth(bound.window, font_, texts.back()) + Scale(kPanelPadding);
    rights.push_back(right += std::max(Scale(bar.panel_width(i)), text_width));
  }
  if (running && kProgressPanel == bar.panel_count() - 1) rights.back() = -1;
  std::vector<int> shown(rights.size() + 1);
  const auto parts = ::SendMessageW(bound.window, SB_GETPARTS, shown.size(),
                                    reinterpret_cast<LPARAM>(shown.data()));
  shown.resize(static_cast<size_t>(parts));
  if (shown != rights) {
    ::SendMessageW(bound.window, SB_SETPARTS, rights.size(),
                   reinterpret_cast<LPARAM>(rights.data()));
  }
  for (int i = 0; i < bar.panel_count(); ++i) SetPanelText(bound.window, i, texts[i]);
  MirrorProgress(bound, running ? TextWidth(bound.window, font_, texts[kProgressPanel]) : 0);
}

void ControlWindows::MirrorProgress(Bound& bound, int text_width) {
  const auto& bar = static_cast<const StatusBar&>(*bound.control);
  if (bar.progress() < 0) {
    if (bound.progress != nullptr) ::ShowWindow(bound.progress, SW_HIDE);
    return;
  }
  if (bound.progress == nullptr) {
    bound.progress = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | PBS_SMOOTH, 0, 0, 0, 0,
                                       bound.window, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(bound.progress, PBM_SETRANGE32, 0, 1000);
  }
  RECT part{};
  ::SendMessageW(bound.window, SB_GETRECT, kProgressPanel, reinterpret_cast<LPARAM>(&part));
  // The text comes first: the control gives up width before any text is cut.
  const int room = part.right - part.left - text_width - Scale(kPanelPadding + kProgressGap);
  const int width = std::max(std::min(Scale(kProgressWidth), room), Scale(kProgressMinWidth));
  const int inset = Scale(2);
  ::MoveWindow(bound.progress, part.right - inset - width, part.top + inset, width,
               part.bottom - part.top - 2 * inset, TRUE);
  SetWindowTextIfChanged(bound.progress, ToWide(bar.progress_name()));
  if (::SendMessageW(bound.progress, PBM_GETPOS, 0, 0) != bar.progress()) {
    ::SendMessageW(bound.progress, PBM_SETPOS, bar.progress(), 0);
  }
  ::ShowWindow(bound.progress, SW_SHOWNA);
}

ControlWindows::Bound* ControlWindows::Find(HWND window) const {
  for (const auto& bound : bound_) {
    if (bound->window == window || (bound->arrows != nullptr && bound->arrows == window)) {
      return bound.get();
    }
  }
  return nullptr;
}

HWND ControlWindows::WindowOf(const std::string& control_name) const {
  for (const auto& bound : bound_) {
    if (bound->control->name() == control_name) return bound->window;
  }
  return nullptr;
}

Control* ControlWindows::ControlOf(HWND window) const {
  Bound* bound = Find(window);
  return bound == nullptr ? nullptr : bound->control;
}

int ControlWindows::IdOf(const Control& control) const {
  for (const auto& bound : bound_) {
    if (bound->control == &control) return bound->id;
  }
  return 0;
}

Control* ControlWindows::ControlWithId(int id) const {
  for (const auto& bound : bound_) {
    if (bound->id == id) return bound->control;
  }
  return nullptr;
}

bool ControlWindows::OnCommand(WPARAM w_param, LPARAM l_param) {
  Bound* bound = Find(reinterpret_cast<HWND>(l_param));
  if (bound == nullptr) return false;
  if (bound->mirroring) return true;  // the echo of a value set from the control
  const int code = HIWORD(w_param);
  Control& control = *bound->control;
  switch (bound->kind) {
    case Kind::kButton:
      if (code == BN_CLICKED) static_cast<Button&>(control).Click();
      break;
    case Kind::kCheckBox:
      if (code == BN_CLICKED) static_cast<CheckBox&>(control).UserClick();
      break;
    case Kind::kEdit:
      if (code == EN_CHANGE) static_cast<Edit&>(control).UserEdit(WindowText(bound->window));
      break;
    case Kind::kSpin:
      if (code == EN_CHANGE) static_cast<SpinField&>(control).UserEdit(WindowText(bound->window));
      if (code == EN_KILLFOCUS) static_cast<SpinField&>(control).Exit();
      break;
    case Kind::kList: {
      auto& list = static_cast<ListBox&>(control);
      if (code == LBN_SELCHANGE) {
        list.UserSelect(static_cast<int>(::SendMessageW(bound->window, LB_GETCURSEL, 0, 0)));
      } else if (code == LBN_DBLCLK && list.on_dbl_click) {
        // Its first click has selected already (or been refused).
        list.on_dbl_click();
      }
      break;
    }
    default:
      break;
  }
  // A refused or corrected value must not linger in the window.
  Mirror(*bound);
  return true;
}

bool ControlWindows::OnNotify(const NMHDR& header, LRESULT* result) {
  Bound* bound = Find(header.hwndFrom);
  if (bound == nullptr || bound->kind != Kind::kSpin || header.code != UDN_DELTAPOS) return false;
  // The arrows step the control's value; the control keeps it in range.
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  auto& spin = static_cast<SpinField&>(*bound->control);
  spin.SetValue(spin.value() + change.iDelta);
  Mirror(*bound);
  *result = TRUE;  // the control has moved; the arrows do not move again
  return true;
}

void ControlWindows::ListScrolled(Bound& bound) {
  auto& list = static_cast<ListBox&>(*bound.control);
  const int top = static_cast<int>(::SendMessageW(bound.window, LB_GETTOPINDEX, 0, 0));
  if (top == list.top_index()) return;
  bound.top = top;
  list.SetTopIndex(top);
}

LRESULT CALLBACK ControlWindows::ChildProc(HWND window, UINT message, WPARAM w_param,
                                           LPARAM l_param, UINT_PTR /*id*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<ControlWindows*>(data);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, ChildProc, 1);
    return ::DefSubclassProc(window, message, w_param, l_param);
  }
  Bound* bound = self->Find(window);
  if (message == WM_KEYUP && bound != nullptr && bound->forwards_key_up && self->key_up_) {
    self->key_up_(bound->control->name(), static_cast<int>(w_param));
  }
  const LRESULT result = ::DefSubclassProc(window, message, w_param, l_param);
  const bool may_scroll = message == WM_VSCROLL || message == WM_MOUSEWHEEL ||
                          message == WM_KEYDOWN || message == WM_SIZE;
  if (may_scroll && bound != nullptr && bound->kind == Kind::kList && !bound->mirroring) {
    self->ListScrolled(*bound);
  }
  return result;
}

}  // namespace pellmar
