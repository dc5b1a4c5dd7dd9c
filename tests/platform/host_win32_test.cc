// The Win32 platform on what only Windows has: the volume serial number
// that tells media apart, the settings folder taken from the roaming
// application data, and the error mode of a thread. What both platforms do is in the
// *_contract_test files.
#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"
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
  std::unique_ptr<Platform> platform_ = NewWin32Platform({At("docs"), "", ""});
};

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
  std::unique_ptr<Platform> roaming = NewWin32Platform({At("docs"), At("roaming"), ""});
  EXPECT_TRUE(roaming->FolderExists(At("Application Data")));
  ASSERT_TRUE(roaming->WriteWholeFile(At("Application Data\\Pellmar.ini"), "[Setting]\r\n").ok());
  EXPECT_EQ(ReadText(temp_ / "roaming/Pellmar.ini"), "[Setting]\r\n");
  // A real folder beside Documents is the one the settings go to.
  MakeFolder(temp_ / "Application Data");
  std::unique_ptr<Platform> beside = NewWin32Platform({At("docs"), At("roaming"), ""});
  ASSERT_TRUE(beside->WriteWholeFile(At("Application Data\\Pellmar.ini"), "x").ok());
  EXPECT_EQ(ReadText(temp_ / "Application Data/Pellmar.ini"), "x");
}

// The window's count asks about disks on a thread of its own while the
// window does too: the mode one thread sets and puts back is never the
// other's.
TEST_F(Win32Test, TheErrorModeIsTheCallingThreads) {
  const uint32_t before = platform_->SetErrorMode(SEM_FAILCRITICALERRORS);
  std::thread([&] { platform_->SetErrorMode(0); }).join();
  EXPECT_EQ(platform_->SetErrorMode(before), uint32_t{SEM_FAILCRITICALERRORS})
      << "another thread's mode left this one's alone";
}

}  // namespace
}  // namespace pellmar
