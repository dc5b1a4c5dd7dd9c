// The window entry on Windows: the two native windows in the order of
// start-up (the main window with its creation reaction first, the log
// window second), then the message loop until the main window has closed.
#include <iostream>

#include "app/exit_codes.h"
#include "app/gui.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/log_window.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_dialogs.h"
#include "ui/win32/win32_window_host.h"
#include "ui/window_parts.h"

namespace pellmar {
namespace {

// Started from Explorer, the console program gets a console of its own; the
// window lets go of it. A console the program shares (cmd.exe, PowerShell)
// stays.
void ReleaseOwnConsole() {
  DWORD processes[2];
  if (::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
}

int RunWindows(Platform& platform) {
  WindowParts<Win32Dialogs, Win32WindowHost> parts(platform, Win32LabelMeasurer);
  Win32MainWindow window(parts.main);
  // No desktop to show it on (a service, a remote shell without a session):
  // a loop without a window would wait for ever.
  if (window.window() == nullptr) {
    std::cerr << "pellmar: the window could not be created (error " << ::GetLastError()
              << "); 'pellmar --help' lists the command line.\n";
    return kExitIncomplete;
  }
  Win32LogWindow log_window(parts.log, window.window());
  parts.host.SetMainWindow(&window);
  parts.host.SetLogWindow(&log_window);
  parts.dialogs.SetOwner(window.window());
  window.ShowCentred();
  const int exit_code = window.RunLoop();
  // The windows go before the objects they show; nothing may reach them after.
  parts.host.SetMainWindow(nullptr);
  parts.host.SetLogWindow(nullptr);
  parts.dialogs.SetOwner(nullptr);
  return exit_code;
}

}  // namespace

bool CanShowWindow() { return true; }

int RunWindow(int /*argc*/, char** /*argv*/, Platform& platform) {
  ReleaseOwnConsole();
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                                    ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&classes);
  const int exit_code = RunWindows(platform);
  if (SUCCEEDED(com)) ::CoUninitialize();
  return exit_code;
}

}  // namespace pellmar
