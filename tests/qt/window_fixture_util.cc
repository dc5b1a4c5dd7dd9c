// Building and tearing down the window under test.
#include <QTest>

#include "ui/qt/window_look.h"
#include "window_fixture.h"

namespace pellmar {

WindowTest::~WindowTest() {
  host.SetMainWindow(nullptr);
  host.SetLogWindow(nullptr);
  window.reset();  // the widgets go before the controls they show
}

void WindowTest::WriteSettings(const std::vector<std::string>& projects) {
  world.MakeFolder(world.stick_dir() + "/backup");
  std::string ini = "[Setting]\r\n";
  for (size_t i = 0; i < projects.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    const std::string folder = world.documents_dir() + "/" + projects[i];
    world.MakeFolder(folder);
    ini += "SyncItem" + n + "=" + world.Namespace(folder) + "\r\n";
    ini += "Path in mobile disk" + n + "=E:\\backup\r\n";
    ini += "Duration" + n + "=7\r\n";
    ini += "UseZip" + n + "=0\r\n";  // the zip route copies nothing
  }
  world.WriteFile(world.settings_file(), ini);
}

void WindowTest::Start() {
  log.SetHost(&host);
  main = std::make_unique<TMain>(MainFormServices{&world.platform(), &dialogs, &shell, &host}, log);
  main->SetMeasurer(LabelMeasurer(*main));
  main->FormCreate();
  window = std::make_unique<MainWindow>(*main);
  log_window = new LogWindow(log, window.get());
  host.SetMainWindow(window.get());
  host.SetLogWindow(log_window);
  window->ShowCentred();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  // FormShow is queued behind the first show; let it run.
  QCoreApplication::processEvents();
}

}  // namespace pellmar
