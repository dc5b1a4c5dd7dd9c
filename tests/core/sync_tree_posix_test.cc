// SyncTree and what only POSIX file systems have: the immutable bit, and
// links, FIFOs and names with a backslash, none of which a walk may follow,
// open or take for a path.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/sync_tree.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

// A deletion the host refuses gives no space back. Needs the immutable bit.
TEST_F(SyncTest, UndeletableFileGivesNoSpaceBack) {
  window_.auto_delete = true;
  const std::string file = Stick("Sync/Alpha/locked.txt");
  WriteDated(file, 100, DaysAgo(30));
  WriteDated(Host("p/locked.txt"), 100, DaysAgo(30));
  const int fd = open(file.c_str(), O_RDONLY);
  int flags = 0;
  const bool got = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags |= FS_IMMUTABLE_FL;
  if (!got || ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
    close(fd);
    GTEST_SKIP() << "this file system or user cannot make a file immutable";
  }
  SyncTree(*MakeRun(Ns("p")), "E:\\Sync\\Alpha", Ns("p"));
  flags &= ~FS_IMMUTABLE_FL;
  ioctl(fd, FS_IOC_SETFLAGS, &flags);
  close(fd);
  EXPECT_TRUE(HostExists(file));
  EXPECT_EQ(counters_.free_space, 1000);
}

TEST_F(SyncTest, LinksSpecialFilesAndUnwritableNamesAreReportedNotFollowed) {
  window_.auto_delete = true;
  WriteDated(Stick("Sync/Alpha/a.txt"), 10, DaysAgo(1));
  fs::create_directory_symlink(".", Stick("Sync/Alpha/loop"));
  WriteDated(Host("elsewhere/old.txt"), 10, DaysAgo(30));
  fs::create_directory_symlink(Host("elsewhere"), Stick("Sync/Alpha/outside"));
  ASSERT_EQ(mkfifo(Stick("Sync/Alpha/pipe").c_str(), 0600), 0);
  WriteDated(Stick("Sync/Alpha/back\\slash.txt"), 10, DaysAgo(1));
  // A folder of the project that is a link: Load writes nothing behind it.
  WriteDated(Stick("Sync/Alpha/shared/config.txt"), 10, DaysAgo(1));
  WriteDated(Host("elsewhere/config.txt"), 5, DaysAgo(3));
  fs::create_directory(Host("p"));
  fs::create_directory_symlink(Host("elsewhere"), Host("p/shared"));
  auto run = MakeRun(Ns("p"));

  SyncTree(*run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(window_.log, std::vector<std::string>{"a.txt"});
  EXPECT_TRUE(HostExists(Host("elsewhere/old.txt"))) << "auto-delete never reaches through a link";
  EXPECT_EQ(HostSize(Host("elsewhere/config.txt")), 5) << "nor does a copy";
  EXPECT_FALSE(HostExists(Host("p/pipe")));
  EXPECT_EQ(run->outcome.skipped_count, 5);
  const std::string listed = [&] {
    std::string all;
    for (const std::string& name : run->outcome.skipped_names) all += name + "|";
    return all;
  }();
  for (const char* name : {"loop", "outside", "pipe", "back\\slash.txt", "p\\shared: reached"}) {
    EXPECT_NE(listed.find(name), std::string::npos) << name << " in " << listed;
  }
}

}  // namespace
}  // namespace pellmar
