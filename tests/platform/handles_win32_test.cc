// The Win32 platform's folders by handle on real folders: nothing is done
// to a file that changed since it was decided on, replaced versions go to
// the Recycle Bin, scratch files are hidden and cleared only when asked,
// and a junction is never entered.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/dos_time.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_api.h"
#include "support/handle_copy.h"
#include "support/namespace_fixture.h"
#include "support/win32/junction.h"

namespace pellmar {
namespace {

class HandlesTest : public NamespaceTest {
 protected:
  Platform& platform_ = ns_.platform();
  const std::string docs_ = platform_.DocumentsFolder();
};

std::wstring Wide(const std::string& host) { return HostFsPath(host).make_preferred().wstring(); }

// What a run decides on comes from the listing, and what it acts on from a
// look at the handle: both must tell one version by the same facts.
TEST_F(HandlesTest, ListingAndLookTellAFileByTheSameFacts) {
  WriteText(Stick("p/a.txt"), "12345");
  SetLocalWriteTime(Stick("p/a.txt"), {2010, 5, 9, 0, 0, 2, 0});
  MakeFolder(Stick("p/sub"));
  FolderHandle p;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\p", &p).ok());
  const FolderListing listing = platform_.ListOpenFolder(*p);
  ASSERT_EQ(listing.entries.size(), 4u);
  EXPECT_EQ(listing.entries[0].name, ".");
  EXPECT_EQ(listing.entries[1].name, "..");
  const auto listed = std::find_if(listing.entries.begin(), listing.entries.end(),
                                   [](const FileFacts& f) { return f.name == "a.txt"; });
  ASSERT_NE(listed, listing.entries.end());
  EXPECT_EQ(listed->attributes & (kAttrDirectory | kAttrReparsePoint), 0u);
  EXPECT_EQ(listed->size, 5);
  EXPECT_EQ(listed->dos_time, PackDosTime({2010, 5, 9, 0, 0, 2, 0}));
  EXPECT_EQ(listed->write_ns, int64_t{LocalSeconds({2010, 5, 9, 0, 0, 2, 0})} * 1000000000);
  // Another spelling of the name is the same entry on Windows.
  const std::optional<FileFacts> looked = platform_.LookIn(*p, "A.TXT");
  ASSERT_TRUE(looked);
  EXPECT_TRUE(platform_.IsCaseBlind(*p));
  EXPECT_EQ(looked->identity, listed->identity);
  EXPECT_EQ(looked->write_ns, listed->write_ns);
  EXPECT_EQ(looked->size, listed->size);
  EXPECT_FALSE(platform_.LookIn(*p, "absent"));
}

// On a drive with a Recycle Bin (every drive of this test is fixed), the
// version a copy replaces or a removal takes goes there, unless not wanted.
TEST_F(HandlesTest, AReplacedOrRemovedVersionGoesToTheRecycleBin) {
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
}

TEST_F(HandlesTest, FoldersAreRemovedOnlyWhenEmptyAndFilesOnlyWhenThere) {
  WriteText(Stick("a/c/f"), "x");
  FolderHandle a;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\a", &a).ok());
  EXPECT_EQ(platform_.RemoveEmptyFolderIn(*a, "c").code, kErrorDirNotEmpty);
  EXPECT_FALSE(RemoveByHandle(platform_, "E:\\a\\c", false).ok()) << "a folder is no file";
  EXPECT_TRUE(RemoveByHandle(platform_, "E:\\a\\c\\f", false).ok());
  EXPECT_EQ(RemoveByHandle(platform_, "E:\\a\\c\\f", false).code, kErrorFileNotFound);
  EXPECT_TRUE(platform_.RemoveEmptyFolderIn(*a, "c").ok());
  EXPECT_FALSE(HostExists(Stick("a/c")));
}

// A folder is entered only through its own entry, never through a junction,
// and a folder swapped for one once it is open keeps every write in the
// folder that was opened.
TEST_F(HandlesTest, FoldersAreOpenedOnlyWhereTheyAre) {
  MakeFolder(Stick("root/real"));
  FolderHandle root, child;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\root", &root).ok());
  for (const char* name : {"..", ".", "", "a\\b", "a/b", "c:", "*"}) {
    EXPECT_EQ(platform_.OpenChildFolder(*root, name, &child).code, kErrorInvalidName) << name;
  }
  ASSERT_TRUE(platform_.OpenChildFolder(*root, "real", &child).ok());
  if (!MakeJunction(Stick("root/link"), Documents())) {
    GTEST_SKIP() << "this system cannot make a junction (error " << ::GetLastError() << ")";
  }
  WriteText(Documents("kept"), "x");
  FolderHandle through;
  EXPECT_EQ(platform_.OpenChildFolder(*root, "link", &through).code, kErrorCantResolveFilename);
  EXPECT_EQ(platform_.MakeChildFolder(*root, "link", &through).code, kErrorCantResolveFilename);
  EXPECT_EQ(platform_.RemoveEmptyFolderIn(*root, "link").code, kErrorCantResolveFilename);
  EXPECT_NE(platform_.LookIn(*root, "link")->attributes & kAttrReparsePoint, 0u);

  ASSERT_TRUE(
      ::MoveFileExW(Wide(Stick("root/real")).c_str(), Wide(Stick("root/moved")).c_str(), 0));
  ASSERT_TRUE(MakeJunction(Stick("root/real"), Documents()));
  WriteText(Stick("source.txt"), "x");
  ASSERT_TRUE(CopyByHandle(platform_, "E:\\source.txt", "E:\\root").ok());
  FolderHandle stick;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\", &stick).ok());
  CopyResult result;
  const FileFacts source = *platform_.LookIn(*stick, "source.txt");
  ASSERT_TRUE(platform_.CopyFile({stick.get(), source, child.get(), {}, true}, &result).ok());
  EXPECT_EQ(HostNames(Stick("root/moved")), std::vector<std::string>{"source.txt"});
  EXPECT_EQ(HostNames(Documents()), std::vector<std::string>{"kept"});
}

// A copy cut short by a kill leaves its scratch file: never listed as
// data, never removed by a listing, and cleared when asked unless a live
// copy holds it; a version that was moved aside, alone or in the folder it
// was staged in for the Recycle Bin, goes there.
// A user's file that merely looks like one, or like the names of earlier
// versions, is data.
TEST_F(HandlesTest, ScratchFilesAreHiddenAndClearedOnlyWhenAsked) {
  const std::vector<std::string> look_alikes = {".pellmar-ignore", ".pellmar-backup.tmp",
                                                ".pellmar-AbC123", ".~pellmar-0123.partial"};
  for (const std::string& name : look_alikes) WriteText(Stick("p/" + name), "a user's file");
  WriteText(Stick("p/.~pellmar-00000000000000aa.partial"), "half a copy");
  WriteText(Stick("p/.~pellmar-00000000000000bb.partial"), "a copy under way");
  WriteText(Stick("p/.~pellmar-00000000000000cc.replaced"), "a version moved aside");
  WriteText(Stick("p/.~pellmar-00000000000000dd.replaced/f.txt"), "one on its way to the bin");
  // Held as a live copy holds it: nobody may delete it meanwhile.
  const ScopedHandle live(::CreateFileW(Wide(Stick("p/.~pellmar-00000000000000bb.partial")).c_str(),
                                        GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
  ASSERT_TRUE(live.valid());
  FolderHandle p;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\p", &p).ok());
  const FolderListing listing = platform_.ListOpenFolder(*p);
  EXPECT_EQ(listing.entries.size(), 2 + look_alikes.size());
  EXPECT_EQ(listing.scratch.size(), 4u);
  EXPECT_EQ(platform_.ListFolder("E:\\p\\*").entries.size(), 2 + look_alikes.size());
  EXPECT_EQ(HostNames(Stick("p")).size(), 4 + look_alikes.size()) << "a listing removes nothing";

  platform_.ClearDebris(*p, listing.scratch);
  std::vector<std::string> left = look_alikes;
  left.push_back(".~pellmar-00000000000000bb.partial");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(HostNames(Stick("p")), left);
}

}  // namespace
}  // namespace pellmar
