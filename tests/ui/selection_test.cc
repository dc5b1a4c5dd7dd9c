// Selecting an entry and the window's own reactions: the missing-folder
// question and its refusals, folder creation, filling the fields, focus,
// the auto-delete caption, Select, the first show, help and double-clicks.
#include "support/window_fixture.h"

namespace pellmar {
namespace {

class SelectionTest : public WindowTest {
 protected:
  // Entries P0, P1, ... below Documents; entry i keeps its files in
  // `folders[i]` on the removable disk.
  TMain& StartWithEntries(const std::vector<std::string>& folders, const std::string& extra = "") {
    std::string ini = "[Setting]\n";
    for (size_t i = 0; i < folders.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      ini += "SyncItem" + n + "=" + Ns(Documents("P" + std::to_string(i))) + "\n";
      ini += "Path in mobile disk" + n + "=" + folders[i] + "\n";
    }
    ns_.WriteSettings(ini + extra);
    return StartWindow();
  }
};

TEST_F(SelectionTest, ARefusalCountsOnlyTwiceInARowAtOnePosition) {
  MakeFolder(Stick("Here"));
  TMain& w = StartWithEntries({"E:\\M0", "E:\\M1", "E:\\M2", "E:\\Here", "E:\\M4"});
  const std::string msg15 = w.messages().Msg(15);
  const struct {
    int position;
    bool msg15;   // refused: Msg15, both selections cleared
    int refused;  // the last refused index afterwards
  } script[] = {{2, true, 2}, {4, true, 4}, {2, true, 2}, {3, false, 2}, {2, false, 2}};
  int step = 0;
  for (const auto& s : script) {
    dialogs_.Clear();
    w.ListBox1.UserSelect(s.position);
    const std::string label = "step " + std::to_string(step++);
    EXPECT_EQ(dialogs_.messages,
              s.msg15 ? std::vector<std::string>{msg15} : std::vector<std::string>{})
        << label;
    EXPECT_EQ(w.last_refused_index(), s.refused) << label;
    EXPECT_EQ(w.ListBox1.item_index(), s.msg15 ? -1 : s.position) << label;
    EXPECT_EQ(w.ListBox2.item_index(), s.msg15 ? -1 : s.position) << label;
    EXPECT_EQ(w.btnSend.enabled(), !s.msg15) << label;
  }
  EXPECT_EQ(w.edMediaDir.text(), "E:\\M2") << "taken although its folder is missing";
  EXPECT_EQ(dialogs_.questions.at(0),
            "This disk does not have folder named \"E:\\M2\"Do you make it?");
}

TEST_F(SelectionTest, YesCreatesTheMissingLevelsFromTheTopDown) {
  std::vector<std::string> levels = {"E:\\Sync"};
  for (int i = 0; i < 40; ++i) levels.push_back(levels.back() + "\\Deep");
  TMain& w = StartWithEntries({levels.back()});
  dialogs_.answers.push_back(true);
  w.ListBox1.UserSelect(0);
  EXPECT_EQ(platform_.created_folders, levels);
  EXPECT_EQ(platform_.create_attempts, 41) << "one attempt a level, not a climb for each";
  EXPECT_TRUE(HostExists(Stick("Sync/Deep/Deep")));
  EXPECT_THAT(dialogs_.messages, IsEmpty());
  EXPECT_TRUE(w.btnSend.enabled());
}

TEST_F(SelectionTest, AFolderThatCannotBeCreatedEndsLikeARefusal) {
  WriteText(Stick("File"), "a file where a folder must be");
  const std::vector<std::string> folders = {"F:\\Sync", "E:\\File\\Sync", ""};
  TMain& w = StartWithEntries(folders);
  const std::string msg18 = w.messages().Msg(18), msg15 = w.messages().Msg(15);
  for (int p = 0; p < 3; ++p) {
    for (bool again : {false, true}) {
      dialogs_.Clear();
      dialogs_.answers.push_back(true);
      w.ListBox1.UserSelect(p);
      const std::vector<std::string> messages = dialogs_.messages;
      const std::string label = "\"" + folders[p] + (again ? "\" again" : "\"");
      ASSERT_FALSE(messages.empty()) << label;
      EXPECT_EQ(messages.back(), again ? msg18 : msg15) << label;
      EXPECT_EQ(w.btnSend.enabled(), again) << label;
    }
  }
  EXPECT_THAT(platform_.created_folders, IsEmpty());
}

TEST_F(SelectionTest, TheSpinEditBringsAStoredDurationIntoRange) {
  MakeFolder(Stick("Sync"));
  const struct {
    int stored;
    const char* shown_before;
    int stored_after;
    int shown;
  } cases[] = {{0, "365", 1, 1}, {500, "365", 500, 365}, {500, "7", 365, 365}, {7, "365", 7, 7}};
  for (const auto& c : cases) {
    TMain& w = StartWithEntries({"E:\\Sync"}, "Duration1=" + std::to_string(c.stored) + "\n");
    w.SpinEdit.UserEdit(c.shown_before);
    w.ListBox1.UserSelect(0);
    const std::string label = std::to_string(c.stored) + " after " + c.shown_before;
    EXPECT_EQ(w.SpinEdit.value(), c.shown) << label;
    EXPECT_EQ(w.entries().slot(1).duration, c.stored_after) << label;
  }
}

TEST_F(SelectionTest, TheFocusFollowsLoadedAndTheFieldsFollowTheSlot) {
  MakeFolder(Stick("Sync"));
  const struct {
    const char* loaded;
    const char* focus;
  } cases[] = {{"1", "btnSend"}, {"0", "btnLoad"}, {"2", "btnLoad"}};
  for (const auto& c : cases) {
    TMain& w = StartWithEntries(
        {"E:\\Sync"}, std::string("Loaded=") + c.loaded + "\nMountCommand1=m1\nUseZip1=1\n");
    w.ListBox1.UserSelect(0);
    EXPECT_EQ(host_.focus(), c.focus) << "Loaded=" << c.loaded;
    EXPECT_EQ(w.focused_control(), c.focus) << "Loaded=" << c.loaded;
    EXPECT_EQ(w.edMntCmd.text(), "m1");
    EXPECT_TRUE(w.chkZip.checked());
    EXPECT_EQ(w.edExclude.text(), "ini, bak");
    EXPECT_FALSE(w.Label2.visible());
  }
}

TEST_F(SelectionTest, TheAutoDeleteCaptionInBothWordOrders) {
  MakeFolder(Stick("Sync"));
  TMain& english = StartWithEntries({"E:\\Sync"}, "Duration1=7\n");
  EXPECT_FALSE(english.chkAutoDelete.visible());
  english.ListBox1.UserSelect(0);
  EXPECT_TRUE(english.chkAutoDelete.visible());
  EXPECT_EQ(english.chkAutoDelete.caption(),
            "Delete files created or edited prior to 14 days before from P0");
  english.SpinEdit.UserEdit("365");
  EXPECT_EQ(english.chkAutoDelete.caption(),
            "Delete files created or edited prior to 730 days before from P0");

  WriteText(ProgramFile("pellmar.lng"), "[Main]\r\nLANG=128\r\nMsg23=<\r\nMsg24=>\r\n");
  TMain& japanese = StartWithEntries({"E:\\Sync"}, "Duration1=7\n");
  japanese.ListBox2.UserSelect(0);  // the second list selects through the first
  EXPECT_EQ(japanese.ListBox1.item_index(), 0);
  EXPECT_EQ(japanese.chkAutoDelete.caption(), "14<P0>");
}

TEST_F(SelectionTest, SelectPicksCreatesAndStoresTheRemovableFolder) {
  MakeFolder(Stick("Sync"));
  TMain& w = StartWithEntries({"E:\\Sync"});
  w.Button2.Click();  // nothing selected, edMediaDir empty; cancelled
  const FolderPickerRequest first = dialogs_.pickers.at(0);
  EXPECT_EQ(first.start_folder, "A:\\");
  EXPECT_TRUE(first.allow_new_folder);
  EXPECT_EQ(w.edMediaDir.text(), "");

  dialogs_.picks.push_back("E:\\Slot0");  // still nothing selected: slot 0
  w.Button2.Click();
  EXPECT_EQ(w.entries().slot(0).removable_folder, "E:\\Slot0");
  EXPECT_TRUE(HostExists(Stick("Slot0")));

  w.ListBox1.UserSelect(0);
  dialogs_.picks.push_back("E:\\New\\Sub");
  w.Button2.Click();
  EXPECT_EQ(dialogs_.pickers.back().start_folder, "E:\\Sync");
  EXPECT_EQ(w.edMediaDir.text(), "E:\\New\\Sub");
  EXPECT_EQ(w.entries().slot(1).removable_folder, "E:\\New\\Sub");
  EXPECT_TRUE(HostExists(Stick("New/Sub")));
  EXPECT_THAT(w.StatusBar1.panel_text(0), ::testing::StartsWith("Available disk size:"));

  w.Button2.Click();  // cancelled: field and slot keep the folder
  EXPECT_EQ(w.entries().slot(1).removable_folder, "E:\\New\\Sub");
}

TEST_F(SelectionTest, TheFirstShowWelcomesAndAsksForAFolder) {
  TMain& w = StartWindow();
  w.FormShow();
  EXPECT_THAT(dialogs_.messages, ElementsAre(w.messages().Msg(2)));
  EXPECT_EQ(dialogs_.pickers.size(), 1u);
  EXPECT_EQ(w.ListBox1.count(), 0);
  EXPECT_EQ(w.ListBox1.item_index(), -1);
  EXPECT_TRUE(w.btnSelectFile.enabled());

  dialogs_.Clear();
  StartWithEntries({"E:\\Sync"}).FormShow();
  EXPECT_THAT(dialogs_.messages, IsEmpty()) << "entries exist: no welcome";
  EXPECT_THAT(dialogs_.pickers, IsEmpty());
}

// Which controls pass F1 on is proved key by key through the skin.
TEST_F(SelectionTest, F1OpensHelpFromTheWindowAndFromControlsThatPassItOn) {
  TMain& w = StartWindow();
  const struct {
    const char* control;  // "" for the window itself
    int key;
    bool opens;
  } cases[] = {{"edExclude", 112, false},
               {"ListBox1", 112, true},
               {"ListBox1", 113, false},
               {"", 112, true}};
  for (const auto& c : cases) {
    shell_.calls.clear();
    if (*c.control) {
      w.ControlKeyUp(c.control, c.key);
    } else {
      w.FormKeyUp(c.key);
    }
    EXPECT_EQ(shell_.calls.size(), c.opens ? 1u : 0u) << c.control << " key " << c.key;
  }
  const RecordingShell::Call& help = shell_.calls.at(0);
  EXPECT_EQ(help.verb, "open");
  EXPECT_EQ(help.file, Ns(ProgramFile("Help.htm")));
  EXPECT_EQ(help.parameters, "");
  EXPECT_EQ(help.directory, "C:");
  EXPECT_EQ(help.show, Shell::kShowAsIs);
}

TEST_F(SelectionTest, DoubleClicksOpenTheProjectAndTheRemovableFolder) {
  MakeFolder(Stick("Sync"));
  TMain& w = StartWithEntries({"E:\\Sync", "E:\\Missing"});
  w.ListBox2.on_dbl_click();  // edMediaDir still empty
  w.ListBox1.UserDoubleClick(0);
  w.ListBox2.UserDoubleClick(0);
  w.ListBox1.UserSelect(1);  // refused: nothing selected
  w.ListBox1.on_dbl_click();
  ASSERT_EQ(shell_.calls.size(), 3u);
  const std::vector<std::string> expected = {"", Ns(Documents("P0")), "E:\\Sync"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(shell_.calls[i].file, "explorer") << i;
    EXPECT_EQ(shell_.calls[i].parameters, expected[i]) << i;
    EXPECT_EQ(shell_.calls[i].show, Shell::kShowNormal) << i;
  }
}

}  // namespace
}  // namespace pellmar
