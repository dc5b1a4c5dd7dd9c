// SyncTree on real trees: where copies land in both directions, the date
// window and the exclusion list, refusals, auto-delete, and the entries a
// walk must never follow or open.
#include "core/sync_tree.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/candidate.h"
#include "core/target_folder.h"
#include "platform/dos_time.h"
#include "sync_test_util.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

// A project below the Documents folder and one outside
// it both land in the removable project folder, and come back from there.
TEST_F(SyncTest, SendAndLoadMirrorTheProjectTree) {
  for (const std::string project : {"Documents/Projects/Alpha", "Work/Beta"}) {
    SCOPED_TRACE(project);
    const std::string name = fs::path(project).filename();
    window_.project_name = name;
    WriteFile(Host(project + "/readme.txt"), 10, DaysAgo(1));
    WriteFile(Host(project + "/src/lib/util.c"), 20, DaysAgo(1));
    MakeFolder(Host(project + "/empty"), DaysAgo(1));
    counters_ = RunCounters{1 << 20, 0};

    SyncTree(*MakeRun(Ns(project)), Ns(project), "E:\\Sync\\" + name);
    EXPECT_EQ(SizeOf(StickHost("Sync/" + name + "/readme.txt")), 10);
    EXPECT_EQ(SizeOf(StickHost("Sync/" + name + "/src/lib/util.c")), 20);
    EXPECT_FALSE(Exists(StickHost("Sync/" + name + "/empty"))) << "no file, no folder";

    fs::remove_all(Host(project));
    SyncTree(*MakeRun(Ns(project)), "E:\\Sync\\" + name, Ns(project));
    EXPECT_EQ(SizeOf(Host(project + "/readme.txt")), 10);
    EXPECT_EQ(SizeOf(Host(project + "/src/lib/util.c")), 20);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(StickHost("")), fs::directory_iterator()), 1)
      << "everything went below E:\\Sync";
}

TEST_F(SyncTest, TargetFolderRules) {
  struct Case {
    const char *project_folder, *source_folder, *file, *root, *target, *root_after;
  } cases[] = {
      {"C:\\Home\\Documents\\Projects\\Alpha", "C:\\Home\\Documents\\Projects\\Alpha",
       "C:\\Home\\Documents\\Projects\\Alpha\\readme.txt", "E:\\Sync\\Alpha", "E:\\Sync\\Alpha\\",
       "E:\\Sync\\Alpha"},
      {"C:\\Home\\Documents\\Projects\\Alpha", "C:\\Home\\Documents\\Projects\\Alpha\\src\\lib",
       "C:\\Home\\Documents\\Projects\\Alpha\\src\\lib\\util.c", "E:\\Sync\\Alpha",
       "E:\\Sync\\Alpha\\src\\lib", "E:\\Sync\\Alpha"},
      {"C:\\Home\\Documents\\Projects\\Alpha", "E:\\Sync\\Alpha\\src\\lib",
       "E:\\Sync\\Alpha\\src\\lib\\util.c", "C:\\Home\\Documents\\Projects\\Alpha",
       "C:\\Home\\Documents\\Projects\\Alpha\\src\\lib", "C:\\Home\\Documents\\Projects\\Alpha"},
      {"D:\\Work\\Beta", "D:\\Work\\Beta\\src", "D:\\Work\\Beta\\src\\a.c", "E:\\Sync\\Beta",
       "E:\\Sync\\Beta\\src", "E:\\Sync\\Beta"},
      {"D:\\Work\\Beta", "E:\\Sync\\Beta\\src", "E:\\Sync\\Beta\\src\\a.c", "D:\\Work\\Beta",
       "D:\\Work\\Beta\\src", "D:\\Work\\Beta"},
      // Neither folder occurs in the path: the drive fallback.
      {"C:\\Elsewhere", "D:\\Work\\Beta\\src", "D:\\Work\\Beta\\src\\a.c", "E:\\Sync\\Beta",
       "E:\\Work\\Beta\\src", "E:"},
  };
  window_.media_dir = "E:\\Sync";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string project_folder = c.project_folder;
    window_.project_name = project_folder.substr(project_folder.rfind('\\') + 1);
    auto run = MakeRun(c.project_folder);
    std::string root = c.root;
    EXPECT_EQ(TargetFolder(*run, c.file, c.source_folder, &root), c.target);
    EXPECT_EQ(root, c.root_after);
  }
}

TEST(FolderPartTest, KeepsTheSeparatorOfRootsOnly) {
  const struct {
    const char *path, *folder;
    int code_page;
  } cases[] = {
      {"\\src\\lib\\util.c", "\\src\\lib", 65001},
      {"\\readme.txt", "\\", 65001},
      {"C:\\x\\a.c", "C:\\x", 65001},
      {"C:\\a.c", "C:\\", 65001},
      {"a.c", "", 65001},
      {"x\\\\a.c", "x\\\\", 65001},
      // The second byte of a Shift-JIS character is no separator.
      {"\\d\\\x95\\a.c", "\\d", 932},
      {"\\d\\\x95\\a.c", "\\d\\\x95", 65001},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path, CodePage{c.code_page}), c.folder) << c.path;
  }
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
    EXPECT_EQ(IsCandidate(c.name, std::string("C:\\p\\") + c.name, PackDosTime(At(2020, 1, 1)),
                          recent, c.list, "E:\\Sync"),
              c.candidate)
        << c.name << " against " << c.list;
    EXPECT_TRUE(IsCandidate(c.name, std::string("E:\\Sync\\p\\") + c.name, 0, {1LL << 40, 0},
                            c.list, "E:\\Sync"))
        << c.name << " on the removable disk";
  }
}

TEST_F(SyncTest, DaysCountFromMidnight) {
  window_.days = 1;
  WriteFile(Host("p/at_midnight.txt"), 1, MidnightPlus(-1, 0));
  WriteFile(Host("p/two_seconds_later.txt"), 1, MidnightPlus(-1, 2));
  counters_ = RunCounters{1000, 0};
  SyncTree(*MakeRun(Ns("p")), Ns("p"), "E:\\Sync\\Alpha");
  EXPECT_EQ(window_.log, std::vector<std::string>{"two_seconds_later.txt"});
}

TEST_F(SyncTest, RefusalEndsOnlyTheFolderBeingWalked) {
  for (const char* name : {"s1.c", "s2.c", "big.c", "s3.c", "s4.c"}) {
    WriteFile(Host(std::string("p/sub/") + name), std::string(name) == "big.c" ? 5000 : 10,
              DaysAgo(1));
  }
  WriteFile(Host("p/top.txt"), 10, DaysAgo(1));
  counters_ = RunCounters{1000, 0};
  SyncTree(*MakeRun(Ns("p")), Ns("p"), "E:\\Sync\\Alpha");

  std::vector<std::string> expected;  // the sub-folder's files listed before the big one
  for (const FileFacts& entry : platform_->ListFolder(Ns("p/sub") + "\\*").entries) {
    if (entry.name == "big.c") break;
    if (entry.name != "." && entry.name != "..") expected.push_back(entry.name);
  }
  for (const char* name : {"s1.c", "s2.c", "s3.c", "s4.c"}) {
    const bool listed_before = std::count(expected.begin(), expected.end(), name) > 0;
    EXPECT_EQ(Exists(StickHost(std::string("Sync/Alpha/sub/") + name)), listed_before) << name;
  }
  EXPECT_FALSE(Exists(StickHost("Sync/Alpha/sub/big.c")));
  EXPECT_TRUE(Exists(StickHost("Sync/Alpha/top.txt"))) << "the parent level carries on";
  EXPECT_EQ(window_.shown, std::vector<std::string>{"Not enough disc size!"});
}

// Load with auto-delete and Days = 7: more than 14 days old goes.
TEST_F(SyncTest, AutoDeleteRemovesOldFilesAndOldEmptyFolders) {
  window_.auto_delete = true;
  const std::string stick = "Sync/Alpha/";
  WriteFile(StickHost(stick + "old_newer.txt"), 100, DaysAgo(20));
  WriteFile(Host("p/old_newer.txt"), 1, DaysAgo(30));
  WriteFile(StickHost(stick + "old_same.txt"), 200, DaysAgo(20));
  WriteFile(Host("p/old_same.txt"), 200, DaysAgo(20));
  WriteFile(StickHost(stick + "recent.txt"), 300, DaysAgo(3));
  WriteFile(StickHost(stick + "old_dir/old.txt"), 400, DaysAgo(20));
  SetWriteTime(StickHost(stick + "old_dir"), DaysAgo(20));
  WriteFile(StickHost(stick + "kept_dir/recent.txt"), 500, DaysAgo(3));
  SetWriteTime(StickHost(stick + "kept_dir"), DaysAgo(20));
  MakeFolder(StickHost(stick + "young_dir"), DaysAgo(1));
  counters_ = RunCounters{1000, 0};

  SyncTree(*MakeRun(Ns("p")), "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(SizeOf(Host("p/old_newer.txt")), 100) << "copied before it was deleted";
  for (const char* gone : {"old_newer.txt", "old_same.txt", "old_dir"}) {
    EXPECT_FALSE(Exists(StickHost(stick + gone))) << gone;
  }
  for (const char* kept : {"recent.txt", "kept_dir/recent.txt", "young_dir"}) {
    EXPECT_TRUE(Exists(StickHost(stick + kept))) << kept;
  }
  EXPECT_EQ(counters_.free_space, 1000 + 100 + 200 + 400);
}

TEST_F(SyncTest, FailedCopyIsNeverAutoDeleted) {
  window_.auto_delete = true;
  WriteFile(StickHost("Sync/Alpha/src/only_copy.c"), 100, DaysAgo(30));
  WriteFile(Host("p/src"), 1, DaysAgo(30));  // a file where the target folder belongs
  counters_ = RunCounters{1000, 0};
  auto run = MakeRun(Ns("p"));
  SyncTree(*run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(window_.log, std::vector<std::string>{"only_copy.c"});
  EXPECT_EQ(counters_.copy_count, 1);
  EXPECT_EQ(window_.close_requests, 1);
  EXPECT_TRUE(Exists(StickHost("Sync/Alpha/src/only_copy.c")));
  EXPECT_FALSE(run->outcome.Complete());
}

// A deletion the host refuses gives no space back. Needs the immutable bit.
TEST_F(SyncTest, UndeletableFileGivesNoSpaceBack) {
  window_.auto_delete = true;
  const std::string file = StickHost("Sync/Alpha/locked.txt");
  WriteFile(file, 100, DaysAgo(30));
  WriteFile(Host("p/locked.txt"), 100, DaysAgo(30));
  const int fd = open(file.c_str(), O_RDONLY);
  int flags = 0;
  const bool got = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags |= FS_IMMUTABLE_FL;
  if (!got || ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
    close(fd);
    GTEST_SKIP() << "this file system or user cannot make a file immutable";
  }
  counters_ = RunCounters{1000, 0};
  SyncTree(*MakeRun(Ns("p")), "E:\\Sync\\Alpha", Ns("p"));
  flags &= ~FS_IMMUTABLE_FL;
  ioctl(fd, FS_IOC_SETFLAGS, &flags);
  close(fd);
  EXPECT_TRUE(Exists(file));
  EXPECT_EQ(counters_.free_space, 1000);
}

TEST_F(SyncTest, LinksSpecialFilesAndUnwritableNamesAreReportedNotFollowed) {
  window_.auto_delete = true;
  WriteFile(StickHost("Sync/Alpha/a.txt"), 10, DaysAgo(1));
  fs::create_directory_symlink(".", StickHost("Sync/Alpha/loop"));
  WriteFile(Host("elsewhere/old.txt"), 10, DaysAgo(30));
  fs::create_directory_symlink(Host("elsewhere"), StickHost("Sync/Alpha/outside"));
  ASSERT_EQ(mkfifo(StickHost("Sync/Alpha/pipe").c_str(), 0600), 0);
  WriteFile(StickHost("Sync/Alpha/back\\slash.txt"), 10, DaysAgo(1));
  counters_ = RunCounters{1000, 0};
  auto run = MakeRun(Ns("p"));

  SyncTree(*run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(window_.log, std::vector<std::string>{"a.txt"});
  EXPECT_TRUE(Exists(Host("elsewhere/old.txt"))) << "auto-delete never reaches through a link";
  EXPECT_FALSE(Exists(Host("p/pipe")));
  EXPECT_EQ(run->outcome.skipped_count, 4);
  const std::string listed = [&] {
    std::string all;
    for (const std::string& name : run->outcome.skipped_names) all += name + "|";
    return all;
  }();
  for (const char* name : {"loop", "outside", "pipe", "back\\slash.txt"}) {
    EXPECT_NE(listed.find(name), std::string::npos) << name << " in " << listed;
  }
}

}  // namespace
}  // namespace pellmar
