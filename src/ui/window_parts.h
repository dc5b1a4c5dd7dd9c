// The window logic with the services a skin gives it, wired the same way by
// both skins: the skin's dialogs and window host, the shell over the
// platform, the log, and the main window's logic up to its creation
// reaction. The skin then makes its windows over `main` and `log`.
#ifndef PELLMAR_UI_WINDOW_PARTS_H_
#define PELLMAR_UI_WINDOW_PARTS_H_

#include <functional>
#include <memory>

#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"
#include "ui/platform_shell.h"

namespace pellmar {

template <typename SkinDialogs, typename SkinHost>
struct WindowParts {
  /// `measure` gives the labels their size in the skin's font; the creation
  /// reaction places the number field behind Label4 by that size.
  WindowParts(Platform& platform, const std::function<Label::Measurer(TMain&)>& measure)
      : dialogs(platform),
        shell(platform),
        // The count of the selected project runs on a platform of its own.
        main({&platform, &dialogs, &shell, &host, NewHostPlatform}, log) {
    log.SetHost(&host);
    dialogs.SetMessages(&main.messages());
    main.SetMeasurer(measure(main));
    main.FormCreate();
  }
  ~WindowParts() { dialogs.SetMessages(nullptr); }
  WindowParts(const WindowParts&) = delete;
  WindowParts& operator=(const WindowParts&) = delete;

  SkinDialogs dialogs;
  PlatformShell shell;
  SkinHost host;
  TLogViewer log;
  TMain main;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_WINDOW_PARTS_H_
