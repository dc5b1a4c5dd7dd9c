// The Win32 platform on what only Windows has: the read-only attribute,
// drive roots and shares in the free-space query, the volume serial number
// that tells media apart, the settings folder taken from the roaming
// application data, and files in the ANSI code page 932.
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"
#include "support/handle_copy.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {

std::string Windows(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

class Win32Test : public ::testing::Test {
 protected:
  std::string At(const std::string& below) { return Windows(temp_ / below); }

  TempFolder temp_;
  const std::string temp_root_ = Windows(temp_.path());
  std::unique_ptr<Platform> platform_ = NewWin32Platform({At("docs"), ""});
};

TEST_F(Win32Test, ReadOnlyFilesAreListedAsSuchAndNeverReplaced) {
  WriteText(temp_ / "new.txt", "new");
  WriteText(temp_ / "kept.txt", "old");
  ASSERT_TRUE(::SetFileAttributesW(HostFsPath(At("kept.txt")).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(platform_->FindFile(At("kept.txt"))->attributes,
            uint32_t{kAttrReadOnly | kAttrArchive});
  MakeFolder(temp_ / "other");
  WriteText(temp_ / "other/kept.txt", "new");
  EXPECT_EQ(CopyByHandle(*platform_, At("other\\kept.txt"), temp_root_).code, kErrorAccessDenied);
  EXPECT_EQ(RemoveByHandle(*platform_, At("kept.txt"), false).code, kErrorAccessDenied);
  EXPECT_EQ(ReadText(temp_ / "kept.txt"), "old");
  // A copy of a read-only file is read-only too, and lands whole.
  ASSERT_TRUE(CopyByHandle(*platform_, At("kept.txt"), At("other")).ok());
  EXPECT_EQ(platform_->FindFile(At("other\\kept.txt"))->attributes & kAttrReadOnly,
            uint32_t{kAttrReadOnly});
  EXPECT_EQ(ReadText(temp_ / "other/kept.txt"), "old");
  EXPECT_EQ(HostNames(temp_.path()), (std::vector<std::string>{"kept.txt", "new.txt", "other"}));
}

TEST_F(Win32Test, FreeSpaceAnswersWithTheCodeForEachKindOfRoot) {
  const struct {
    const char* root;
    uint32_t code;
  } cases[] = {
      {"C:", kErrorSuccess},          {"c:\\", kErrorSuccess},
      {"Q:", kErrorInvalidDrive},     {"", kErrorInvalidName},
      {"E", kErrorInvalidName},       {"1:", kErrorInvalidName},
      {"C:x", kErrorInvalidName},     {"C:\\x", kErrorInvalidName},
      {"\\\\srv", kErrorInvalidName}, {"\\\\no-such-server-here\\share", kErrorBadNetPath},
  };
  for (const auto& c : cases) {
    uint64_t free_bytes = 12345;
    const Status status = platform_->FreeSpace(c.root, &free_bytes);
    EXPECT_EQ(status.code, c.code) << "root \"" << c.root << "\": " << status.message;
    EXPECT_EQ(free_bytes > 0, c.code == kErrorSuccess) << "root \"" << c.root << "\"";
  }
}

// A folder's medium is that of its volume, as the drive listing names it.
TEST_F(Win32Test, AFoldersMediumIsItsVolumesSerialNumber) {
  MediumIdentity medium;
  ASSERT_TRUE(platform_->MediumAt(temp_root_, &medium).ok());
  EXPECT_EQ(medium.key.rfind("serial:", 0), 0u) << medium.key;
  bool listed = false;
  for (const DriveMapping& drive : platform_->Drives()) {
    if (drive.drive[0] != temp_root_[0]) continue;
    EXPECT_EQ(drive.medium, medium);
    listed = true;
  }
  EXPECT_TRUE(listed) << temp_root_;
  EXPECT_EQ(platform_->MediumAt(At("missing"), &medium).code, kErrorPathNotFound);
}

TEST_F(Win32Test, SettingsFolderIsTheRoamingOneWhenNoneIsBesideDocuments) {
  MakeFolder(temp_ / "docs");
  MakeFolder(temp_ / "roaming");
  std::unique_ptr<Platform> roaming = NewWin32Platform({At("docs"), At("roaming")});
  EXPECT_TRUE(roaming->FolderExists(At("Application Data")));
  ASSERT_TRUE(roaming->WriteWholeFile(At("Application Data\\Pellmar.ini"), "[Setting]\r\n").ok());
  EXPECT_EQ(ReadText(temp_ / "roaming/Pellmar.ini"), "[Setting]\r\n");
  // A real folder beside Documents is the one the settings go to.
  MakeFolder(temp_ / "Application Data");
  std::unique_ptr<Platform> beside = NewWin32Platform({At("docs"), At("roaming")});
  ASSERT_TRUE(beside->WriteWholeFile(At("Application Data\\Pellmar.ini"), "x").ok());
  EXPECT_EQ(ReadText(temp_ / "Application Data/Pellmar.ini"), "x");
}

// Run with LANG=ja_JP.UTF-8, which gives Wine the ANSI code page 932.
TEST_F(Win32Test, FilesInTheAnsiCodePageReadAsTheirText) {
  ASSERT_EQ(::GetACP(), 932u) << "this test needs a system whose ANSI code page is 932";
  const std::string shift_jis = "\x93\xfa\x96\x7b\x8c\xea";  // 日本語
  EXPECT_EQ(platform_->DecodeCodePage(shift_jis, 932), "日本語");
  EXPECT_EQ(platform_->DecodeCodePage("日本語", 932), "日本語") << "UTF-8 is never decoded twice";
  EXPECT_EQ(platform_->DecodeCodePage("\x93", 932), "\\x93") << "a lead byte without its trail";
  WriteText(temp_ / "ansi.ini", "[Setting]\r\nSyncItem1=C:\\" + shift_jis + "\r\n");
  WriteText(temp_ / "utf8.ini", "[Setting]\r\nSyncItem1=C:\\日本語\r\n");
  for (const char* name : {"ansi.ini", "utf8.ini"}) {
    EXPECT_EQ(IniFile(*platform_, At(name)).ReadString("Setting", "SyncItem1", ""), "C:\\日本語")
        << name;
  }
}

}  // namespace
}  // namespace pellmar
