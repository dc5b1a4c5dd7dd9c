// ShowDiskStatus on the real namespace: each answer of the free-space query
// and what the user sees of it; the free-space text and the drive part.
#include "core/drive_part.h"
#include "core/free_space_text.h"
#include "support/window_fixture.h"

namespace pellmar {
namespace {

TEST(FreeSpaceTextTest, KilobytesTruncatedTowardZeroWithGroups) {
  const struct {
    int64_t bytes;
    const char* text;
  } cases[] = {{1234567, "Available disk size:1,234KB"},
               {-1500, "Available disk size:-1KB"},
               {5'000'000'000'000, "Available disk size:5,000,000,000KB"},
               {999, "Available disk size:0KB"},
               {-1'234'567'000, "Available disk size:-1,234,567KB"},
               {100'000, "Available disk size:100KB"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FreeSpaceText("Available disk size:", c.bytes), c.text) << c.bytes << " bytes";
  }
  EXPECT_EQ(GroupThousands(INT64_MIN), "-9,223,372,036,854,775,808");
}

TEST(DrivePartTest, LetterAndColonOrServerAndShare) {
  const struct {
    const char* path;
    const char* drive;
  } cases[] = {{"E:\\Backup", "E:"},
               {"E:\\", "E:"},
               {"e:", "e:"},
               {"\\\\server\\share\\dir", "\\\\server\\share"},
               {"\\\\server\\share", "\\\\server\\share"},
               {"\\\\server", "\\\\server"},
               {"Backup\\x", ""},
               {"\\x", ""},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(DrivePart(c.path), c.drive) << "path " << c.path;
}

class DiskStatusTest : public WindowTest {
 protected:
  // Runs ShowDiskStatus with nothing selected, on slot 0's folder.
  void ShowStatusOf(const std::string& folder) {
    window().entries().slot(0).removable_folder = folder;
    window().StatusBar1.SetPanelText(0, "before");
    platform_.inner().SetErrorMode(0);
    window().ShowDiskStatus();
  }
};

TEST_F(DiskStatusTest, EachAnswerOfTheQuery) {
  StartWindow();
  const std::string msg4 = window().messages().Msg(4);
  const std::string msg5 = window().messages().Msg(5);
  const struct {
    const char* folder;
    std::optional<uint32_t> forced_code;
    std::optional<uint64_t> forced_bytes;
    std::vector<std::string> messages;
    const char* panel;  // nullptr: the real free space of the drive
  } cases[] = {
      {"E:\\Sync", std::nullopt, std::nullopt, {}, nullptr},
      {"F:\\Sync", std::nullopt, std::nullopt, {msg4}, "before"},  // mapped, medium absent: 21
      {"Q:\\Sync", std::nullopt, std::nullopt, {msg4}, "before"},  // unknown letter: 15
      {"", std::nullopt, std::nullopt, {}, "before"},              // no drive part: 123
      {"E:\\Sync", kErrorUnrecognizedVolume, std::nullopt, {msg5}, "before"},
      {"E:\\Sync", kErrorUnrecognizedMedia, std::nullopt, {msg5}, "before"},
      {"E:\\Sync", kErrorPathNotFound, std::nullopt, {}, "Available disk size:0KB"},
      // Beyond 4 GB the count is kept in full.
      {"E:\\Sync", std::nullopt, 5'000'000'000'000, {}, "Available disk size:5,000,000,000KB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.folder) + " code " + std::to_string(c.forced_code.value_or(0)));
    dialogs_.Clear();
    platform_.forced_disk_error = c.forced_code;
    platform_.forced_free_bytes = c.forced_bytes;
    ShowStatusOf(c.folder);
    EXPECT_EQ(dialogs_.messages, c.messages);
    EXPECT_EQ(platform_.SetErrorMode(0), 0u) << "the error mode is put back";
    const std::string& panel = window().StatusBar1.panel_text(0);
    if (c.panel != nullptr) {
      EXPECT_EQ(panel, c.panel);
      if (c.forced_bytes) {
        EXPECT_EQ(window().counters().free_space, int64_t(*c.forced_bytes));
      }
    } else {
      EXPECT_THAT(panel, StartsWith("Available disk size:"));
      EXPECT_GT(window().counters().free_space, 0);
    }
  }
  EXPECT_EQ(host_.quit_requests, 2);
}

TEST_F(DiskStatusTest, UnformattedDiskEndsTheProgramAfterTheReactionWithoutSaving) {
  WriteProjects({"Proj"});
  const std::string before = ReadText(ns_.settings_file());
  TMain& w = StartWindow();
  platform_.forced_disk_error = kErrorUnrecognizedVolume;

  w.ListBox1.UserSelect(0);
  EXPECT_THAT(dialogs_.messages, ElementsAre(w.messages().Msg(5)));
  EXPECT_EQ(host_.quit_requests, 1);
  EXPECT_TRUE(w.quit_requested());
  EXPECT_TRUE(w.btnSend.enabled()) << "the selection still completes";
  EXPECT_EQ(w.edMediaDir.text(), "E:\\Sync");

  w.edExclude.UserEdit("changed");
  EXPECT_TRUE(w.FormClose());
  EXPECT_EQ(ReadText(ns_.settings_file()), before);
}

}  // namespace
}  // namespace pellmar
