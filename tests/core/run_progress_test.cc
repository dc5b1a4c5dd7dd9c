// The progress a run shows: its fraction and time left, which must not be
// fooled by many small files or one big one, and its pace of showing.
#include "core/run_progress.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/sync_fixture.h"

namespace pellmar {
namespace {

constexpr int64_t kMB = 1'000'000;

TEST(RunProgressTest, FractionTimeLeftAndText) {
  const struct {
    ProgressState state;
    int permille;
    std::string text;
  } cases[] = {
      // Too early to tell the time left.
      {{0, 10, 0, 10 * kMB, 0}, 0, "0 of 10 files, 0.0 of 10.0 MB"},
      {{5, 10, 5 * kMB, 10 * kMB, 900}, 500, "5 of 10 files, 5.0 of 10.0 MB"},
      // Half of everything in 10 s: as much again.
      {{5, 10, 5 * kMB, 10 * kMB, 10'000}, 500, "5 of 10 files, 5.0 of 10.0 MB, about 10 s left"},
      // Half the files but only the small ones: the big one is still to come.
      {{500, 1000, 0, 100 * kMB, 30'000},
       197,
       "500 of 1000 files, 0.0 of 100.0 MB, about 3 min left"},
      // One big file done, a thousand small ones left: they take time too.
      {{1, 1001, 100 * kMB, 100 * kMB, 30'000},
       604,
       "1 of 1001 files, 100.0 of 100.0 MB, about 20 s left"},
      {{3, 3, 3000, 3000, 2'000}, 1000, "3 of 3 files, 0.0 of 0.0 MB, about 0 s left"},
      // A file saved during the run: more than planned is never past the end.
      {{4, 3, 4000, 3000, 2'000}, 1000, "4 of 4 files, 0.0 of 0.0 MB, about 0 s left"},
      {{10, 100, 10 * kMB, 100 * kMB, 3'600'000},
       100,
       "10 of 100 files, 10.0 of 100.0 MB, about 9 h 0 min left"},
  };
  RecordingWindow texts;
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressPermille(c.state), c.permille) << c.text;
    EXPECT_EQ(ProgressText(c.state, texts), c.text);
  }
}

TEST(RunProgressTest, ShowsAtMostTenTimesASecondAndAlwaysTheLastFile) {
  struct Window : RecordingWindow {
    std::vector<std::string> shown;
    void ShowProgress(int, const std::string& text) override { shown.push_back(text); }
  } window;
  int64_t now = 0;
  RunProgress progress(window, 4, 4000, [&] { return now; });
  progress.Show();
  for (int64_t at : {10, 50, 150, 160}) {
    now = at;
    progress.CopyEnded(1000);
  }
  EXPECT_EQ(window.shown,
            (std::vector<std::string>{"0 of 4 files, 0.0 of 0.0 MB", "3 of 4 files, 0.0 of 0.0 MB",
                                      "4 of 4 files, 0.0 of 0.0 MB"}));
}

}  // namespace
}  // namespace pellmar
