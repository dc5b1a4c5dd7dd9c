// Send and Load through the window: the report, the status bar, the chkZip
// branches, what each command stores, the refusals that touch nothing, a
// failed copy that saves at once, and a round trip of a project kept
// outside the Documents folder.
#include "core/send_load.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "window_fixture_util.h"

namespace pellmar {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class SendLoadTest : public WindowTest {
 protected:
  // One entry for `project` (a host folder) kept in E:\Sync, selected.
  TMain& StartSelected(const std::string& project, const std::string& extra = "UseZip1=0\n") {
    InsertDrive('E');
    MakeFolder(OnE("Sync"));
    WriteEntries({project}, "E:\\Sync", extra);
    TMain& w = StartWindow();
    w.ListBox1.UserSelect(0);
    EXPECT_TRUE(w.btnSend.enabled());
    dialogs_.requests.clear();
    return w;
  }
  std::string OnE(const std::string& below) { return ns_.drive_dir('E') + "/" + below; }
};

TEST_F(SendLoadTest, SendReportsTheCopiesThenFindsNothingNew) {
  WriteFile(Documents("Alpha/main.c"), "int main;");
  WriteFile(Documents("Alpha/src/util.c"), "util");
  WriteFile(Documents("Alpha/setup.ini"), "excluded");
  TMain& w = StartSelected(Documents("Alpha"));

  w.btnSend.Click();
  EXPECT_EQ(ReadFile(OnE("Sync/Alpha/src/util.c")), "util");
  EXPECT_FALSE(std::filesystem::exists(OnE("Sync/Alpha/setup.ini")));
  EXPECT_EQ(host_.modal_shows, 1);
  EXPECT_EQ(log_->Title.caption(), "The following 2 files have been copyed.");
  EXPECT_THAT(log_->Memo.lines(), ::testing::UnorderedElementsAre("main.c", "util.c"));
  EXPECT_THAT(w.StatusBar1.panel_text(0), StartsWith("Available disk size:"));
  EXPECT_EQ(w.StatusBar1.panel_text(1), "");
  EXPECT_THAT(dialogs_.Messages(), IsEmpty());
  EXPECT_TRUE(w.last_run().Complete());

  w.btnSend.Click();
  EXPECT_EQ(host_.modal_shows, 1);
  EXPECT_THAT(log_->Memo.lines(), IsEmpty());
  EXPECT_THAT(dialogs_.Messages(), ElementsAre("No new files"));
}

TEST_F(SendLoadTest, OnlySendStoresATypedRemovableFolder) {
  WriteFile(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected(Documents("Alpha"));
  MakeFolder(OnE("Other"));
  w.edMediaDir.UserEdit("E:\\Other");
  w.btnLoad.Click();
  EXPECT_EQ(w.entries().slot(1).removable_folder, "E:\\Sync");
  EXPECT_THAT(dialogs_.Messages(), ElementsAre(w.messages().Msg(13)));
  w.btnSend.Click();
  EXPECT_EQ(w.entries().slot(1).removable_folder, "E:\\Other");
  EXPECT_EQ(ReadFile(OnE("Other/Alpha/main.c")), "x");
}

TEST_F(SendLoadTest, UseZipCopiesNothing) {
  WriteFile(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected(Documents("Alpha"), "UseZip1=1\n");
  w.StatusBar1.SetPanelText(0, "before");
  w.btnLoad.Click();
  EXPECT_EQ(w.StatusBar1.panel_text(0), "before") << "Load leaves the status bar";
  w.btnSend.Click();
  EXPECT_THAT(w.StatusBar1.panel_text(0), StartsWith("Available disk size:"))
      << "Send refreshes the disk status";
  EXPECT_THAT(dialogs_.Messages(), ElementsAre(w.messages().Msg(13), "No new files"));
  EXPECT_FALSE(std::filesystem::exists(OnE("Sync/Alpha")));
  EXPECT_EQ(host_.modal_shows, 0);
}

TEST_F(SendLoadTest, RefusedRunsTouchNothing) {
  WriteFile(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected(Documents("Alpha"));
  const struct {
    const char* what;
    std::function<void()> arrange;
    std::string message;
  } cases[] = {
      {"nothing selected", [&] { w.ListBox1.SetItemIndex(-1); }, NothingSelectedText()},
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
    dialogs_.requests.clear();
    w.btnSendClick();
    w.btnLoadClick();
    ASSERT_EQ(dialogs_.Messages().size(), 2u);
    EXPECT_THAT(dialogs_.Messages()[0], HasSubstr(c.message));
    EXPECT_TRUE(w.last_run().run_refused);
    EXPECT_EQ(host_.modal_shows, 0);
  }
  EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(Documents("Alpha")),
                          std::filesystem::recursive_directory_iterator()),
            1);
  EXPECT_FALSE(std::filesystem::exists(OnE("Sync/Alpha")));
}

TEST_F(SendLoadTest, FailedCopySavesAtOnceAndEndsTheProgram) {
  WriteFile(Documents("Alpha/main.c"), "x");
  TMain& w = StartSelected(Documents("Alpha"));
  WriteFile(OnE("Sync/Alpha"), "a file where the folder belongs");
  w.btnSend.Click();
  EXPECT_THAT(dialogs_.Messages(), ElementsAre(w.messages().Msg(14)));
  EXPECT_EQ(log_->Title.caption(), "The following 1 files have been copyed.");
  EXPECT_TRUE(w.quit_requested());
  EXPECT_THAT(ReadFile(SettingsFile()), HasSubstr("Path in mobile disk1=E:\\Sync"));
  EXPECT_FALSE(w.last_run().Complete());
}

TEST_F(SendLoadTest, SpecialFilesAreListedAfterTheRun) {
  WriteFile(Documents("Alpha/main.c"), "x");
  ASSERT_EQ(mkfifo(Documents("Alpha/pipe").c_str(), 0600), 0);
  TMain& w = StartSelected(Documents("Alpha"));
  w.btnSend.Click();
  ASSERT_EQ(dialogs_.Messages().size(), 1u);
  EXPECT_THAT(dialogs_.Messages()[0], HasSubstr(Ns(Documents("Alpha/pipe"))));
  EXPECT_EQ(host_.modal_shows, 1);
  EXPECT_EQ(w.last_run().skipped_count, 1);
}

TEST_F(SendLoadTest, ProjectOutsideDocumentsComesBackFromTheRemovableProjectFolder) {
  const std::string project = ns_.root() + "/work/Beta";
  WriteFile(project + "/src/a.c", "a");
  TMain& w = StartSelected(project);
  w.btnSend.Click();
  EXPECT_EQ(ReadFile(OnE("Sync/Beta/src/a.c")), "a");
  std::filesystem::remove_all(project);
  w.btnLoad.Click();
  EXPECT_EQ(ReadFile(project + "/src/a.c"), "a");
  EXPECT_TRUE(w.last_run().Complete());
}

}  // namespace
}  // namespace pellmar
