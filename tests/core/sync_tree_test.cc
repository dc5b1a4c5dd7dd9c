// SyncTree on real trees: where copies land in both directions, the date
// window and the exclusion list, refusals and auto-delete (the entries a walk
// must never follow or open: sync_tree_<os>_test.cc).
#include "core/sync_tree.h"

#include <algorithm>
#include <filesystem>

#include "core/candidate.h"
#include "core/text_ops.h"
#include "platform/dos_time.h"
#include "support/forwarding_platform.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

// Both directions of one project: its tree lands in the removable project
// folder and comes back from there (TargetFolder on real paths).
TEST_F(SyncTest, SendAndLoadMirrorTheProjectTree) {
  WriteDated(Host("Work/Alpha/readme.txt"), 10, DaysAgo(1));
  WriteDated(Host("Work/Alpha/src/lib/util.c"), 20, DaysAgo(1));
  MakeFolder(Host("Work/Alpha/empty"));
  SyncTree(*MakeRun(Ns("Work/Alpha")), Ns("Work/Alpha"), "E:\\Sync\\Alpha");
  EXPECT_EQ(HostNames(Stick("")), std::vector<std::string>{"Sync"});
  EXPECT_EQ(HostSize(Stick("Sync/Alpha/readme.txt")), 10);
  EXPECT_EQ(HostSize(Stick("Sync/Alpha/src/lib/util.c")), 20);
  EXPECT_FALSE(HostExists(Stick("Sync/Alpha/empty"))) << "no file, no folder";

  fs::remove_all(Host("Work/Alpha"));
  SyncTree(*MakeRun(Ns("Work/Alpha")), "E:\\Sync\\Alpha", Ns("Work/Alpha"));
  EXPECT_EQ(HostSize(Host("Work/Alpha/readme.txt")), 10);
  EXPECT_EQ(HostSize(Host("Work/Alpha/src/lib/util.c")), 20);
}

TEST(CandidateTest, ExtensionKeysAreFoundAnywhereInTheList) {
  const DateWindow recent{0, 0};
  const struct {
    const char* name;
    const char* list;
    bool candidate;
  } cases[] = {
      {"a.df", "pdf,ini,", false},
      {"b.i", "pdf,ini,", false},
      {"c.PDF", "pdf,ini,", true},
      {"noext", "pdf,ini,", false},
      {".profile", "pdf,ini,", true},
      {"archive.tar.gz", "tar,", true},
      {"archive.tar.gz", "gz,", false},
      {"x.abcdefghijkl", "abcdefghij,", false},
      {"x.abcdefghijk", "abcdefghijk,", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsCandidate(c.name, PackDosTime({2020, 1, 1, 12}), recent, c.list, false),
              c.candidate)
        << c.name << " against " << c.list;
    EXPECT_TRUE(IsCandidate(c.name, 0, {1LL << 40, 0}, c.list, true))
        << c.name << " on the removable disk";
  }
}

TEST_F(SyncTest, DaysCountFromMidnight) {
  window_.days = 1;
  WriteDated(Host("p/at_midnight.txt"), 1, MidnightPlus(-1, 0));
  WriteDated(Host("p/two_seconds_later.txt"), 1, MidnightPlus(-1, 2));
  SyncTree(*MakeRun(Ns("p")), Ns("p"), "E:\\Sync\\Alpha");
  EXPECT_EQ(window_.log, std::vector<std::string>{"two_seconds_later.txt"});
}

TEST_F(SyncTest, RefusalEndsOnlyTheFolderBeingWalked) {
  for (const char* name : {"s1.c", "s2.c", "big.c", "s3.c", "s4.c"}) {
    WriteDated(Host(std::string("p/sub/") + name), std::string(name) == "big.c" ? 5000 : 10,
               DaysAgo(1));
  }
  WriteDated(Host("p/top.txt"), 10, DaysAgo(1));
  SyncTree(*MakeRun(Ns("p")), Ns("p"), "E:\\Sync\\Alpha");

  std::vector<std::string> expected;  // the sub-folder's files listed before the big one
  for (const FileFacts& entry : platform_.ListFolder(Ns("p/sub") + "\\*").entries) {
    if (entry.name == "big.c") break;
    if (entry.name != "." && entry.name != "..") expected.push_back(entry.name);
  }
  for (const char* name : {"s1.c", "s2.c", "s3.c", "s4.c"}) {
    const bool listed_before = std::count(expected.begin(), expected.end(), name) > 0;
    EXPECT_EQ(HostExists(Stick(std::string("Sync/Alpha/sub/") + name)), listed_before) << name;
  }
  EXPECT_FALSE(HostExists(Stick("Sync/Alpha/sub/big.c")));
  EXPECT_TRUE(HostExists(Stick("Sync/Alpha/top.txt"))) << "the parent level carries on";
  EXPECT_EQ(window_.shown, std::vector<std::string>{"Not enough disc size!"});
}

// Load with auto-delete and Days = 7: more than 14 days old goes.
TEST_F(SyncTest, AutoDeleteRemovesOldFilesAndOldEmptyFolders) {
  window_.auto_delete = true;
  const std::string stick = "Sync/Alpha/";
  WriteDated(Stick(stick + "old_newer.txt"), 100, DaysAgo(20));
  WriteDated(Host("p/old_newer.txt"), 1, DaysAgo(30));
  WriteDated(Stick(stick + "old_same.txt"), 200, DaysAgo(20));
  WriteDated(Host("p/old_same.txt"), 200, DaysAgo(20));
  WriteDated(Stick(stick + "recent.txt"), 300, DaysAgo(3));
  WriteDated(Stick(stick + "old_dir/old.txt"), 400, DaysAgo(20));
  SetLocalWriteTime(Stick(stick + "old_dir"), DaysAgo(20));
  WriteDated(Stick(stick + "kept_dir/recent.txt"), 500, DaysAgo(3));
  SetLocalWriteTime(Stick(stick + "kept_dir"), DaysAgo(20));
  MakeFolder(Stick(stick + "young_dir"));
  SetLocalWriteTime(Stick(stick + "young_dir"), DaysAgo(1));

  SyncTree(*MakeRun(Ns("p")), "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(HostSize(Host("p/old_newer.txt")), 100) << "copied before it was deleted";
  for (const char* gone : {"old_newer.txt", "old_same.txt", "old_dir"}) {
    EXPECT_FALSE(HostExists(Stick(stick + gone))) << gone;
  }
  for (const char* kept : {"recent.txt", "kept_dir/recent.txt", "young_dir"}) {
    EXPECT_TRUE(HostExists(Stick(stick + kept))) << kept;
  }
  EXPECT_EQ(counters_.free_space, 1000 + 100 + 200 + 400);
}

TEST_F(SyncTest, FailedCopyIsNeverAutoDeleted) {
  window_.auto_delete = true;
  WriteDated(Stick("Sync/Alpha/src/only_copy.c"), 100, DaysAgo(30));
  WriteDated(Host("p/src"), 1, DaysAgo(30));  // a file where the target folder belongs
  auto run = MakeRun(Ns("p"));
  SyncTree(*run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_THAT(window_.log, ::testing::ElementsAre(::testing::StartsWith("only_copy.c  -- NOT")));
  EXPECT_EQ(counters_.copy_count, 1);
  EXPECT_EQ(window_.close_requests, 1);
  EXPECT_TRUE(HostExists(Stick("Sync/Alpha/src/only_copy.c")));
  EXPECT_FALSE(run->outcome.Complete());
}

// The copy just made must be on the disk before its original goes: when it
// cannot be flushed, the old file stays on the removable disk.
TEST_F(SyncTest, UnflushedCopyKeepsTheOriginal) {
  window_.auto_delete = true;
  WriteDated(Stick("Sync/Alpha/old.txt"), 100, DaysAgo(30));
  FaultyPlatform refusing(platform_);
  refusing.fail_flush = true;
  SyncRun run(refusing, window_, counters_, "pdf,ini,", Ns("p"));
  SyncTree(run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(HostSize(Host("p/old.txt")), 100) << "copied";
  EXPECT_TRUE(HostExists(Stick("Sync/Alpha/old.txt"))) << "kept";
  refusing.fail_flush = false;
  SyncTree(run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_FALSE(HostExists(Stick("Sync/Alpha/old.txt"))) << "deleted once its copy is safe";
}

}  // namespace
}  // namespace pellmar
