// FormCreate and FormClose on hand-written settings files: what is loaded,
// what every missing or unreadable key becomes, and what the save writes.
// The encodings and line ends an editor writes are the profile's own tests.
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "core/ini_file.h"
#include "support/window_fixture.h"

namespace pellmar {
namespace {

std::u16string Widened(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

class SettingsTest : public WindowTest {
 protected:
  IniFile Saved() { return IniFile(platform_, window().settings_path()); }
  // The key lines of one section of the saved file, as written.
  std::vector<std::string> SavedKeys(const std::string& section) {
    std::vector<std::string> keys;
    std::string text = ReadText(ns_.settings_file()), current;
    for (size_t at = 0, end; at < text.size(); at = end + 2) {
      end = text.find("\r\n", at);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(at, end - at);
      if (!line.empty() && line[0] == '[') current = line.substr(1, line.size() - 2);
      if (current == section && line.find('=') != std::string::npos) {
        keys.push_back(line.substr(0, line.find('=')));
      }
    }
    return keys;
  }
};

TEST_F(SettingsTest, WithoutAFileTheWindowStartsEmptyAndSavesTheGlobals) {
  TMain& w = StartWindow();
  EXPECT_EQ(w.caption(), "Pellmar ver. 1.1");
  EXPECT_EQ(w.settings_path(), Ns(ns_.settings_file()));
  EXPECT_EQ(w.ListBox1.count(), 0);
  EXPECT_EQ(w.ListBox1.item_index(), -1);
  EXPECT_EQ(w.SpinEdit.value(), 365);
  EXPECT_FALSE(w.btnSend.enabled() || w.btnLoad.enabled());
  for (Control* hidden : std::vector<Control*>{&w.chkAutoDelete, &w.chkZip, &w.chkAutoUmount,
                                               &w.edMntCmd, &w.Label2}) {
    EXPECT_FALSE(hidden->visible()) << hidden->name();
  }
  EXPECT_TRUE(w.btnLoad.is_default());
  EXPECT_TRUE(w.btnRemoveFromList.is_cancel());
  EXPECT_EQ(w.last_refused_index(), -1);

  ASSERT_TRUE(w.FormClose());
  EXPECT_THAT(SavedKeys("Setting"), ElementsAre("Loaded", "HomeFolder", "MountCommand", "LibDir",
                                                "AutoUmount", "IgnoreHourShift", "KeepReplaced"));
  const IniFile saved = Saved();
  EXPECT_EQ(saved.ReadString("Setting", "Loaded", ""), "1");
  EXPECT_EQ(saved.ReadString("Setting", "HomeFolder", ""), Ns(ns_.program_dir()));
  EXPECT_EQ(saved.ReadString("Setting", "MountCommand", ""), "edMntCmd");
  EXPECT_EQ(saved.ReadString("Setting", "AutoUmount", ""), "0");
  EXPECT_EQ(saved.ReadString("Setting", "IgnoreHourShift", ""), "1");
  EXPECT_EQ(saved.ReadString("Setting", "KeepReplaced", ""), "1");
  EXPECT_FALSE(saved.SectionExists("Settings"));
}

TEST_F(SettingsTest, HandWrittenValuesLoadWithTheirDefaultsAndSaveBack) {
  const std::string beta = Ns(ns_ / "elsewhere/Beta");
  ns_.WriteSettings(
      "[Other]\nKeep=me\n[Setting]\nMountCommand=mnt\n"
      "SyncItem1=" +
      Ns(Documents("Alpha")) +
      "\nDuration1=abc\nAutoDelete1=2\n"
      "UseZip1=0\nSyncItem2=" +
      beta +
      "\nDuration2=0x0A\nAutoDelete2=yes\n"
      "MountCommand2=own\nDuration3=9\nUnknown=x\nLoaded=0\n"
      "HomeFolder=C:\\somewhere\nLibDir=lib\nAutoUmount=1\nIgnoreHourShift=0\n"
      "KeepReplaced=0\n");
  TMain& w = StartWindow();
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("Alpha", "Beta"));
  EXPECT_THAT(w.ListBox1.items(), ElementsAre("Alpha", "..\\..\\elsewhere\\Beta"));
  const SyncEntry& one = w.entries().slot(1);
  const SyncEntry& two = w.entries().slot(2);
  EXPECT_EQ(one.duration, 7) << "abc";
  EXPECT_EQ(two.duration, 10) << "0x0A";
  EXPECT_TRUE(one.auto_delete) << "2";
  EXPECT_TRUE(two.auto_delete) << "yes";
  EXPECT_FALSE(one.use_zip);
  EXPECT_TRUE(two.use_zip) << "missing";
  EXPECT_EQ(one.mount_command, "mnt") << "missing: the global value";
  EXPECT_EQ(two.mount_command, "own");
  EXPECT_EQ(one.exclusion_text, "ini, bak");
  EXPECT_EQ(w.loaded(), 0);
  EXPECT_EQ(w.home_folder(), "C:\\somewhere");
  EXPECT_TRUE(w.chkAutoUmount.checked());
  EXPECT_FALSE(w.IgnoreHourShift());
  EXPECT_FALSE(w.KeepReplaced());

  ASSERT_TRUE(w.FormClose());
  const IniFile saved = Saved();
  EXPECT_EQ(saved.ReadString("Other", "Keep", ""), "me");
  EXPECT_EQ(saved.ReadString("Setting", "SyncItem2", ""), beta);
  EXPECT_EQ(saved.ReadString("Setting", "Version", "none"), "none");
  EXPECT_EQ(saved.ReadString("Settings", "Version", ""), "1.1");
  EXPECT_THAT(
      SavedKeys("Setting"),
      ElementsAre("SyncItem1", "Path in mobile disk1", "Extensions of excluded files1",
                  "MountCommand1", "Duration1", "AutoDelete1", "UseZip1", "SyncItem2",
                  "Path in mobile disk2", "Extensions of excluded files2", "MountCommand2",
                  "Duration2", "AutoDelete2", "UseZip2", "Loaded", "HomeFolder", "MountCommand",
                  "LibDir", "AutoUmount", "IgnoreHourShift", "KeepReplaced"));
  EXPECT_EQ(saved.ReadString("Setting", "IgnoreHourShift", ""), "0");
  EXPECT_EQ(saved.ReadString("Setting", "Duration1", ""), "7");
  EXPECT_EQ(saved.ReadString("Setting", "AutoDelete1", ""), "1");
  EXPECT_EQ(saved.ReadString("Setting", "Loaded", ""), "0");
  EXPECT_EQ(saved.ReadString("Setting", "LibDir", ""), "lib");
}

TEST_F(SettingsTest, AGapInTheEntriesKeepsEachLineWithItsOwnKeys) {
  ns_.WriteSettings("[Setting]\nSyncItem1=" + Ns(Documents("A")) +
                    "\nDuration1=4\nDuration2=5\n"
                    "SyncItem3=" +
                    Ns(Documents("C")) + "\nDuration3=9\nPath in mobile disk3=E:\\C\n");
  TMain& w = StartWindow();
  EXPECT_THAT(w.ListBox2.items(), ElementsAre("A", "C"));
  EXPECT_EQ(w.entries().slot(2).duration, 9);
  EXPECT_EQ(w.entries().slot(2).removable_folder, "E:\\C");

  ASSERT_TRUE(w.FormClose());
  const IniFile saved = Saved();
  EXPECT_EQ(saved.ReadString("Setting", "SyncItem2", ""), Ns(Documents("C")));
  EXPECT_EQ(saved.ReadString("Setting", "Duration2", ""), "9");
  EXPECT_EQ(saved.ReadString("Setting", "SyncItem3", "none"), "none");
}

TEST_F(SettingsTest, RemovingEveryEntryLeavesTheGlobalsAndTheEarlierVersion) {
  ns_.WriteSettings("[Settings]\nVersion=1.0\n[Setting]\nSyncItem1=" + Ns(Documents("A")) + "\n");
  TMain& w = StartWindow();
  w.ListBox1.SetItemIndex(0);
  w.btnRemoveFromList.Click();
  ASSERT_TRUE(w.FormClose());
  EXPECT_THAT(SavedKeys("Setting"), ElementsAre("Loaded", "HomeFolder", "MountCommand", "LibDir",
                                                "AutoUmount", "IgnoreHourShift", "KeepReplaced"));
  EXPECT_EQ(Saved().ReadString("Settings", "Version", ""), "1.0");
}

TEST_F(SettingsTest, AFailedSaveNamesTheFileKeepsTheWindowOpenAndIsRetried) {
  MakeFolder(ns_.settings_file());  // a folder where the file must go
  TMain& w = StartWindow();
  w.edExclude.UserEdit("kept");

  EXPECT_FALSE(w.FormClose());
  w.RequestClose();  // a failed copy's close request saves too, and fails
  EXPECT_EQ(host_.quit_requests, 0);
  EXPECT_FALSE(w.quit_requested());
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_THAT(dialogs_.messages[0], HasSubstr(w.settings_path()));

  std::filesystem::remove(ns_.settings_file());
  w.RequestClose();
  EXPECT_EQ(host_.quit_requests, 1);
  EXPECT_TRUE(w.quit_requested());
  EXPECT_EQ(Saved().ReadString("Setting", "MountCommand", ""), "edMntCmd");
}

TEST_F(SettingsTest, EveryProjectSurvivesAndWhatCouldNotBeReadIsKeptAsABackup) {
  const std::string alpha = Ns(Documents("Alpha")), beta = Ns(Documents("Beta"));
  const std::string crlf = "[Setting]\r\nSyncItem1=" + alpha + "\r\nSyncItem2=" + beta + "\r\n";
  const std::string too_long = "C:\\" + std::string(3000, 'x');
  const std::string clipped = too_long.substr(3, IniFile::kMaxValueLength - 3);
  const struct {
    const char* form;
    std::string bytes;
    std::vector<std::string> projects;
    bool backup;
  } cases[] = {
      {"UTF-8", crlf, {"Alpha", "Beta"}, false},
      {"lone surrogate",
       Utf16Bytes(Widened(crlf) + u"Note=\xD800\r\n", false),
       {"Alpha", "Beta"},
       true},
      {"stray text", crlf + "SyncItem3\r\n", {"Alpha", "Beta"}, true},
      {"folder name too long",
       crlf + "SyncItem3=" + too_long + "\r\n",
       {"Alpha", "Beta", clipped},
       true},
  };
  const std::string backup = ns_.settings_file() + ".bak";
  for (const auto& c : cases) {
    std::filesystem::remove(backup);
    WriteText(ns_.settings_file(), c.bytes);
    EXPECT_EQ(StartWindow().ListBox2.items(), c.projects) << c.form;
    ASSERT_TRUE(window().FormClose()) << c.form;
    // A second save of the same run keeps the backup of the file as it was.
    ASSERT_TRUE(window().FormClose()) << c.form;
    EXPECT_EQ(HostExists(backup), c.backup) << c.form;
    if (c.backup) {
      EXPECT_EQ(ReadText(backup), c.bytes) << c.form;
    }
    EXPECT_EQ(StartWindow().ListBox2.items(), c.projects) << c.form << ", after a restart";
  }

  // A file that could not be read at start-up (here: a folder stood in its
  // place) is kept before the save, even when it reads well by then.
  std::filesystem::remove(backup);
  std::filesystem::remove(ns_.settings_file());
  MakeFolder(ns_.settings_file());
  TMain& w = StartWindow();
  std::filesystem::remove(ns_.settings_file());
  WriteText(ns_.settings_file(), crlf);
  ASSERT_TRUE(w.FormClose());
  EXPECT_EQ(ReadText(backup), crlf);
}

TEST_F(SettingsTest, AnEntryWithACutValueIsNeverRunAndTheSaveGivesTheValueBackWhole) {
  WriteText(Documents("Alpha/a.c"), "a");
  std::string deep = "E:\\d";
  while (deep.size() < 3 * IniFile::kMaxValueLength) deep += "\\d";
  ns_.WriteSettings("[Setting]\nSyncItem1=" + Ns(Documents("Alpha")) +
                    "\nPath in mobile disk1=" + deep + "\nUseZip1=0\n");
  const std::string original = ReadText(ns_.settings_file());
  for (const bool restarted : {false, true}) {
    TMain& w = StartWindow();
    w.ListBox1.UserSelect(0);
    EXPECT_THAT(dialogs_.questions, IsEmpty()) << "its folder is not offered for creation";
    EXPECT_TRUE(w.btnSend.enabled());
    dialogs_.Clear();
    w.btnSendClick();
    w.btnLoadClick();
    const std::string refusal =
        FillIn(w.messages().Msg(kValueCut), {"Path in mobile disk1", std::to_string(deep.size())}) +
        "\r\n" + w.messages().Msg(kNothingTouched);
    EXPECT_THAT(dialogs_.messages, ElementsAre(refusal, refusal)) << restarted;
    EXPECT_THAT(HostNames(Stick()), IsEmpty()) << restarted;
    ASSERT_TRUE(w.FormClose());
    EXPECT_EQ(Saved().ReadWholeString("Setting", "Path in mobile disk1", ""), deep) << restarted;
    if (!restarted) {
      EXPECT_EQ(ReadText(ns_.settings_file() + ".bak"), original);
    }
  }
}

TEST_F(SettingsTest, EntriesPastTheThirtiethAreToldOnceAndKeptInTheBackup) {
  for (const int entries : {30, 35, 10000}) {
    SCOPED_TRACE(entries);
    std::filesystem::remove(ns_.settings_file() + ".bak");
    std::string file = "[Setting]\n";
    for (int n = 1; n <= entries; ++n) {
      file += "SyncItem" + std::to_string(n) + "=" + Ns(Documents("P" + std::to_string(n))) + "\n";
    }
    ns_.WriteSettings(file);
    const std::string original = ReadText(ns_.settings_file());
    dialogs_.Clear();
    TMain& w = StartWindow();
    w.FormShow();
    w.TellEntriesBeyondLimit();
    EXPECT_EQ(w.ListBox1.count(), 30);
    const std::string told =
        FillIn(w.messages().Msg(kEntriesBeyondLimit), {w.settings_path() + ".bak"});
    EXPECT_EQ(dialogs_.messages,
              entries > 30 ? std::vector<std::string>{told} : std::vector<std::string>{});
    ASSERT_TRUE(w.FormClose());
    EXPECT_EQ(Saved().ReadString("Setting", "SyncItem31", "none"), "none");
    EXPECT_EQ(HostExists(ns_.settings_file() + ".bak"), entries > 30);
    if (entries > 30) {
      EXPECT_EQ(ReadText(ns_.settings_file() + ".bak"), original);
    }
  }
}

TEST_F(SettingsTest, ASaveWaitsForAnotherAndKeepsTheVersionWrittenMeanwhile) {
  WriteProjects({"Alpha"});
  const std::string theirs = "[Setting]\r\nSyncItem1=" + Ns(Documents("Other")) + "\r\n";
  const std::string backup = ns_.settings_file() + ".bak";
  for (const bool racing : {false, true}) {
    SCOPED_TRACE(racing ? "another save holds the lock" : "an editor wrote the file");
    std::filesystem::remove(backup);
    TMain& w = StartWindow();
    dialogs_.Clear();
    std::unique_ptr<Platform::FileLock> lock;
    std::thread other;
    if (racing) {
      ASSERT_TRUE(platform_.LockFile(w.settings_path() + ".lock", &lock).ok());
      other = std::thread([&] {
        // Long enough for the save below to be waiting for the lock.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        WriteText(ns_.settings_file(), theirs);
        lock.reset();
      });
    } else {
      WriteText(ns_.settings_file(), theirs);
    }
    EXPECT_TRUE(w.FormClose());
    if (other.joinable()) other.join();
    EXPECT_EQ(ReadText(backup), theirs);
    EXPECT_THAT(dialogs_.messages, ElementsAre(FillIn(w.messages().Msg(kSettingsChangedMeanwhile),
                                                      {w.settings_path() + ".bak"})));
    EXPECT_EQ(Saved().ReadString("Setting", "SyncItem1", ""), Ns(Documents("Alpha")));
  }
}

TEST_F(SettingsTest, FolderNamesWithOuterBlanksOrQuotesSurviveARestart) {
  const std::vector<std::string> names = {" proj ", "tail ", "\"quoted\""};
  std::string file = "[Setting]\n";
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    file += "SyncItem" + n + "=\"" + Ns(Documents(names[i])) + "\"\nPath in mobile disk" + n +
            "=\"E:\\" + names[i] + "\"\nExtensions of excluded files" + n + "=\"" + names[i] +
            "\"\n";
  }
  ns_.WriteSettings(file);
  for (const char* run : {"first start", "after a restart"}) {
    TMain& w = StartWindow();
    EXPECT_EQ(w.ListBox1.items(), names) << run;
    EXPECT_EQ(w.ListBox2.items(), names) << run;
    for (size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(w.entries().slot(i + 1).removable_folder, "E:\\" + names[i]) << run;
      EXPECT_EQ(w.entries().slot(i + 1).exclusion_text, names[i]) << run;
    }
    ASSERT_TRUE(w.FormClose());
  }
}

TEST_F(SettingsTest, WithoutTheSettingsFolderTheFileLiesInTheProgramFolder) {
  std::filesystem::remove_all(ns_.config());
  TMain& w = StartWindow();
  EXPECT_EQ(w.settings_path(), Ns(ProgramFile("Pellmar.ini")));
  EXPECT_EQ(w.home_folder(), Ns(ns_.program_dir())) << "no trailing backslash";
  EXPECT_EQ(w.program_dir(), Ns(ns_.program_dir()) + "\\");
}

TEST_F(SettingsTest, AFailedVersionQueryIsReportedAndStartUpGoesOn) {
  platform_.forced_version_error = 1150;
  ns_.WriteSettings("[Setting]\nSyncItem1=" + Ns(Documents("A")) + "\n");
  TMain& w = StartWindow();
  EXPECT_THAT(dialogs_.messages, ElementsAre("Sorry..!Can't Getversion\r\nCode:1150"));
  EXPECT_EQ(w.ListBox1.count(), 1);
}

}  // namespace
}  // namespace pellmar
