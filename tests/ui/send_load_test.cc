// Send and Load through the window: the report, the status bar, the chkZip
// branches, what each command stores, the refusals that touch nothing and a
// failed copy that saves at once.
#include "core/send_load.h"

#include <filesystem>

#include "support/window_fixture.h"

namespace pellmar {
namespace {

class SendLoadTest : public WindowTest {
 protected:
  // One entry for Documents\Alpha kept in E:\Sync, selected.
  TMain& StartSelected() {
    WriteProjects({"Alpha"});
    TMain& w = StartWindow();
    w.ListBox1.UserSelect(0);
    EXPECT_TRUE(w.btnSend.enabled());
    dialogs_.Clear();
    return w;
  }
};

TEST_F(SendLoadTest, SendReportsTheCopiesThenFindsNothingNew) {
  WriteText(Documents("Alpha/main.c"), "int main;");
  WriteText(Documents("Alpha/src/util.c"), "util");
  WriteText(Documents("Alpha/setup.ini"), "excluded");
  TMain& w = StartSelected();

  w.btnSend.Click();
  EXPECT_EQ(ReadText(Stick("Sync/Alpha/src/util.c")), "util");
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync/Alpha/setup.ini")));
  EXPECT_EQ(host_.modal_shows, 1);
  EXPECT_EQ(log_->Title.caption(), "The following 2 files have been copyed.");
  EXPECT_THAT(log_->Memo.lines(), ::testing::UnorderedElementsAre("main.c", "util.c"));
  EXPECT_THAT(w.StatusBar1.panel_text(0), StartsWith("Available disk size:"));
  EXPECT_EQ(w.StatusBar1.panel_text(1), "");
  EXPECT_THAT(dialogs_.messages, IsEmpty());
  EXPECT_TRUE(w.last_run().Complete());

  w.btnSend.Click();
  EXPECT_EQ(host_.modal_shows, 1);
  EXPECT_THAT(log_->Memo.lines(), IsEmpty());
  EXPECT_THAT(dialogs_.messages, ElementsAre("No new files"));
}

// Both copies edited since the run that saw them alike: the newer still
// wins, the older goes to the trash, and the log and the outcome say so;
// a copy edited on one side only is no conflict.
TEST_F(SendLoadTest, AFileChangedOnBothSidesIsNamedAndItsOlderCopyKept) {
  WriteText(Documents("Alpha/both.txt"), "first");
  WriteText(Documents("Alpha/there.txt"), "first");
  SetLocalWriteTime(Documents("Alpha/there.txt"), DaysAgo(0.02));  // beyond the 2-second step
  TMain& w = StartSelected();
  w.btnSend.Click();
  WriteText(Stick("Sync/Alpha/both.txt"), "edited on the disk");
  SetLocalWriteTime(Stick("Sync/Alpha/both.txt"), DaysAgo(0.01));
  WriteText(Documents("Alpha/both.txt"), "edited here, later");
  WriteText(Stick("Sync/Alpha/there.txt"), "edited on the disk alone");

  w.btnSend.Click();
  ASSERT_EQ(log_->Memo.lines().size(), 2u) << "the line, and where the trash is";
  EXPECT_THAT(log_->Memo.lines()[0], StartsWith("both.txt: changed on both sides since "));
  EXPECT_THAT(log_->Memo.lines()[0], ::testing::EndsWith("; the older copy is in the trash"));
  EXPECT_EQ(w.last_run().conflict_count, 1);
  EXPECT_EQ(w.last_run().kept_in_trash, 1);
  EXPECT_EQ(ReadText(Stick("Sync/Alpha/both.txt")), "edited here, later");

  w.btnLoad.Click();
  ASSERT_FALSE(log_->Memo.lines().empty());
  EXPECT_EQ(log_->Memo.lines()[0], "there.txt");
  EXPECT_EQ(w.last_run().conflict_count, 0);
}

TEST_F(SendLoadTest, OnlySendStoresATypedRemovableFolder) {
  WriteText(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected();
  MakeFolder(Stick("Other"));
  w.edMediaDir.UserEdit("E:\\Other");
  w.btnLoad.Click();
  EXPECT_EQ(w.entries().slot(1).removable_folder, "E:\\Sync");
  // A folder that is not there is named, not taken for an empty one.
  EXPECT_THAT(dialogs_.messages,
              ElementsAre(HasSubstr("E:\\Other\\Alpha: could not be read"), w.messages().Msg(13)));
  w.btnSend.Click();
  EXPECT_EQ(w.entries().slot(1).removable_folder, "E:\\Other");
  EXPECT_EQ(ReadText(Stick("Other/Alpha/main.c")), "x");
}

TEST_F(SendLoadTest, UseZipCopiesNothing) {
  WriteText(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected();
  w.chkZip.SetChecked(true);  // stored in the entry, as a ticked box is
  w.StatusBar1.SetPanelText(0, "before");
  w.btnLoad.Click();
  EXPECT_EQ(w.StatusBar1.panel_text(0), "before") << "Load leaves the status bar";
  w.btnSend.Click();
  EXPECT_THAT(w.StatusBar1.panel_text(0), StartsWith("Available disk size:"))
      << "Send refreshes the disk status";
  EXPECT_THAT(dialogs_.messages, ElementsAre(w.messages().Msg(13), "No new files"));
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync/Alpha")));
  EXPECT_EQ(host_.modal_shows, 0);
}

TEST_F(SendLoadTest, RefusedRunsTouchNothing) {
  WriteText(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected();
  const struct {
    const char* what;
    std::function<void()> arrange;
    std::string message;
  } cases[] = {
      {"nothing selected", [&] { w.ListBox1.SetItemIndex(-1); }, NothingSelectedText(w.messages())},
      {"removable folder inside the project",
       [&] {
         w.ListBox1.UserSelect(0);
         w.edMediaDir.UserEdit(Ns(Documents("Alpha")) + "\\Backup");
       },
       "lie one inside the other"},
      {"removable folder text in the project path",
       [&] { w.edMediaDir.UserEdit(Ns(Documents(""))); }, "occurs in the path"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    dialogs_.Clear();
    w.btnSendClick();
    w.btnLoadClick();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_THAT(dialogs_.messages[0], HasSubstr(c.message));
    EXPECT_TRUE(w.last_run().run_refused);
    EXPECT_EQ(host_.modal_shows, 0);
  }
  EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(Documents("Alpha")),
                          std::filesystem::recursive_directory_iterator()),
            1);
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync/Alpha")));
}

TEST_F(SendLoadTest, DotStepsAreTakenOnReadAndAProjectWithoutANameIsNeverRun) {
  WriteText(Documents("Work/Beta/b.c"), "b");
  WriteText(Stick("Sync/Other/kept.c"), "another project's copy");
  ns_.InsertDrive('F');
  WriteText(ns_.drive('F', "f.c"), "f");
  const std::string beta = Ns(Documents("Work/Beta"));
  ns_.WriteSettings("[Setting]\nSyncItem1=" + beta + "\\.\nPath in mobile disk1=E:\\Sync\\.\n" +
                    "SyncItem2=" + beta + "\\..\nSyncItem3=F:\\\nPath in mobile disk3=E:\\Sync\n" +
                    "UseZip3=0\nAutoDelete3=1\nDuration3=1\n");
  TMain& w = StartWindow();
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("Beta", "Work", ""));
  EXPECT_EQ(w.entries().slot(1).removable_folder, "E:\\Sync");

  w.ListBox1.UserSelect(2);
  dialogs_.Clear();
  w.btnSendClick();
  w.btnLoadClick();
  const std::string refusal = FillIn(w.messages().Msg(kProjectNameUnusable), {"F:\\"}) + "\r\n" +
                              w.messages().Msg(kNothingTouched);
  EXPECT_THAT(dialogs_.messages, ElementsAre(refusal, refusal));
  EXPECT_TRUE(w.last_run().run_refused);
  EXPECT_EQ(HostNames(Stick("Sync")), std::vector<std::string>{"Other"});
  EXPECT_EQ(HostNames(ns_.drive('F')), std::vector<std::string>{"f.c"});
}

TEST_F(SendLoadTest, FailedCopySavesAtOnceAndEndsTheProgram) {
  WriteText(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected();
  WriteText(Stick("Sync/Alpha"), "a file where the folder belongs");
  w.btnSend.Click();
  EXPECT_THAT(dialogs_.messages, ElementsAre(StartsWith(w.messages().Msg(14) + "\r\n")));
  // The title counts what was copied; the failed file is in the log with why.
  EXPECT_EQ(log_->Title.caption(), "The following 0 files have been copyed.");
  EXPECT_THAT(log_->Memo.lines(), ElementsAre(StartsWith("main.c  -- NOT copied: ")));
  EXPECT_TRUE(w.quit_requested());
  EXPECT_THAT(ReadText(ns_.settings_file()), HasSubstr("Path in mobile disk1=E:\\Sync"));
  EXPECT_FALSE(w.last_run().Complete());
}

}  // namespace
}  // namespace pellmar
