// The main window's first show, its close (the save) and a quit request.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "window_fixture.h"

namespace pellmar {
namespace {

TEST_F(WindowTest, FirstShowWelcomesOnceWithAnEmptyList) {
  Start();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], main->messages().Msg(2));
  EXPECT_EQ(dialogs.pickers.size(), 1u);  // Add, cancelled
  window->hide();
  window->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.pickers.size(), 1u);
}

TEST_F(WindowTest, FailedSaveKeepsTheWindowOpenAndTheNextCloseSaves) {
  WriteSettings({"alpha"});
  Start();
  // A folder where the settings file belongs: the rename onto it must fail.
  std::filesystem::remove(world.settings_file());
  MakeFolder(world.settings_file() + "/blocker");
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_NE(dialogs.messages.back().find("Pellmar.ini"), std::string::npos);

  std::filesystem::remove_all(world.settings_file());
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
  EXPECT_NE(ReadText(world.settings_file()).find("SyncItem1="), std::string::npos);
}

TEST_F(WindowTest, CloseDuringARunIsTurnedDownAndTheRunReports) {
  WriteSettings({"alpha"});
  WriteText(world.documents() + "/alpha/notes.txt", "new");
  Start();
  main->ListBox1.UserSelect(0);
  const std::string before = ReadText(world.settings_file());
  bool closed_during_run = true;
  // The first repaint of the run delivers the desktop's close request.
  QTimer::singleShot(0, [&] { closed_during_run = window->close(); });
  bool log_was_shown = false;
  const ModalAnswer answer([&](QWidget* modal) {
    log_was_shown = modal == log_window;
    QTest::keyClick(modal, Qt::Key_Return);
  });
  main->btnSend.Click();
  EXPECT_FALSE(closed_during_run);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(log_was_shown);
  EXPECT_EQ(ReadText(world.settings_file()), before) << "no save in the middle of a run";
  EXPECT_TRUE(window->close()) << "once the run is over the window closes";
}

TEST_F(WindowTest, QuitRequestEndsTheLoopWithoutTheSave) {
  WriteSettings({"alpha"});
  Start();
  const std::string before = ReadText(world.settings_file());
  QTimer::singleShot(0, [this] { host.RequestQuit(); });
  // Should the request be lost, this ends the loop instead of hanging (and
  // the exit code tells); it dies with the test either way.
  QTimer safety;
  safety.setSingleShot(true);
  QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  safety.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(window->isVisible());  // not closed, so FormClose never ran
  EXPECT_EQ(ReadText(world.settings_file()), before);
}

}  // namespace
}  // namespace pellmar
