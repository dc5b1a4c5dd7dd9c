// CopyIfNewer and what only POSIX hosts give a test: a FIFO where a copy
// would go, and a small tmpfs that a replacement fills.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/copy_if_newer.h"
#include "core/messages.h"
#include "core/sync_tree.h"
#include "support/tiny_tmpfs.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

TEST_F(SyncTest, GoneSourceAndFifoTargetAreLeftAlone) {
  auto run = MakeRun(Ns("p"));
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/gone.txt"), "E:\\t"), CopyOutcome::kSourceGone);

  WriteDated(Host("p/pipe"), 10, DaysAgo(1));
  MakeFolder(Stick("t"));
  ASSERT_EQ(mkfifo(Stick("t/pipe").c_str(), 0600), 0);
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/pipe"), "E:\\t"), CopyOutcome::kNotRegular);
  EXPECT_TRUE(std::filesystem::is_fifo(Stick("t/pipe"))) << "the FIFO is never replaced";
  EXPECT_EQ(run->outcome.skipped_count, 1);
  EXPECT_TRUE(window_.log.empty());
  EXPECT_EQ(counters_.copy_count, 0);
}

// The new copy is written beside the old one, so a replacement that fits
// only once the old copy is gone is a lack of space: refused, old copy kept.
TEST_F(SyncTest, AReplacementThatNeedsTheOldCopysRoomIsRefused) {
  MakeFolder(Stick("Sync"));
  TinyTmpfs tmpfs(Stick("Sync"), 1 << 20);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  WriteDated(Stick("Sync/Alpha/big.bin"), 700 << 10, DaysAgo(3));
  WriteDated(Host("p/big.bin"), 700 << 10, DaysAgo(1));
  counters_.free_space = 300 << 10;
  auto run = MakeRun(Ns("p"));
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/big.bin"), "E:\\Sync\\Alpha"), CopyOutcome::kRefused);
  EXPECT_THAT(window_.shown, ::testing::ElementsAre("Not enough disc size!"));
  EXPECT_EQ(window_.close_requests, 0);
  EXPECT_EQ(counters_.free_space, 300 << 10);
  EXPECT_EQ(HostNames(Stick("Sync/Alpha")), std::vector<std::string>{"big.bin"});
}

// A disk that fills up says so once; the files after are logged as not
// copied without being tried, and the run tells how many made it.
TEST_F(SyncTest, AFullDiskIsToldOnceAndNoFileIsTriedAfter) {
  MakeFolder(Stick("Sync"));
  TinyTmpfs tmpfs(Stick("Sync"), 1 << 20);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  for (int i = 0; i < 20; ++i)
    WriteDated(Host("p/f" + std::to_string(i) + ".bin"), 100'000, DaysAgo(1));
  counters_.free_space = int64_t{1} << 40;  // the count believes there is room
  auto run = MakeRun(Ns("p"));
  SyncTree(*run, Ns("p"), "E:\\Sync\\Alpha");
  const int copied = run->CopiesDone();
  EXPECT_THAT(window_.shown, ::testing::ElementsAre(FillIn(window_.messages.Msg(kDiskFull),
                                                           {std::to_string(copied)})));
  EXPECT_EQ(static_cast<int>(HostNames(Stick("Sync/Alpha")).size()), copied);
  EXPECT_EQ(run->outcome.copies_failed, 20 - copied);
  EXPECT_TRUE(run->outcome.disk_full);
  EXPECT_EQ(window_.close_requests, 0);
}

}  // namespace
}  // namespace pellmar
