// Folder creation and removal, deletion, whole-file reads, the atomic
// replace and copies on real folders: what each keeps, that a failure
// leaves the old file exactly as it was with no scratch file behind, and
// that nothing is done to a file that changed since it was decided on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/posix_platform.h"
#include "platform_fixture.h"
#include "support/handle_copy.h"
#include "support/tiny_tmpfs.h"

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
  EXPECT_FALSE(platform_->ForceFolders("E:\\a\\b\\c\\f\\g").ok());
  FolderHandle b;
  ASSERT_TRUE(platform_->OpenFolderAt("E:\\a\\b", &b).ok());
  EXPECT_EQ(platform_->RemoveEmptyFolderIn(*b, "c").code, kErrorDirNotEmpty);
  EXPECT_FALSE(RemoveByHandle(*platform_, "E:\\a\\b\\c", false).ok()) << "a folder is no file";
  EXPECT_TRUE(RemoveByHandle(*platform_, "E:\\a\\b\\c\\f", false).ok());
  EXPECT_EQ(RemoveByHandle(*platform_, "E:\\a\\b\\c\\f", false).code, kErrorFileNotFound);
  EXPECT_TRUE(platform_->RemoveEmptyFolderIn(*b, "c").ok());
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

struct stat Stat(const std::string& host) {
  struct stat info = {};
  stat(host.c_str(), &info);
  return info;
}

TEST_F(PlatformTest, CopyKeepsContentTimeAndModeAndFollowsAFileLink) {
  std::string contents;
  for (int i = 0; i < 3 << 20; ++i) contents += static_cast<char>(i * 7 + i / 9973);
  WriteText(Documents("src.bin"), contents);
  // Group write is what the usual mask takes from a new file: the copy
  // must have it all the same.
  chmod(Documents("src.bin").c_str(), 0660);
  SetLocalWriteTime(Documents("src.bin"), {2010, 5, 9, 0, 0, 2, 0});
  WriteText(Stick("src.bin"), "old, longer than nothing");
  ASSERT_TRUE(CopyByHandle(*platform_, docs_ + "\\src.bin", "E:\\").ok());
  EXPECT_EQ(ReadText(Stick("src.bin")), contents);
  EXPECT_EQ(Stat(Stick("src.bin")).st_mode & 0777, 0660u);
  EXPECT_EQ(Stat(Stick("src.bin")).st_mtim.tv_sec, Stat(Documents("src.bin")).st_mtim.tv_sec);
  EXPECT_EQ(platform_->FindFile("E:\\src.bin")->dos_time,
            platform_->FindFile(docs_ + "\\src.bin")->dos_time);
  EXPECT_EQ(HostNames(Stick("")), std::vector<std::string>{"src.bin"});

  ASSERT_EQ(symlink("src.bin", Documents("link").c_str()), 0);
  ASSERT_TRUE(CopyByHandle(*platform_, docs_ + "\\link", "E:\\").ok());
  EXPECT_EQ(ReadText(Stick("link")), contents);
}

// Opening a FIFO for reading would block until a writer comes: the copy
// must refuse it before that, or this test never returns.
TEST_F(PlatformTest, AFifoIsNeverOpenedAsASource) {
  ASSERT_EQ(mkfifo(Documents("fifo").c_str(), 0644), 0);
  EXPECT_FALSE(CopyByHandle(*platform_, docs_ + "\\fifo", "E:\\").ok());
  EXPECT_TRUE(HostNames(Stick("")).empty());
}

TEST_F(PlatformTest, CopyOntoAFullDiskKeepsTheOldTargetAndLeavesNoTemporary) {
  MakeFolder(Stick("small"));
  TinyTmpfs tmpfs(Stick("small"), 1 << 20);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  WriteText(Stick("small/target"), "old");
  WriteText(Documents("target"), std::string(2 << 20, 'b'));
  const Status status = CopyByHandle(*platform_, docs_ + "\\target", "E:\\small");
  EXPECT_EQ(status.code, kErrorDiskFull) << status.message;
  EXPECT_EQ(ReadText(Stick("small/target")), "old");
  // The disk's trash is made before a replacement, so that one it cannot
  // keep is refused before anything moves.
  EXPECT_EQ(HostNames(Stick("small")), (std::vector<std::string>{".Trash-0", "target"}));
}

TEST_F(PlatformTest, AReplacedOrRemovedVersionGoesToTheTrash) {
  const std::string trash = ns_.home() + "/.local/share/Trash";
  WriteText(Documents("f.txt"), "new");
  WriteText(Stick("t/f.txt"), "old");
  CopyResult result;
  ASSERT_TRUE(CopyByHandle(*platform_, docs_ + "\\f.txt", "E:\\t", true, {}, &result).ok());
  EXPECT_TRUE(result.replaced_kept);
  EXPECT_EQ(ReadText(Stick("t/f.txt")), "new");
  EXPECT_EQ(ReadText(trash + "/files/f.txt"), "old");
  EXPECT_NE(ReadText(trash + "/info/f.txt.trashinfo").find("/t/f.txt\n"), std::string::npos);

  ASSERT_TRUE(RemoveByHandle(*platform_, "E:\\t\\f.txt", true).ok());
  EXPECT_EQ(HostNames(trash + "/files").size(), 2u);
  WriteText(Stick("t/g.txt"), "gone for good");
  WriteText(Documents("g.txt"), "newer");
  ASSERT_TRUE(CopyByHandle(*platform_, docs_ + "\\g.txt", "E:\\t", false, {}, &result).ok());
  EXPECT_FALSE(result.replaced_kept);
  EXPECT_EQ(HostNames(trash + "/files").size(), 2u) << "switched off: not kept";
  EXPECT_EQ(HostNames(Stick("t")), std::vector<std::string>{"g.txt"});
}

// A folder is entered only through its own entry: never through a link or
// into another file system, and a folder swapped for a link once it is open
// keeps every write in the folder that was opened.
TEST_F(PlatformTest, FoldersAreOpenedOnlyWhereTheyAre) {
  MakeFolder(Stick("root/real"));
  ASSERT_EQ(symlink(Documents().c_str(), Stick("root/link").c_str()), 0);
  FolderHandle root, child;
  ASSERT_TRUE(platform_->OpenFolderAt("E:\\root", &root).ok());
  EXPECT_EQ(platform_->OpenChildFolder(*root, "link", &child).code, kErrorCantResolveFilename);
  EXPECT_EQ(platform_->MakeChildFolder(*root, "link", &child).code, kErrorCantResolveFilename);
  EXPECT_EQ(platform_->OpenChildFolder(*root, "..", &child).code, kErrorInvalidName);
  MakeFolder(Stick("root/mnt"));
  TinyTmpfs tmpfs(Stick("root/mnt"), 1 << 20);
  if (tmpfs.mounted()) {
    EXPECT_EQ(platform_->OpenChildFolder(*root, "mnt", &child).code, kErrorCantResolveFilename);
  }

  ASSERT_TRUE(platform_->OpenChildFolder(*root, "real", &child).ok());
  ASSERT_EQ(rename(Stick("root/real").c_str(), Stick("root/moved").c_str()), 0);
  ASSERT_EQ(symlink(Documents().c_str(), Stick("root/real").c_str()), 0);
  WriteText(Stick("source.txt"), "x");
  FolderHandle stick;
  ASSERT_TRUE(platform_->OpenFolderAt("E:\\", &stick).ok());
  CopyResult result;
  const FileFacts source = *platform_->LookIn(*stick, "source.txt");
  ASSERT_TRUE(platform_->CopyFile({stick.get(), source, child.get(), {}, true}, &result).ok());
  EXPECT_EQ(HostNames(Stick("root/moved")), std::vector<std::string>{"source.txt"});
  EXPECT_FALSE(HostExists(Documents("source.txt")));
}

}  // namespace
}  // namespace pellmar
