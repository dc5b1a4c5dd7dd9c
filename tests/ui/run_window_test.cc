// A run as the window shows it: its progress, a stop asked for while it
// goes, the preview that changes nothing, and the removal Ctrl+Z undoes.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/messages.h"
#include "support/window_fixture.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

size_t FilesBelow(const std::string& host_folder) {
  if (!fs::exists(host_folder)) return 0;
  size_t count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(host_folder)) {
    count += entry.is_regular_file();
  }
  return count;
}

class RunWindowTest : public WindowTest {
 protected:
  // Documents\Alpha with `files` files of a kilobyte, kept in E:\Sync;
  // `extra` settings lines follow the entry.
  TMain& StartWithFiles(int files, const std::string& extra = "") {
    for (int i = 0; i < files; ++i) {
      WriteText(Documents("Alpha/f" + std::to_string(i) + ".c"), std::string(1000, 'x'));
    }
    WriteProjects({"Alpha"}, extra);
    TMain& w = StartWindow();
    w.ListBox1.UserSelect(0);
    dialogs_.Clear();
    return w;
  }
};

TEST_F(RunWindowTest, ARunShowsItsProgressAndGivesTheWindowBack) {
  TMain& w = StartWithFiles(3);
  std::vector<std::string> texts;
  bool controls_held = true;
  w.StatusBar1.on_update = [&] {
    if (w.StatusBar1.progress() >= 0) texts.push_back(w.StatusBar1.progress_text());
  };
  host_.during_run = [&] {
    controls_held = controls_held && !w.btnSend.enabled() && !w.ListBox1.enabled();
  };
  w.btnSend.Click();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], "3 of 3 files, 0.0 of 0.0 MB")
      << "the last copy is always shown";
  EXPECT_EQ(texts.back(), w.messages().Msg(kFlushingMedium));
  EXPECT_TRUE(controls_held) << "every control is greyed while the run goes";
  EXPECT_EQ(w.StatusBar1.progress(), -1);
  EXPECT_EQ(w.StatusBar1.progress_name(), w.messages().Msg(kProgressName));
  EXPECT_TRUE(w.btnSend.enabled());
  EXPECT_EQ(host_.focus(), "btnSend");
  EXPECT_THAT(host_.busy, ElementsAre(true, false));
}

// Escape (or the close button) asks; Yes ends the run between two files,
// with every copy whole and the log counting what was copied.
TEST_F(RunWindowTest, AStopEndsTheRunBetweenTwoFiles) {
  TMain& w = StartWithFiles(20);
  host_.during_run = [&] {
    if (FilesBelow(Stick("Sync/Alpha")) < 3 || !dialogs_.questions.empty()) return;
    dialogs_.answers.push_back(true);
    w.AskToStop();
  };
  w.btnSend.Click();
  const size_t copied = FilesBelow(Stick("Sync/Alpha"));
  EXPECT_THAT(dialogs_.questions, ElementsAre(w.messages().Msg(kStopQuestion)));
  EXPECT_TRUE(w.last_run().stopped);
  EXPECT_FALSE(w.last_run().Complete());
  // The copy under way when the user answered is finished, and no other.
  EXPECT_EQ(copied, 4u);
  EXPECT_EQ(log_->Memo.line_count(), copied);
  EXPECT_EQ(log_->Title.caption(), "The following 4 files have been copyed.");
  for (const auto& entry : fs::directory_iterator(Stick("Sync/Alpha"))) {
    EXPECT_EQ(fs::file_size(entry.path()), 1000u) << entry.path();
  }
  host_.during_run = nullptr;
  w.btnSend.Click();
  EXPECT_TRUE(w.last_run().Complete());
  EXPECT_EQ(FilesBelow(Stick("Sync/Alpha")), 20u);
}

// Once a run says it is done, the stick can be pulled out: a run that
// changed it writes it out first, saying so on the bar, and one that
// changed nothing there leaves it alone.
TEST_F(RunWindowTest, ARunWritesOutTheStickItChangedBeforeItReports) {
  TMain& w = StartWithFiles(1, "AutoDelete1=1\nDuration1=7\n");
  std::vector<std::string> bar_at_flush;
  int reports_before_flush = 0;
  platform_.on_medium_flush = [&] {
    bar_at_flush.push_back(w.StatusBar1.progress_text());
    reports_before_flush += host_.modal_shows + static_cast<int>(dialogs_.messages.size());
  };
  const struct {
    const char* what;
    std::function<void()> before;
    bool send;
    size_t flushes;  // so far
  } runs[] = {
      {"a Send that copies", [] {}, true, 1},
      {"a Send with nothing new", [] {}, true, 1},
      {"a Load that copies onto the hard disk alone",
       [&] { WriteDated(Stick("Sync/Alpha/new.c"), 10, DaysAgo(1)); }, false, 1},
      {"a Load that deletes an old file from the stick",
       [&] {
         WriteDated(Stick("Sync/Alpha/old.c"), 10, DaysAgo(20));
         WriteDated(Documents("Alpha/old.c"), 10, DaysAgo(20));
       },
       false, 2},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.what);
    run.before();
    host_.modal_shows = 0;
    dialogs_.Clear();
    (run.send ? w.btnSend : w.btnLoad).Click();
    EXPECT_EQ(bar_at_flush.size(), run.flushes);
    EXPECT_TRUE(w.last_run().Complete());
  }
  EXPECT_FALSE(fs::exists(Stick("Sync/Alpha/old.c")));
  EXPECT_THAT(bar_at_flush, ::testing::Each(w.messages().Msg(kFlushingMedium)));
  EXPECT_EQ(reports_before_flush, 0);
}

// A stick pulled out, or failing, before all was written: never reported as
// done.
TEST_F(RunWindowTest, AStickThatCannotBeWrittenOutIsNamed) {
  TMain& w = StartWithFiles(1);
  platform_.fail_medium_flush = true;
  w.btnSend.Click();
  EXPECT_THAT(
      dialogs_.messages,
      ElementsAre(::testing::AllOf(HasSubstr("E:\\: the data could not be made safe on the disk: "),
                                   HasSubstr("do not pull it out yet"))));
  EXPECT_FALSE(w.last_run().Complete());
}

TEST_F(RunWindowTest, APreviewListsThePlanAndChangesNothing) {
  TMain& w = StartWithFiles(1);
  WriteText(Documents("Alpha/sub/new.c"), std::string(2500, 'n'));
  WriteDated(Stick("Sync/Alpha/f0.c"), 10, DaysAgo(3));
  const auto before = FilesBelow(Stick(""));
  w.btnSend.ShiftClick();
  EXPECT_EQ(FilesBelow(Stick("")), before);
  EXPECT_EQ(log_->Title.caption().rfind("Preview of Send: 2 files, 0.0 MB to copy", 0), 0u)
      << log_->Title.caption();
  EXPECT_THAT(log_->Memo.lines(), ::testing::UnorderedElementsAre("replace  f0.c  (1 KB)",
                                                                  "copy     sub\\new.c  (3 KB)"));
  EXPECT_EQ(w.last_preview().files, 2);
  EXPECT_EQ(w.last_preview().replacements, 1);
  EXPECT_EQ(host_.modal_shows, 1);
}

TEST_F(RunWindowTest, CtrlZBringsARemovedProjectBackWithItsSettings) {
  WriteProjects({"Alpha", "Beta", "Gamma"});
  TMain& w = StartWindow();
  w.ListBox1.UserSelect(1);
  w.edExclude.UserEdit("tmp");
  const SyncEntry beta = w.entries().slot(2);
  w.btnRemoveFromList.Click();
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("Alpha", "Gamma"));
  EXPECT_EQ(w.edExclude.text(), "") << "the fields show no removed project";
  EXPECT_EQ(w.edMediaDir.text(), "");
  EXPECT_EQ(w.SpinEdit.text(), "");
  EXPECT_EQ(w.StatusBar1.panel_text(1),
            "\"Beta\" was removed from the list. Ctrl+Z brings it back.");
  w.UndoRemove();
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("Alpha", "Beta", "Gamma"));
  EXPECT_EQ(w.ListBox1.item_index(), 1);
  EXPECT_EQ(w.entries().slot(2).exclusion_text, "tmp");
  EXPECT_EQ(w.entries().slot(2).removable_folder, beta.removable_folder);
  EXPECT_EQ(w.edExclude.text(), "tmp");
  EXPECT_FALSE(w.CanUndoRemove());
}

TEST_F(RunWindowTest, HelpThatCannotOpenSaysWhyAndNamesTheHelpFile) {
  const struct {
    bool file_there, viewer_starts;
    const char* told;
  } cases[] = {
      {true, false, "No program is set up to show the help."},
      {false, true, "The help page cannot be opened: it is not where Pellmar looks for it."},
  };
  WriteProjects({"Alpha"});
  TMain& w = StartWindow();
  for (const auto& c : cases) {
    if (!c.file_there) std::filesystem::remove(HostFsPath(ProgramFile("Help.htm")));
    shell_.starts = c.viewer_starts;
    dialogs_.Clear();
    w.btnHelp.Click();
    ASSERT_EQ(dialogs_.messages.size(), 1u) << c.told;
    EXPECT_THAT(dialogs_.messages[0], StartsWith(c.told));
    // Where the host has it: slashes differ between the two systems.
    EXPECT_THAT(dialogs_.messages[0], HasSubstr("program/Help.htm"));
  }
}

}  // namespace
}  // namespace pellmar
