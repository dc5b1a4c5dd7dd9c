// Program entry for the window: the application, the two windows in the
// order of start-up (the main window with its creation reaction first, the
// log window second), then the event loop until the main window has closed.
// Qt's own texts follow the language the creation reaction found.
#include "app/gui.h"

#include <QApplication>

#include "ui/qt/log_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/qt_translation.h"
#include "ui/qt/qt_window_host.h"
#include "ui/qt/window_look.h"
#include "ui/window_parts.h"

namespace pellmar {

int RunWindow(int argc, char** argv, Platform& platform) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pellmar"));
  // Boxes and the picker show the icon too; the desktop matches the
  // running program to its entry by this name.
  QApplication::setWindowIcon(ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("pellmar"));

  WindowParts<QtDialogs, QtWindowHost> parts(platform, LabelMeasurer);
  TMain& main = parts.main;
  const std::unique_ptr<QTranslator> qt_translation =
      InstallQtTranslation(QtTextLocale(main.lang()));

  MainWindow window(main);
  auto* log_window = new LogWindow(parts.log, &window);
  parts.host.SetMainWindow(&window);
  parts.host.SetLogWindow(log_window);
  parts.dialogs.SetParent(&window);
  window.ShowCentred();
  const int exit_code = QApplication::exec();
  // The windows go before the objects they show; nothing may reach them after.
  parts.host.SetMainWindow(nullptr);
  parts.host.SetLogWindow(nullptr);
  parts.dialogs.SetParent(nullptr);
  return exit_code;
}

}  // namespace pellmar

// The module's one visible name; everything else in it stays inside.
extern "C" __attribute__((visibility("default"))) int PellmarRunWindow(
    int argc, char** argv, pellmar::Platform* platform) {
  return pellmar::RunWindow(argc, argv, *platform);
}
