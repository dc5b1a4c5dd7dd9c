// The progress line of a terminal: never wider than the terminal, so that
// redrawing it in place never leaves a wrapped half behind; and erased
// before the run's own lines are printed above it.
#include "app/run_display.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pellmar {
namespace {

TEST(RunDisplayTest, TheLineFitsTheTerminal) {
  const struct {
    const char* text;
    int columns;
    const char* shown;
  } cases[] = {
      {"12 of 40 files", 0, "12 of 40 files"},  // width unknown
      {"12 of 40 files", 15, "12 of 40 files"},
      {"12 of 40 files", 8, "12 of 4"},
      {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 6, "\xE6\x97\xA5\xE6\x9C\xAC"},  // two wide each
      {"\xC3\xA9t\xC3\xA9", 3, "\xC3\xA9t"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitToColumns(c.text, c.columns), c.shown) << c.text << " in " << c.columns;
  }
}

TEST(RunDisplayTest, RunLinesGoAboveTheProgressLineWhichIsErasedFirst) {
  std::ostringstream out, err;
  MemoField log("Memo", 0, 0, 0, 0, 0);
  int64_t now = 0;
  RunDisplay display(out, err, log, {true, true, 80}, [&] { return now; });
  display.ShowProgress(0, "0 of 2 files");
  log.Append("a.c");
  display.LogChanged(true);
  EXPECT_EQ(out.str(), "") << "a batch a tenth of a second at most";
  now += 100;
  log.Append("b.c");
  display.LogChanged(true);
  EXPECT_EQ(out.str(), "a.c\nb.c\n");
  EXPECT_EQ(err.str(), "\r  0% 0 of 2 files\x1b[K\r\x1b[K\r  0% 0 of 2 files\x1b[K");
  log.Append("kept in the trash: 1");
  display.LogChanged(false);
  display.ShowProgress(-1, "");
  EXPECT_EQ(out.str(), "a.c\nb.c\n") << "a line added after the run is the log window's";
  EXPECT_EQ(display.lines_printed(), 2u);
  EXPECT_TRUE(err.str().ends_with("\r\x1b[K"));
}

}  // namespace
}  // namespace pellmar
