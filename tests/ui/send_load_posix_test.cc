// Send through the window where only POSIX hosts give a test the fault: an
// entry that is no regular file, and a small disk of its own.
#include <sys/stat.h>

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

}  // namespace
}  // namespace pellmar
