// SyncTree and a junction on the stick: it is reported, never walked, and
// auto-delete never reaches through it into the folder it leads to.
#include <vector>

#include "core/sync_tree.h"
#include "platform/win32/win32_api.h"
#include "support/test_host.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

TEST_F(SyncTest, JunctionsAreReportedNotWalked) {
  window_.auto_delete = true;
  WriteDated(Stick("Sync/Alpha/a.txt"), 10, DaysAgo(1));
  WriteDated(Host("elsewhere/old.txt"), 10, DaysAgo(30));
  SKIP_UNLESS_DONE(ThisTestHost().MakeLink(Stick("Sync/Alpha/outside"), Host("elsewhere"), true));
  ASSERT_TRUE(HostExists(Stick("Sync/Alpha/outside/old.txt"))) << "the junction leads there";
  auto run = MakeRun(Ns("p"));

  SyncTree(*run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(window_.log, std::vector<std::string>{"a.txt"});
  EXPECT_TRUE(HostExists(Host("elsewhere/old.txt"))) << "auto-delete never reaches through it";
  EXPECT_FALSE(HostExists(Host("p/outside")));
  ASSERT_EQ(run->outcome.skipped_names.size(), 1u);
  EXPECT_NE(run->outcome.skipped_names[0].find("outside"), std::string::npos);
}

}  // namespace
}  // namespace pellmar
