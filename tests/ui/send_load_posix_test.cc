// Send through the window with an entry that is no regular file, which
// only POSIX hosts make: the run names it afterwards.
#include <sys/stat.h>

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

}  // namespace
}  // namespace pellmar
