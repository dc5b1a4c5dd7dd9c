// The native skin's binding, on real windows (Wine under Xvfb in CI): each
// control's window has the class, place and caption its object holds, and
// clicks sent as the system sends them reach the logic. What the reactions
// then do is tested once, headless, in tests/ui.
#include <filesystem>
#include <string>

#include "support/window_fixture.h"
#include "ui/win32/log_window.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window_host.h"

namespace pellmar {
namespace {

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return ToUtf8(name);
}

RECT ClientRect(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

struct Expected {
  std::string window_class;
  std::string caption;  // "" where the window shows a value, not a caption
  bool placed = true;   // false: the window places itself (the status bar)
};

Expected ExpectedFor(const Control& control) {
  if (auto* button = dynamic_cast<const Button*>(&control)) return {"Button", button->caption()};
  if (auto* box = dynamic_cast<const CheckBox*>(&control)) return {"Button", box->caption()};
  if (auto* label = dynamic_cast<const Label*>(&control)) return {"Static", label->caption()};
  if (dynamic_cast<const ListBox*>(&control)) return {"ListBox", ""};
  if (dynamic_cast<const StatusBar*>(&control)) return {"msctls_statusbar32", "", false};
  return {"Edit", ""};  // the edits, the number field and the memo
}

// What the log window showed when it came up; filled in by the timer that
// closes it, since showing it does not return before it is closed.
struct LogSeen {
  Win32LogWindow* log_window = nullptr;
  bool shown = false;
  std::string memo;
};
LogSeen* seen = nullptr;

void CALLBACK CloseLogWhenShown(HWND, UINT, UINT_PTR, DWORD) {
  Win32LogWindow& log_window = *seen->log_window;
  if (!log_window.Showing() || !::IsWindowVisible(log_window.window())) return;
  seen->shown = true;
  seen->memo = WindowText(log_window.controls().WindowOf("Memo"));
  ::SendMessageW(log_window.controls().WindowOf("btnOK"), BM_CLICK, 0, 0);
}

class Win32WindowTest : public WindowTest {
 protected:
  Win32WindowTest() { window_host_ = &win32_host_; }
  Win32WindowHost win32_host_;
};

TEST_F(Win32WindowTest, WindowsMirrorTheControlsAndClicksReachTheLogic) {
  WriteProjects({"Proj"});
  WriteText(Documents("Proj/note.txt"), "a note");
  TMain& main = MakeWindow();
  main.SetMeasurer(Win32LabelMeasurer(main));
  main.FormCreate();
  Win32MainWindow window(main);
  Win32LogWindow log_window(*log_, window.window());
  win32_host_.SetMainWindow(&window);
  win32_host_.SetLogWindow(&log_window);
  window.ShowCentred();
  ControlWindows& controls = window.controls();

  for (Control* control : main.AllControls()) {
    SCOPED_TRACE(control->name());
    HWND child = controls.WindowOf(control->name());
    ASSERT_NE(child, nullptr);
    const Expected expected = ExpectedFor(*control);
    EXPECT_EQ(ClassOf(child), expected.window_class);
    EXPECT_EQ(::IsWindowVisible(child) != FALSE, control->visible());
    if (!expected.caption.empty()) {
      EXPECT_EQ(WindowText(child), expected.caption);
    }
    if (!expected.placed || !control->visible()) continue;
    const RECT rect = ClientRect(child);
    EXPECT_EQ(rect.left, control->left());
    EXPECT_EQ(rect.top, control->top());
  }
  HWND spin = controls.WindowOf("SpinEdit");
  EXPECT_EQ(WindowText(spin), main.SpinEdit.text());
  EXPECT_EQ(ClassOf(reinterpret_cast<HWND>(
                ::SendMessageW(::GetWindow(spin, GW_HWNDNEXT), UDM_GETBUDDY, 0, 0))),
            "Edit");

  // A selection as the list reports it fills the fields.
  HWND list = controls.WindowOf("ListBox2");
  ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  ::SendMessageW(list, LB_SETCURSEL, 0, 0);
  ::SendMessageW(window.window(), WM_COMMAND,
                 MAKEWPARAM(controls.IdOf(main.ListBox2), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(main.ListBox2.item_index(), 0);
  EXPECT_EQ(::SendMessageW(controls.WindowOf("ListBox1"), LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(WindowText(controls.WindowOf("edMediaDir")), "E:\\Sync");

  // Send copies and shows the log window, which OK closes.
  LogSeen log_seen;
  log_seen.log_window = &log_window;
  seen = &log_seen;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseLogWhenShown);
  dialogs_.answers.assign(4, true);
  ::SendMessageW(controls.WindowOf("btnSend"), BM_CLICK, 0, 0);
  ::KillTimer(nullptr, timer);
  seen = nullptr;
  EXPECT_TRUE(log_seen.shown);
  EXPECT_NE(log_seen.memo.find("note.txt"), std::string::npos) << log_seen.memo;
  EXPECT_EQ(ReadText(Stick("Sync/Proj/note.txt")), "a note");
  EXPECT_FALSE(::IsWindowVisible(log_window.window()));

  // Escape, as the dialog manager turns it into the cancel button, removes.
  dialogs_.answers.assign(2, true);
  MSG escape{};
  escape.hwnd = controls.WindowOf("ListBox1");
  escape.message = WM_KEYDOWN;
  escape.wParam = VK_ESCAPE;
  ::SetFocus(escape.hwnd);
  EXPECT_TRUE(::IsDialogMessageW(window.window(), &escape));
  EXPECT_EQ(main.ListBox1.count(), 0);
  EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 0);

  // Closing saves: the settings file is written anew, without the project.
  std::filesystem::remove(HostFsPath(ns_.settings_file()));
  ::SendMessageW(window.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window.window(), nullptr);
  ASSERT_TRUE(HostExists(ns_.settings_file()));
  EXPECT_EQ(ReadText(ns_.settings_file()).find("Proj"), std::string::npos);
  win32_host_.SetMainWindow(nullptr);
  win32_host_.SetLogWindow(nullptr);
}

}  // namespace
}  // namespace pellmar
