// Folder creation and removal, deletion, whole-file reads and the atomic
// replace, on real folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/posix/posix_platform.h"
#include "platform_fixture.h"

namespace pellmar {
namespace {

TEST_F(PlatformTest, CreateAndRemoveFollowTheWindowsRules) {
  EXPECT_EQ(platform_->CreateFolder("E:\\a\\b").code, kErrorPathNotFound);
  EXPECT_TRUE(platform_->CreateFolder("E:\\a").ok());
  EXPECT_EQ(platform_->CreateFolder("E:\\a").code, kErrorAlreadyExists);
  EXPECT_TRUE(platform_->ForceFolders("E:\\a\\b\\c\\").ok());
  EXPECT_TRUE(platform_->ForceFolders("E:\\a\\b\\c").ok());  // already there
  EXPECT_TRUE(platform_->FolderExists("e:\\A\\..\\a\\b\\c"));
  WriteText(Stick("a/b/c/f"), "x");
  EXPECT_FALSE(platform_->FileExists("E:\\a\\b\\c"));
  EXPECT_TRUE(platform_->FileExists("E:\\a\\b\\c\\f"));
  EXPECT_EQ(platform_->ForceFolders("E:\\a\\b\\c\\f\\g").code, kErrorAlreadyExists);
  EXPECT_EQ(platform_->RemoveFolder("E:\\a\\b\\c").code, kErrorDirNotEmpty);
  EXPECT_EQ(platform_->RemoveFile("E:\\a\\b\\c").code, kErrorAccessDenied);
  EXPECT_TRUE(platform_->RemoveFile("E:\\a\\b\\c\\f").ok());
  EXPECT_EQ(platform_->RemoveFile("E:\\a\\b\\c\\f").code, kErrorFileNotFound);
  EXPECT_TRUE(platform_->RemoveFolder("E:\\a\\b\\c").ok());
  EXPECT_FALSE(platform_->FolderExists("E:\\a\\b\\c"));
}

TEST_F(PlatformTest, MappedFolderThatIsGoneIsNeverRecreated) {
  HostSettings settings = TreeSettings(ns_);
  settings.drive_overrides = "G:=" + (ns_ / "gone");
  EXPECT_EQ(NewPosixPlatform(settings)->ForceFolders("G:\\x\\y").code, kErrorNotReady);
  EXPECT_FALSE(HostExists(ns_ / "gone"));
}

TEST_F(PlatformTest, ReadWholeFileRefusesWhatIsNoRegularFile) {
  std::string contents = "stale";
  EXPECT_EQ(platform_->ReadWholeFile("E:\\absent.ini", &contents).code, kErrorFileNotFound);
  EXPECT_TRUE(contents.empty());
  ASSERT_EQ(mkfifo(Stick("fifo.ini").c_str(), 0644), 0);
  EXPECT_FALSE(platform_->ReadWholeFile("E:\\fifo.ini", &contents).ok());
  WriteText(Stick("a.ini"), std::string("a\0b\r\n", 5));
  ASSERT_TRUE(platform_->ReadWholeFile("E:\\a.ini", &contents).ok());
  EXPECT_EQ(contents, std::string("a\0b\r\n", 5));
}

TEST_F(PlatformTest, WriteWholeFileSwapsWholeFilesAndKeepsLinksAndModes) {
  WriteText(Stick("real.ini"), "old");
  chmod(Stick("real.ini").c_str(), 0640);
  ASSERT_EQ(symlink("real.ini", Stick("link.ini").c_str()), 0);
  ASSERT_TRUE(platform_->WriteWholeFile("E:\\link.ini", "new").ok());
  EXPECT_EQ(ReadText(Stick("real.ini")), "new");
  struct stat info;
  ASSERT_EQ(lstat(Stick("link.ini").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(Stick("real.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  MakeFolder(Stick("dir.ini"));
  EXPECT_FALSE(platform_->WriteWholeFile("E:\\dir.ini", "x").ok());
  EXPECT_EQ(platform_->WriteWholeFile("E:\\no\\such.ini", "x").code, kErrorPathNotFound);
  EXPECT_EQ(HostNames(Stick("")), (std::vector<std::string>{"dir.ini", "link.ini", "real.ini"}));
}

}  // namespace
}  // namespace pellmar
