// CopyIfNewer on real files: the time test, the space accounting in both
// directions, refusals and failures (entries that are no regular file and a
// disk that fills: copy_if_newer_posix_test.cc).
#include "core/copy_if_newer.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "platform/dos_time.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

constexpr int64_t kNoTarget = -1;
constexpr int64_t kGiB = int64_t{1} << 30;

TEST_F(SyncTest, CopyIfNewerChargesTheRemovableDiskAndRefusesWhenFull) {
  using enum CopyOutcome;
  const struct {
    const char* what;
    bool load;  // the source lies on the removable disk
    const char* media_dir;
    int64_t counter, source_size, target_size;  // kNoTarget: no old copy
    bool target_newer;
    CopyOutcome outcome;
    int64_t counter_after;
    bool keep_replaced = false;
  } cases[] = {
      {"Send 3,000 over 1,200", false, "E:\\Sync", 5000, 3000, 1200, false, kCopied, 3200},
      // The stick's trash keeps the old copy, and its space with it.
      {"Send over a copy the trash keeps", false, "E:\\Sync", 5000, 3000, 1200, false, kCopied,
       2000, true},
      {"Send 7,000 over 1,200", false, "E:\\Sync", 5000, 7000, 1200, false, kRefused, 5000},
      {"Send all that is left", false, "E:\\Sync", 3000, 3000, kNoTarget, false, kRefused, 3000},
      {"Send one byte less", false, "E:\\Sync", 3001, 3000, kNoTarget, false, kCopied, 1},
      {"Send over a larger target", false, "E:\\Sync", 5000, 1000, 4000, false, kCopied, 8000},
      {"Send onto a newer target", false, "E:\\Sync", 5000, 3000, 1200, true, kUpToDate, 5000},
      {"Load is not charged", true, "E:\\Sync", 5000, 3000, 1200, false, kCopied, 5000},
      {"Load with counter 0", true, "E:\\Sync", 0, 3000, kNoTarget, false, kRefused, 0},
      {"Load onto a newer target", true, "E:\\Sync", 5000, 3000, 1200, true, kUpToDate, 5000},
      {"Load, no edMediaDir: charged", true, "", 5000, 3000, kNoTarget, false, kCopied, 2000},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = "case" + std::to_string(++n);
    const std::string source = c.load ? Stick("Sync/" + dir) : Host(dir);
    const std::string target = c.load ? Host("hd/" + dir) : Stick("Sync/Alpha/" + dir);
    WriteDated(source + "/main.c", c.source_size, DaysAgo(1));
    if (c.target_size != kNoTarget) {
      WriteDated(target + "/main.c", c.target_size, c.target_newer ? DaysAgo(0.5) : DaysAgo(2));
    }
    window_ = RecordingWindow();
    window_.media_dir = c.media_dir;
    window_.keep_replaced = c.keep_replaced;
    counters_ = RunCounters{c.counter, 0};

    EXPECT_EQ(CopyIfNewer(*MakeRun(Ns("project")), ns_.Ns(source + "/main.c"), ns_.Ns(target)),
              c.outcome);
    EXPECT_EQ(counters_.free_space, c.counter_after);
    const bool copied = c.outcome == CopyOutcome::kCopied;
    EXPECT_EQ(HostSize(target + "/main.c"), copied ? c.source_size : c.target_size);
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

TEST(DecideCopyTest, AnHourApartAndAlikeIsOneVersionShiftedByDaylightSaving) {
  using enum CopyDecision;
  const int64_t noon = ToLocalSeconds(LocalDateTime{2026, 3, 29, 12, 0, 0, 0});
  const auto facts = [](int64_t seconds, int64_t size) {
    FileFacts f;
    f.attributes = kAttrArchive;
    f.dos_time = PackDosTime(FromLocalSeconds(seconds));
    f.size = size;
    return f;
  };
  const struct {
    int64_t source_later_by;  // seconds
    int64_t target_size;      // the source has 100 bytes
    bool ignore;
    CopyDecision decision;
  } cases[] = {
      {3598, 100, true, kUpToDate}, {3600, 100, true, kUpToDate},  {3602, 100, true, kUpToDate},
      {3604, 100, true, kCopy},     {3596, 100, true, kCopy},      {3600, 99, true, kCopy},
      {3600, 100, false, kCopy},    {-3600, 100, true, kUpToDate}, {2, 100, true, kCopy},
  };
  for (const auto& c : cases) {
    const FileFacts source = facts(noon + c.source_later_by, 100);
    EXPECT_EQ(DecideCopy(source, facts(noon, c.target_size), c.ignore), c.decision)
        << c.source_later_by << " s, target " << c.target_size << ", ignore " << c.ignore;
  }
}

TEST_F(SyncTest, ASendLeavesACopyAnHourOffAloneUnlessTold) {
  for (const bool ignore : {true, false}) {
    const std::string dir = ignore ? "on" : "off";
    WriteDated(Host(dir + "/a.txt"), 100, MidnightPlus(0, 13 * 3600));
    WriteDated(Stick("Sync/Alpha/" + dir + "/a.txt"), 100, MidnightPlus(0, 12 * 3600));
    window_.ignore_hour_shift = ignore;
    EXPECT_EQ(CopyIfNewer(*MakeRun(Ns("p")), Ns(dir + "/a.txt"), "E:\\Sync\\Alpha\\" + dir),
              ignore ? CopyOutcome::kUpToDate : CopyOutcome::kCopied);
  }
}

TEST_F(SyncTest, CopyIfNewerOrdersDatesAlongTheCalendarPast2043) {
  const struct {
    int source_year, target_year;  // 0: no target
    bool copied;
  } cases[] = {{2050, 0, true},
               {2050, 2040, true},
               {2040, 2050, false},
               {2107, 2106, true},
               {1975, 0, true}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.source_year) + " over " + std::to_string(c.target_year));
    const std::string dir = "years" + std::to_string(++n);
    WriteDated(Host(dir + "/a.txt"), 10, {c.source_year, 6, 1, 12});
    if (c.target_year) WriteDated(Stick(dir + "/a.txt"), 20, {c.target_year, 6, 1, 12});
    EXPECT_EQ(CopyIfNewer(*MakeRun(Ns(dir)), Ns(dir + "/a.txt"), "E:\\" + dir),
              c.copied ? CopyOutcome::kCopied : CopyOutcome::kUpToDate);
    EXPECT_EQ(HostSize(Stick(dir + "/a.txt")), c.copied ? 10 : 20);
  }
}

TEST_F(SyncTest, FailedCopyIsLoggedCountedAndAsksToClose) {
  WriteDated(Host("p/a.txt"), 100, DaysAgo(1));
  WriteDated(Stick("blocked"), 5, DaysAgo(2));  // a file where the target folder belongs
  auto run = MakeRun(Ns("p"));
  EXPECT_EQ(CopyIfNewer(*run, Ns("p/a.txt"), "E:\\blocked"), CopyOutcome::kFailed);
  ASSERT_EQ(window_.shown.size(), 1u);
  // Msg14 first, then the system's reason, in its own words: here no disk
  // is full at all, a file stands where the folder belongs.
  EXPECT_THAT(window_.shown[0], ::testing::StartsWith(window_.messages.Msg(14) + "\r\n"));
  const auto no_folder = ::testing::AnyOf(::testing::HasSubstr("blocked: Not a directory"),
                                          ::testing::HasSubstr("blocked: not a folder"));
  EXPECT_THAT(window_.shown[0], no_folder);
  EXPECT_EQ(window_.close_requests, 1);
  // The log marks the file with the reason; it was tried, but not copied.
  EXPECT_THAT(window_.log, ::testing::ElementsAre(::testing::AllOf(
                               ::testing::StartsWith("a.txt  -- NOT copied: "), no_folder)));
  EXPECT_EQ(counters_.copy_count, 1);
  EXPECT_EQ(run->CopiesDone(), 0);
  EXPECT_EQ(counters_.free_space, 1000) << "nothing was written, so nothing stays charged";
  EXPECT_EQ(HostSize(Stick("blocked")), 5);
  EXPECT_EQ(run->outcome.copies_failed, 1);
}

TEST_F(SyncTest, SizesBeyondFourGibibytesAreChargedInFull) {
  WriteDated(Host("p/big.bin"), 0, DaysAgo(1));
  std::filesystem::resize_file(Host("p/big.bin"), 5 * kGiB);  // sparse
  SetLocalWriteTime(Host("p/big.bin"), DaysAgo(1));
  counters_ = RunCounters{5 * kGiB, 0};
  EXPECT_EQ(CopyIfNewer(*MakeRun(Ns("p")), Ns("p/big.bin"), "E:\\big"), CopyOutcome::kRefused);
  EXPECT_EQ(counters_.free_space, 5 * kGiB);
}

// Labelled `slow` in CMakeLists.txt: the kernel writes every byte of the
// copy, the source's holes included. The few data bytes sit where a 32-bit
// size or offset would go wrong.
TEST_F(SyncTest, FileAboveFourGibibytesIsCopiedWhole) {
  if (std::filesystem::space(Host("")).available < 10 * kGiB) {
    GTEST_SKIP() << "a copy of 4 GiB needs more free space than this file system has";
  }
  const int64_t size = 4 * kGiB + 4096;
  const std::pair<int64_t, char> samples[] = {
      {0, 'a'}, {2 * kGiB + 1, 'b'}, {4 * kGiB + 2, 'c'}, {size - 1, 'd'}};
  WriteDated(Host("p/big.bin"), 0, DaysAgo(1));
  std::filesystem::resize_file(Host("p/big.bin"), size);  // sparse
  {
    std::fstream file(Host("p/big.bin"), std::ios::in | std::ios::out | std::ios::binary);
    for (const auto& [offset, byte] : samples) file.seekp(offset).put(byte);
  }
  SetLocalWriteTime(Host("p/big.bin"), DaysAgo(1));

  counters_ = RunCounters{size + 4 * kGiB + 1, 0};
  EXPECT_EQ(CopyIfNewer(*MakeRun(Ns("p")), Ns("p/big.bin"), "E:\\big"), CopyOutcome::kCopied);
  EXPECT_EQ(counters_.free_space, 4 * kGiB + 1);
  EXPECT_EQ(HostSize(Stick("big/big.bin")), size);
  std::ifstream copy(Stick("big/big.bin"), std::ios::binary);
  for (const auto& [offset, byte] : samples) {
    EXPECT_EQ(copy.seekg(offset).get(), byte) << "at offset " << offset;
  }
}

}  // namespace
}  // namespace pellmar
