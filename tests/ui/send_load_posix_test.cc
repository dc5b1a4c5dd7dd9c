// Send through the window where only POSIX hosts give a test the fault: an
// entry that is no regular file, a small disk of its own, and another disk
// under the project's letter.
#include <sys/stat.h>

#include <optional>

#include "support/tiny_tmpfs.h"
#include "support/window_fixture.h"

namespace pellmar {
namespace {

TEST_F(WindowTest, SpecialFilesAreListedAfterTheRun) {
  WriteText(Documents("Alpha/main.c"), "x");
  ASSERT_EQ(mkfifo(Documents("Alpha/pipe").c_str(), 0600), 0);
  WriteProjects({"Alpha"});
  TMain& w = StartWindow();
  w.ListBox1.UserSelect(0);
  dialogs_.Clear();
  w.btnSend.Click();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_THAT(dialogs_.messages[0], HasSubstr(Ns(Documents("Alpha/pipe"))));
  EXPECT_EQ(host_.modal_shows, 1);
  EXPECT_EQ(w.last_run().skipped_count, 1);
}

// A removable folder typed on another drive is counted against that
// drive's space, not the one the selection showed.
TEST_F(WindowTest, TheSpaceCountIsOfTheDriveTheRunWritesTo) {
  ns_.InsertDrive('F');
  TinyTmpfs small(ns_.drive('F'), 1 << 20);
  if (!small.mounted()) GTEST_SKIP() << small.skip_reason();
  WriteText(Documents("Alpha/a.bin"), std::string(700'000, 'a'));
  WriteText(Documents("Alpha/b.bin"), std::string(700'000, 'b'));
  WriteProjects({"Alpha"});
  TMain& w = StartWindow();
  w.ListBox1.UserSelect(0);
  dialogs_.Clear();
  w.edMediaDir.UserEdit("F:\\");
  w.btnSend.Click();
  ASSERT_FALSE(dialogs_.messages.empty());
  EXPECT_EQ(dialogs_.messages[0], "Not enough disc size!");
  EXPECT_EQ(HostNames(ns_.drive('F')).size(), 1u);
  EXPECT_THAT(w.StatusBar1.panel_text(0), StartsWith("Available disk size:3"));
}

// Each tmpfs mounted is a disk of its own, as another stick would be.
TEST_F(WindowTest, AnotherDiskUnderTheLetterIsAskedAboutFirst) {
  std::optional<TinyTmpfs> stick(std::in_place, Stick(), 1 << 20);
  if (!stick->mounted()) GTEST_SKIP() << stick->skip_reason();
  WriteText(Documents("Alpha/a.txt"), "a");
  WriteProjects({"Alpha"});
  TMain& w = StartWindow();
  w.ListBox1.UserSelect(0);
  w.btnSend.Click();
  ASSERT_EQ(HostNames(Stick("Sync/Alpha")).size(), 1u);
  for (const bool use_it : {false, true}) {
    stick.reset();
    stick.emplace(Stick(), 1 << 20);
    MakeFolder(Stick("Sync"));
    dialogs_.Clear();
    dialogs_.answers = {use_it};
    w.btnSend.Click();
    ASSERT_EQ(dialogs_.questions.size(), 1u) << use_it;
    EXPECT_THAT(dialogs_.questions[0], StartsWith("E: is the disk fsid:"));
    EXPECT_THAT(dialogs_.questions[0],
                HasSubstr("this project was last used with. Use it anyway?"));
    EXPECT_EQ(HostNames(Stick("Sync")).empty(), !use_it) << "No touches nothing";
    EXPECT_EQ(HostExists(Stick("Sync/Alpha/a.txt")), use_it) << use_it;
    EXPECT_EQ(w.last_run().run_refused, !use_it);
  }
  // The project now goes with the disk it was last sent to.
  dialogs_.Clear();
  WriteText(Documents("Alpha/b.txt"), "b");
  w.btnSend.Click();
  EXPECT_THAT(dialogs_.questions, IsEmpty());
  EXPECT_TRUE(HostExists(Stick("Sync/Alpha/b.txt")));
}

}  // namespace
}  // namespace pellmar
