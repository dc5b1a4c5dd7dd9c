// The log window's operations as Send and Load use them, through a host.
#include "ui/log_viewer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "window_fixture_util.h"

namespace pellmar {
namespace {

using ::testing::ElementsAre;

TEST(LogViewerTest, ShowsModallyAndClosesOnlyWhenShowing) {
  TLogViewer log;
  HeadlessHost host;
  log.SetHost(&host);
  EXPECT_THAT(log.Memo.lines(), ElementsAre("Memo"));
  EXPECT_EQ(log.Title.caption(), "Copying ..");

  log.Clear();
  log.Append("a.txt");
  log.Append("a.txt");
  log.SetTitle("The following 2 files have been copyed.");
  EXPECT_EQ(log.Title.width(), 433) << "a fixed-size title";
  log.Close();  // not on screen: the host is not bothered
  EXPECT_EQ(host.hides, 0);

  bool showing_inside = false;
  host.while_modal = [&](TLogViewer& shown) {
    showing_inside = shown.Showing();
    shown.btnOK.Click();  // the user presses OK
  };
  log.ShowModally();
  EXPECT_TRUE(showing_inside);
  EXPECT_EQ(host.hides, 1);
  EXPECT_FALSE(log.Showing());
  EXPECT_THAT(log.Memo.lines(), ElementsAre("a.txt", "a.txt"));
}

}  // namespace
}  // namespace pellmar
