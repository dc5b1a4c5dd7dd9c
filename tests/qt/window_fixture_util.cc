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
  MakeFolder(world.drive('E', "backup"));
  std::vector<std::string> folders;
  for (const std::string& project : projects) {
    folders.push_back(world.documents() + "/" + project);
    MakeFolder(folders.back());
  }
  world.WriteEntries(folders, "E:\\backup");
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
