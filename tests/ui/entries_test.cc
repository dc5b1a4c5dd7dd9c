// Add, Remove and the field reactions: the lists and the slots stay
// together, the 30-entry limit holds, and new entries inherit as they should.
#include <filesystem>

#include "support/window_fixture.h"

namespace pellmar {
namespace {

class EntriesTest : public WindowTest {
 protected:
  // Adds a project folder (host path) through the Add button's picker.
  void Add(const std::string& project_host) {
    MakeFolder(project_host);
    dialogs_.picks.push_back(Ns(project_host));
    window().btnSelectFile.Click();
  }
};

TEST_F(EntriesTest, TheFirstEntryTakesTheFirstDriveThatExists) {
  const struct {
    const char* present;
    const char* folder;
  } cases[] = {{"AEF", "A:\\"}, {"EF", "E:\\"}, {"F", "F:\\"}, {"", "C:\\"}};
  for (const auto& c : cases) {
    for (char letter : {'A', 'E', 'F'}) std::filesystem::remove_all(ns_.drive(letter));
    for (const char* letter = c.present; *letter; ++letter) ns_.InsertDrive(*letter);
    StartWindow();
    Add(Documents("Proj"));
    EXPECT_EQ(window().entries().slot(1).removable_folder, c.folder) << "drives " << c.present;
  }
}

TEST_F(EntriesTest, TheFirstEntryInheritsSlotZeroAndTheShownMountCommand) {
  ns_.InsertDrive('A');
  TMain& w = StartWindow();
  w.edExclude.UserEdit("doc");  // edits with nothing selected go to slot 0
  w.chkZip.SetChecked(true);
  Add(Documents("Work/Proj"));

  EXPECT_THAT(dialogs_.pickers.at(0).title, w.messages().Msg(16));
  EXPECT_EQ(dialogs_.pickers.at(0).start_folder, Ns(ns_.program_dir()));
  EXPECT_THAT(w.ListBox1.items(), ElementsAre("Work\\Proj"));
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("Proj"));
  EXPECT_EQ(w.home_folder(), Ns(Documents("Work/Proj")));
  const SyncEntry& entry = w.entries().slot(1);
  EXPECT_EQ(entry.exclusion_text, "doc");
  EXPECT_TRUE(entry.use_zip);
  EXPECT_FALSE(entry.auto_delete);
  EXPECT_EQ(entry.mount_command, "edMntCmd");
  EXPECT_EQ(entry.duration, 1) << "0 from slot 0, shown by the spin edit as 1";
  EXPECT_EQ(w.ListBox1.item_index(), 0);
  EXPECT_TRUE(w.btnSend.enabled()) << "Add runs the selection";
}

TEST_F(EntriesTest, ALaterEntryInheritsTheFolderBeforeItOnlyWhenItExists) {
  MakeFolder(Stick("Sync"));
  ns_.WriteSettings("[Setting]\nSyncItem1=" + Ns(Documents("One")) +
                    "\nPath in mobile disk1=E:\\Sync\nDuration1=30\n"
                    "Extensions of excluded files1=txt\n");
  TMain& w = StartWindow();
  Add(Documents("Two"));
  EXPECT_EQ(w.entries().slot(2).removable_folder, "E:\\Sync");
  EXPECT_EQ(w.entries().slot(2).duration, 30);
  EXPECT_EQ(w.entries().slot(2).exclusion_text, "txt");

  w.entries().slot(2).removable_folder = "E:\\Gone";
  Add(Documents("Three"));
  EXPECT_EQ(w.entries().slot(3).removable_folder, "E:\\") << "E:\\Gone does not exist";
  EXPECT_EQ(dialogs_.questions.size(), 0u);
}

TEST_F(EntriesTest, ThePickerStartsInDocumentsWithoutHomeAndCancelAddsNothing) {
  ns_.WriteSettings("[Setting]\nHomeFolder=C:\\no\\such\\folder\n");
  TMain& w = StartWindow();
  w.btnSelectFile.Click();  // no pick queued: cancelled
  EXPECT_EQ(dialogs_.pickers.at(0).start_folder, Ns(Documents()));
  EXPECT_EQ(w.ListBox1.count(), 0);
  EXPECT_EQ(w.home_folder(), "C:\\no\\such\\folder");

  dialogs_.picks.push_back("E:\\");
  w.btnSelectFile.Click();
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("")) << "a drive root has no project name";

  // A picker that hands over a folder with steps in it: the project is
  // named after the folder the steps lead to.
  MakeFolder(Documents("Work/Beta"));
  for (const char* step : {"\\.", "\\.."}) {
    dialogs_.picks.push_back(Ns(Documents("Work/Beta")) + step);
    w.btnSelectFile.Click();
  }
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("", "Beta", "Work"));
  EXPECT_EQ(w.home_folder(), Ns(Documents("Work")));
}

TEST_F(EntriesTest, ThirtyEntriesDisableAddAndRemoveShiftsTheSlots) {
  std::vector<std::string> projects;  // their Durations are their numbers
  std::string durations;
  for (int n = 1; n <= 30; ++n) {
    projects.push_back("P" + std::to_string(n));
    durations += "Duration" + std::to_string(n) + "=" + std::to_string(n) + "\n";
  }
  WriteProjects(projects, durations);
  TMain& w = StartWindow();
  w.FormShow();
  EXPECT_FALSE(w.btnSelectFile.enabled());

  w.ListBox1.UserSelect(29);  // the last entry: no slot moves
  w.btnRemoveFromList.Click();
  for (int n = 1; n <= 30; ++n) EXPECT_EQ(w.entries().slot(n).duration, n) << "slot " << n;
  EXPECT_TRUE(w.btnSelectFile.enabled());

  Add(Documents("Again"));
  EXPECT_FALSE(w.btnSelectFile.enabled());
  EXPECT_EQ(w.ListBox1.count(), 30);

  w.ListBox1.UserSelect(0);
  w.btnRemoveFromList.Click();
  EXPECT_EQ(w.ListBox1.count(), 29);
  EXPECT_EQ(w.ListBox2.item(0), "P2");
  EXPECT_EQ(w.entries().slot(1).duration, 2);
  EXPECT_EQ(w.entries().slot(28).duration, 29);
  EXPECT_EQ(w.entries().slot(29).duration, w.entries().slot(30).duration);
  EXPECT_EQ(w.ListBox1.item_index(), -1);
  EXPECT_EQ(w.ListBox2.item_index(), -1);

  w.btnRemoveFromList.Click();  // nothing selected: nothing changes
  EXPECT_EQ(w.ListBox1.count(), 29);
  EXPECT_EQ(w.entries().slot(1).duration, 2);

  w.edExclude.UserEdit("after remove");
  EXPECT_EQ(w.entries().slot(0).exclusion_text, "after remove");
}

TEST_F(EntriesTest, FieldReactionsWriteTheSelectedSlot) {
  WriteProjects({"One", "Two"});
  TMain& w = StartWindow();
  w.ListBox1.UserSelect(1);
  SyncEntry& two = w.entries().slot(2);

  w.SpinEdit.UserEdit("999");
  EXPECT_EQ(two.duration, 999);
  w.SpinEdit.Exit();
  EXPECT_EQ(two.duration, 365);
  w.edExclude.UserEdit("tmp");
  w.chkAutoDelete.UserClick();
  EXPECT_EQ(two.exclusion_text, "tmp");
  EXPECT_EQ(two.auto_delete, w.chkAutoDelete.checked());

  w.ListBox2.SetItemIndex(0);  // the spin edit follows the second list
  w.SpinEdit.UserEdit("12");
  EXPECT_EQ(w.entries().slot(1).duration, 12);
  EXPECT_EQ(two.duration, 365);
}

}  // namespace
}  // namespace pellmar
