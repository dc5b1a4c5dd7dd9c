// The profile facility's write-back where only POSIX hosts let a test see
// it: the same file kept (its inode) when nothing changed, and a full disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/ini_file.h"
#include "platform_fixture.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

using IniFilePosixTest = PlatformTest;

TEST_F(IniFilePosixTest, MissingFileReadsAsEmptyAndIsCreatedOnUpdate) {
  IniFile ini(*platform_, "E:\\New.ini");
  EXPECT_EQ(ini.ReadString("S", "K", "d"), "d");
  ini.WriteInteger("Setting", "Loaded", 1);
  ini.WriteBool("Setting", "AutoUmount", false);
  ini.WriteFloat("Settings", "Version", 1.1);
  ASSERT_TRUE(ini.UpdateFile().ok());
  EXPECT_EQ(ReadText(Stick("New.ini")),
            "[Setting]\r\nLoaded=1\r\nAutoUmount=0\r\n[Settings]\r\nVersion=1.1\r\n");
  // The same values again leave the file alone: not even rewritten.
  const auto inode = [&] {
    struct stat info {};
    stat(Stick("New.ini").c_str(), &info);
    return info.st_ino;
  };
  const ino_t before = inode();
  IniFile again(*platform_, "E:\\New.ini");
  again.WriteInteger("Setting", "Loaded", 1);
  ASSERT_TRUE(again.UpdateFile().ok());
  EXPECT_EQ(inode(), before);
  again.WriteInteger("Setting", "Loaded", 0);
  ASSERT_TRUE(again.UpdateFile().ok());
  EXPECT_NE(inode(), before);
}

TEST_F(IniFilePosixTest, FailedFlushLeavesTheOldFileWhole) {
  MakeFolder(Stick("full"));
  TinyTmpfs tmpfs(Stick("full"), 64 * 1024);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  const std::string old_contents = "[Setting]\r\nLoaded=1\r\n";
  WriteText(Stick("full/Pellmar.ini"), old_contents);
  IniFile ini(*platform_, "E:\\full\\Pellmar.ini");
  ini.WriteString("Setting", "HomeFolder", std::string(200000, 'h'));
  EXPECT_FALSE(ini.UpdateFile().ok());
  EXPECT_EQ(ReadText(Stick("full/Pellmar.ini")), old_contents);
  EXPECT_EQ(HostNames(Stick("full")), std::vector<std::string>{"Pellmar.ini"});
}

}  // namespace
}  // namespace pellmar
