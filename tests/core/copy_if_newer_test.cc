// CopyIfNewer on real files: the time test, the space accounting in both
// directions, refusals, failures and entries that are no regular file.
#include "core/copy_if_newer.h"

#include <sys/stat.h>

#include <filesystem>

#include "sync_test_util.h"

namespace pellmar {
namespace {

constexpr int64_t kNoTarget = -1;
constexpr int64_t kGiB = int64_t{1} << 30;

struct SpaceCase {
  const char* what;
  bool from_stick;  // Load direction: the source lies on the removable disk
  const char* media_dir;
  int64_t counter;
  int64_t source_size;
  int64_t target_size;  // kNoTarget: no old copy
  bool target_newer;
  CopyOutcome outcome;
  int64_t counter_after;
};

TEST_F(SyncTest, CopyIfNewerChargesTheRemovableDiskAndRefusesWhenFull) {
  const SpaceCase cases[] = {
      {"Send 3,000 over 1,200", false, "E:\\Sync", 5000, 3000, 1200, false, CopyOutcome::kCopied,
       3200},
      {"Send 7,000 over 1,200", false, "E:\\Sync", 5000, 7000, 1200, false, CopyOutcome::kRefused,
       5000},
      {"Send exactly the space left", false, "E:\\Sync", 3000, 3000, kNoTarget, false,
       CopyOutcome::kRefused, 3000},
      {"Send one byte less", false, "E:\\Sync", 3001, 3000, kNoTarget, false, CopyOutcome::kCopied,
       1},
      {"Send over a larger target", false, "E:\\Sync", 5000, 1000, 4000, false,
       CopyOutcome::kCopied, 8000},
      {"Send onto a newer target", false, "E:\\Sync", 5000, 3000, 1200, true,
       CopyOutcome::kUpToDate, 5000},
      {"Load is not charged", true, "E:\\Sync", 5000, 3000, 1200, false, CopyOutcome::kCopied,
       5000},
      {"Load with counter 0", true, "E:\\Sync", 0, 3000, kNoTarget, false, CopyOutcome::kRefused,
       0},
      {"Load onto a newer target", true, "E:\\Sync", 5000, 3000, 1200, true, CopyOutcome::kUpToDate,
       5000},
      {"Load with empty edMediaDir is charged", true, "", 5000, 3000, kNoTarget, false,
       CopyOutcome::kCopied, 2000},
  };
  int n = 0;
  for (const SpaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = "case" + std::to_string(++n);
    const std::string source =
        c.from_stick ? StickHost("Sync/" + dir + "/main.c") : Host(dir + "/main.c");
    const std::string source_ns =
        c.from_stick ? StickNs("Sync\\" + dir + "\\main.c") : Ns(dir + "/main.c");
    const std::string target_dir =
        c.from_stick ? Host("hd/" + dir) : StickHost("Sync/Alpha/" + dir);
    const std::string target_ns = c.from_stick ? Ns("hd/" + dir) : StickNs("Sync\\Alpha\\" + dir);
    WriteFile(source, c.source_size, DaysAgo(1));
    if (c.target_size != kNoTarget) {
      WriteFile(target_dir + "/main.c", c.target_size, c.target_newer ? DaysAgo(0.5) : DaysAgo(2));
    }
    window_ = RecordingWindow();
    window_.media_dir = c.media_dir;
    counters_ = RunCounters{c.counter, 0};
    auto run = MakeRun(Ns("project"));

    EXPECT_EQ(CopyIfNewer(*run, source_ns, target_ns), c.outcome);
    EXPECT_EQ(counters_.free_space, c.counter_after);
    const bool copied = c.outcome == CopyOutcome::kCopied;
    const int64_t old_size = c.target_size == kNoTarget ? -1 : c.target_size;
    EXPECT_EQ(SizeOf(target_dir + "/main.c"), copied ? c.source_size : old_size);
    EXPECT_EQ(window_.log,
              copied ? std::vector<std::string>{"main.c"} : std::vector<std::string>{});
    EXPECT_EQ(counters_.copy_count, copied ? 1 : 0);
    const bool refused = c.outcome == CopyOutcome::kRefused;
    EXPECT_EQ(window_.shown, refused ? std::vector<std::string>{"Not enough disc size!"}
                                     : std::vector<std::string>{});
    if (copied) {
      EXPECT_EQ(window_.status_at_repaint, std::vector<std::string>{"1: main.c"});
    }
    EXPECT_EQ(window_.copy_status, "");
  }
}

TEST_F(SyncTest, CopyIfNewerOrdersDatesAlongTheCalendarPast2043) {
  struct Case {
    int source_year, target_year;  // 0: no target
    bool copied;
  } cases[] = {{2050, 0, true},
               {2050, 2040, true},
               {2040, 2050, false},
               {2107, 2106, true},
               {1975, 0, true}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.source_year) + " over " + std::to_string(c.target_year));
    const std::string dir = "years" + std::to_string(++n);
    WriteFile(Host(dir + "/a.txt"), 10, At(c.source_year, 6, 1));
    if (c.target_year) WriteFile(StickHost(dir + "/a.txt"), 20, At(c.target_year, 6, 1));
    counters_ = RunCounters{1000, 0};
    auto run = MakeRun(Ns(dir));
    const CopyOutcome outcome = CopyIfNewer(*run, Ns(dir + "/a.txt"), StickNs(dir));
    EXPECT_EQ(outcome, c.copied ? CopyOutcome::kCopied : CopyOutcome::kUpToDate);
    EXPECT_EQ(SizeOf(StickHost(dir + "/a.txt")), c.copied ? 10 : 20);
  }
}

TEST_F(SyncTest, FailedCopyIsLoggedCountedAndAsksToClose) {
  WriteFile(Host("p/a.txt"), 100, DaysAgo(1));
  WriteFile(StickHost("blocked"), 5, DaysAgo(2));  // a file where the target folder belongs
  counters_ = RunCounters{1000, 0};
  auto run = MakeRun(Ns("p"));
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/a.txt"), StickNs("blocked")), CopyOutcome::kFailed);
  EXPECT_EQ(window_.shown, std::vector<std::string>{window_.messages.Msg(14)});
  EXPECT_EQ(window_.close_requests, 1);
  EXPECT_EQ(window_.log, std::vector<std::string>{"a.txt"});
  EXPECT_EQ(counters_.copy_count, 1);
  EXPECT_EQ(counters_.free_space, 1000) << "nothing was written, so nothing stays charged";
  EXPECT_EQ(SizeOf(StickHost("blocked")), 5);
  EXPECT_EQ(run->outcome.copies_failed, 1);
}

TEST_F(SyncTest, GoneSourceAndFifoTargetAreLeftAlone) {
  counters_ = RunCounters{1000, 0};
  auto run = MakeRun(Ns("p"));
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/gone.txt"), StickNs("t")), CopyOutcome::kSourceGone);

  WriteFile(Host("p/pipe"), 10, DaysAgo(1));
  std::filesystem::create_directories(StickHost("t"));
  ASSERT_EQ(mkfifo(StickHost("t/pipe").c_str(), 0600), 0);
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/pipe"), StickNs("t")), CopyOutcome::kNotRegular);
  EXPECT_TRUE(std::filesystem::is_fifo(StickHost("t/pipe"))) << "the FIFO is never replaced";
  EXPECT_EQ(run->outcome.skipped_count, 1);
  EXPECT_TRUE(window_.log.empty());
  EXPECT_EQ(counters_.copy_count, 0);
}

TEST_F(SyncTest, SizesOfThreeGibibytesAreChargedInFull) {
  WriteFile(Host("p/big.bin"), 0, DaysAgo(1));
  std::filesystem::resize_file(Host("p/big.bin"), 3 * kGiB);  // sparse
  SetWriteTime(Host("p/big.bin"), DaysAgo(1));

  counters_ = RunCounters{3 * kGiB, 0};
  auto run = MakeRun(Ns("p"));
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/big.bin"), StickNs("big")), CopyOutcome::kRefused);
  EXPECT_EQ(counters_.free_space, 3 * kGiB);

  if (std::filesystem::space(Host("")).available < 8 * kGiB) {
    GTEST_SKIP() << "the copy of 3 GiB needs more free space than this file system has";
  }
  counters_.free_space = 3 * kGiB + 1;
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/big.bin"), StickNs("big")), CopyOutcome::kCopied);
  EXPECT_EQ(counters_.free_space, 1);
  EXPECT_EQ(SizeOf(StickHost("big/big.bin")), 3 * kGiB);
}

}  // namespace
}  // namespace pellmar
