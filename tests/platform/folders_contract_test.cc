// Folder creation and removal, whole-file reads and writes, and copies on
// real folders, as both platforms do them: what each keeps, that a failure
// leaves the old file exactly as it was with no scratch file behind, and
// that a folder is entered only where it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform_contract.h"
#include "support/handle_copy.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

TEST_P(PlatformContract, FoldersAreMadeAndRemovedByTheWindowsRules) {
  EXPECT_EQ(platform_.CreateFolder("E:\\a\\b").code, kErrorPathNotFound);
  EXPECT_TRUE(platform_.CreateFolder("E:\\a").ok());
  EXPECT_EQ(platform_.CreateFolder("E:\\a").code, kErrorAlreadyExists);
  EXPECT_TRUE(platform_.ForceFolders("E:\\a\\b\\c\\").ok());
  EXPECT_TRUE(platform_.ForceFolders("E:\\a\\b\\c").ok());  // already there
  EXPECT_TRUE(platform_.FolderExists("e:\\A\\..\\a\\b\\c"));
  WriteText(Stick("a/b/c/f"), "x");
  EXPECT_FALSE(platform_.FileExists("E:\\a\\b\\c"));
  EXPECT_TRUE(platform_.FileExists("E:\\a\\b\\c\\f"));
  EXPECT_FALSE(platform_.ForceFolders("E:\\a\\b\\c\\f\\g").ok());
  FolderHandle b;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\a\\b", &b).ok());
  EXPECT_EQ(platform_.RemoveEmptyFolderIn(*b, "c").code, kErrorDirNotEmpty);
  EXPECT_FALSE(RemoveByHandle(platform_, "E:\\a\\b\\c", false).ok()) << "a folder is no file";
  EXPECT_TRUE(RemoveByHandle(platform_, "E:\\a\\b\\c\\f", false).ok());
  EXPECT_EQ(RemoveByHandle(platform_, "E:\\a\\b\\c\\f", false).code, kErrorFileNotFound);
  EXPECT_TRUE(platform_.RemoveEmptyFolderIn(*b, "c").ok());
  EXPECT_FALSE(platform_.FolderExists("E:\\a\\b\\c"));
  // A drive whose medium is out: its folder is never made anew.
  EXPECT_EQ(platform_.ForceFolders("F:\\x\\y").code, kErrorNotReady);
  EXPECT_FALSE(HostExists(ns_.drive('F')));
}

TEST_P(PlatformContract, WholeFilesAreReadAsTheyAreAndSwappedWhole) {
  std::string contents = "stale";
  EXPECT_EQ(platform_.ReadWholeFile("E:\\absent.ini", &contents).code, kErrorFileNotFound);
  EXPECT_TRUE(contents.empty());
  WriteText(Stick("a.ini"), std::string("a\0b\r\n", 5));
  ASSERT_TRUE(platform_.ReadWholeFile("E:\\a.ini", &contents).ok());
  EXPECT_EQ(contents, std::string("a\0b\r\n", 5));
  ASSERT_TRUE(platform_.WriteWholeFile("E:\\a.ini", "new").ok());
  EXPECT_EQ(ReadText(Stick("a.ini")), "new");
  MakeFolder(Stick("dir.ini"));
  EXPECT_FALSE(platform_.WriteWholeFile("E:\\dir.ini", "x").ok());
  EXPECT_EQ(platform_.WriteWholeFile("E:\\no\\such.ini", "x").code, kErrorPathNotFound);
  EXPECT_EQ(HostNames(Stick("")), (std::vector<std::string>{"a.ini", "dir.ini"}));
  // A settings file behind a link: the link stays, its target takes the
  // text and keeps its mode.
  host().SetMode(Stick("a.ini"), 0640);
  SKIP_UNLESS_DONE(host().MakeLink(Stick("link.ini"), Stick("a.ini"), false));
  ASSERT_TRUE(platform_.WriteWholeFile("E:\\link.ini", "newer").ok());
  EXPECT_EQ(ReadText(Stick("a.ini")), "newer");
  EXPECT_TRUE(std::filesystem::is_symlink(HostFsPath(Stick("link.ini"))));
  EXPECT_EQ(host().Mode(Stick("a.ini")).value_or(0640), 0640u);
}

// A file written from pieces holds them joined, whatever their sizes,
// and none at all makes an empty file.
TEST_P(PlatformContract, AFileWrittenFromPiecesHoldsThemInOrder) {
  const std::string large(3 << 20, 'x');
  // More pieces than one write call takes, a large one among them.
  std::vector<std::string_view> many(1000, "ab");
  many[300] = large;
  std::string many_joined;
  for (const std::string_view piece : many) many_joined += piece;
  const struct Case {
    std::vector<std::string_view> pieces;
    std::string joined;
  } cases[] = {
      {{}, ""},
      {{"one", "", "two\n"}, "onetwo\n"},
      {{"[", large, "]"}, "[" + large + "]"},
      {many, many_joined},
  };
  WriteText(Stick("p.txt"), "old");
  for (const Case& c : cases) {
    ASSERT_TRUE(platform_.WriteWholeFile("E:\\p.txt", c.pieces).ok()) << c.joined.size();
    EXPECT_EQ(ReadText(Stick("p.txt")), c.joined) << c.pieces.size() << " pieces";
  }
}

TEST_P(PlatformContract, CopyKeepsContentTimeAndModeAndFollowsAFileLink) {
  std::string contents;
  for (int i = 0; i < 3 << 20; ++i) contents += static_cast<char>(i * 7 + i / 9973);
  WriteText(Documents("src.bin"), contents);
  // Group write is what the usual mask takes from a new file: the copy
  // must have it all the same.
  host().SetMode(Documents("src.bin"), 0660);
  SetLocalWriteTime(Documents("src.bin"), {2010, 5, 9, 0, 0, 2, 0});
  WriteText(Stick("src.bin"), "old, longer than nothing");
  ASSERT_TRUE(CopyByHandle(platform_, docs_ + "\\src.bin", "E:\\").ok());
  EXPECT_EQ(ReadText(Stick("src.bin")), contents);
  EXPECT_EQ(host().Mode(Stick("src.bin")), host().Mode(Documents("src.bin")));
  const std::optional<FileFacts> copy = platform_.FindFile("E:\\src.bin");
  const std::optional<FileFacts> source = platform_.FindFile(docs_ + "\\src.bin");
  ASSERT_TRUE(copy && source);
  EXPECT_EQ(copy->write_ns / 1000000000, source->write_ns / 1000000000);
  EXPECT_EQ(copy->dos_time, source->dos_time);
  EXPECT_EQ(HostNames(Stick("")), std::vector<std::string>{"src.bin"});

  SKIP_UNLESS_DONE(host().MakeLink(Documents("link"), Documents("src.bin"), false));
  ASSERT_TRUE(CopyByHandle(platform_, docs_ + "\\link", "E:\\").ok());
  EXPECT_EQ(ReadText(Stick("link")), contents);
}

// Opening a FIFO for reading would block until a writer comes: neither a
// copy nor a whole-file read may open one, or this test never returns.
TEST_P(PlatformContract, AFifoIsNeverOpenedForReading) {
  SKIP_UNLESS_DONE(host().MakeFifo(Documents("fifo")));
  EXPECT_FALSE(CopyByHandle(platform_, docs_ + "\\fifo", "E:\\").ok());
  EXPECT_TRUE(HostNames(Stick("")).empty());
  std::string contents;
  EXPECT_FALSE(platform_.ReadWholeFile(docs_ + "\\fifo", &contents).ok());
}

TEST_P(PlatformContract, ReadOnlyFilesAreCopiedAsSuchAndNeverReplaced) {
  WriteText(Stick("kept.txt"), "old");
  host().MakeReadOnly(Stick("kept.txt"));
  MakeFolder(Stick("other"));
  // A copy of a read-only file is read-only too, and lands whole.
  ASSERT_TRUE(CopyByHandle(platform_, "E:\\kept.txt", "E:\\other").ok());
  EXPECT_EQ(platform_.FindFile("E:\\other\\kept.txt")->attributes & kAttrReadOnly,
            uint32_t{kAttrReadOnly});
  EXPECT_EQ(ReadText(Stick("other/kept.txt")), "old");
  if (host().Mode(Stick("kept.txt"))) {
    GTEST_SKIP() << "where files have modes, the folder's, not the file's, guard its name: "
                    "a read-only file is replaced and removed as any other";
  }
  WriteText(Documents("kept.txt"), "new");
  EXPECT_EQ(CopyByHandle(platform_, docs_ + "\\kept.txt", "E:\\").code, kErrorAccessDenied);
  EXPECT_EQ(RemoveByHandle(platform_, "E:\\kept.txt", false).code, kErrorAccessDenied);
  EXPECT_EQ(ReadText(Stick("kept.txt")), "old");
  EXPECT_EQ(HostNames(Stick("")), (std::vector<std::string>{"kept.txt", "other"}));
}

TEST_P(PlatformContract, CopyOntoAFullDiskKeepsTheOldTargetAndLeavesNoTemporary) {
  MakeFolder(Stick("small"));
  TinyTmpfs tmpfs(Stick("small"), 1 << 20);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  WriteText(Stick("small/target"), "old");
  WriteText(Documents("target"), std::string(2 << 20, 'b'));
  const Status status = CopyByHandle(platform_, docs_ + "\\target", "E:\\small");
  EXPECT_EQ(status.code, kErrorDiskFull) << status.message;
  EXPECT_EQ(ReadText(Stick("small/target")), "old");
  // The disk's trash is made before a replacement, so that one it cannot
  // keep is refused before anything moves.
  const std::vector<std::string> names = HostNames(Stick("small"));
  EXPECT_EQ(names.size(), 2u);
  EXPECT_EQ(names.back(), "target");
}

// The version a copy replaces or a removal takes goes to the trash of its
// disk (every drive of this test has one), unless not wanted.
TEST_P(PlatformContract, AReplacedOrRemovedVersionGoesToTheTrash) {
  WriteText(Documents("f.txt"), "new");
  WriteText(Stick("t/f.txt"), "old");
  CopyResult result;
  ASSERT_TRUE(CopyByHandle(platform_, docs_ + "\\f.txt", "E:\\t", true, {}, &result).ok());
  EXPECT_TRUE(result.replaced_kept) << result.warning;
  EXPECT_EQ(ReadText(Stick("t/f.txt")), "new");
  ASSERT_TRUE(RemoveByHandle(platform_, "E:\\t\\f.txt", true).ok());
  WriteText(Stick("t/g.txt"), "gone for good");
  WriteText(Documents("g.txt"), "newer");
  ASSERT_TRUE(CopyByHandle(platform_, docs_ + "\\g.txt", "E:\\t", false, {}, &result).ok());
  EXPECT_FALSE(result.replaced_kept) << "switched off: not kept";
  EXPECT_EQ(HostNames(Stick("t")), std::vector<std::string>{"g.txt"});
  EXPECT_EQ(ReadText(Stick("t/g.txt")), "newer");
  const std::string trashed = host().TrashedFiles(ns_);
  if (trashed.empty()) return;
  EXPECT_EQ(HostNames(trashed).size(), 2u);
  EXPECT_EQ(ReadText(trashed + "/f.txt"), "old");
  const std::string record = ReadText(trashed + "/../info/f.txt.trashinfo");
  EXPECT_NE(record.find("/t/f.txt\n"), std::string::npos) << record;
}

// A folder is entered only through its own entry: never through a link or
// into another file system, and a folder swapped for a link once it is open
// keeps every write in the folder that was opened.
TEST_P(PlatformContract, FoldersAreOpenedOnlyWhereTheyAre) {
  MakeFolder(Stick("root/real"));
  FolderHandle root, child;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\root", &root).ok());
  // A name the namespace cannot spell ("*" is one on Windows only).
  for (const char* name :
       {"..", ".", "", "a\\b", "a/b", "c:", platform_.IsCaseBlind(*root) ? "*" : ""}) {
    EXPECT_EQ(platform_.OpenChildFolder(*root, name, &child).code, kErrorInvalidName) << name;
  }
  MakeFolder(Stick("root/mnt"));
  TinyTmpfs tmpfs(Stick("root/mnt"), 1 << 20);
  if (tmpfs.mounted()) {
    EXPECT_EQ(platform_.OpenChildFolder(*root, "mnt", &child).code, kErrorCantResolveFilename);
  }
  ASSERT_TRUE(platform_.OpenChildFolder(*root, "real", &child).ok());
  SKIP_UNLESS_DONE(host().MakeLink(Stick("root/link"), Documents(), true));
  WriteText(Documents("kept"), "x");
  FolderHandle through;
  EXPECT_EQ(platform_.OpenChildFolder(*root, "link", &through).code, kErrorCantResolveFilename);
  EXPECT_EQ(platform_.MakeChildFolder(*root, "link", &through).code, kErrorCantResolveFilename);
  EXPECT_FALSE(platform_.RemoveEmptyFolderIn(*root, "link").ok());
  EXPECT_TRUE(HostExists(Stick("root/link")));
  EXPECT_NE(platform_.LookIn(*root, "link")->attributes & kAttrReparsePoint, 0u);

  std::filesystem::rename(HostFsPath(Stick("root/real")), HostFsPath(Stick("root/moved")));
  ASSERT_EQ(host().MakeLink(Stick("root/real"), Documents(), true), "");
  WriteText(Stick("source.txt"), "x");
  FolderHandle stick;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\", &stick).ok());
  CopyResult result;
  const FileFacts source = *platform_.LookIn(*stick, "source.txt");
  ASSERT_TRUE(platform_.CopyFile({stick.get(), source, child.get(), {}, true}, &result).ok());
  EXPECT_EQ(HostNames(Stick("root/moved")), std::vector<std::string>{"source.txt"});
  EXPECT_EQ(HostNames(Documents()), std::vector<std::string>{"kept"});
}

}  // namespace
}  // namespace pellmar
