// Folder listing and file facts on real files: dot entries first, the
// attribute word, local DOS times, sizes, links, FIFOs and unnamable names.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "platform/dos_time.h"
#include "platform/posix/host_files.h"
#include "platform_fixture.h"

namespace pellmar {
namespace {

const FileFacts* Entry(const FolderListing& listing, const std::string& name) {
  for (const FileFacts& f : listing.entries) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

TEST_F(PlatformTest, ListingPutsDotEntriesFirstWithTheirFolderFacts) {
  MakeFolder(Stick("p"));
  WriteText(Stick("p/a.txt"), "abc");
  SetLocalWriteTime(Stick("p"), {2011, 1, 2, 3, 4, 6, 0});
  SetLocalWriteTime(Stick(""), {2012, 6, 7, 8, 9, 10, 0});
  const FolderListing listing = platform_->ListFolder("E:\\p\\*");
  ASSERT_EQ(listing.entries.size(), 3u);
  EXPECT_EQ(listing.entries[0].name, ".");
  EXPECT_EQ(listing.entries[0].attributes, uint32_t{kAttrDirectory});
  EXPECT_EQ(listing.entries[0].dos_time, PackDosTime({2011, 1, 2, 3, 4, 6, 0}));
  EXPECT_EQ(listing.entries[1].name, "..");
  EXPECT_EQ(listing.entries[1].dos_time, PackDosTime({2012, 6, 7, 8, 9, 10, 0}));
  EXPECT_EQ(listing.entries[2].name, "a.txt");
}

TEST_F(PlatformTest, ListingGivesAttributesSizesAndLocalTimesAndFlagsLinks) {
  // A zone far from UTC, so a listing in UTC instead of local time shows.
  setenv("TZ", "XST+03:30", 1);
  tzset();
  WriteText(Stick("plain.txt"), "12345");
  WriteText(Stick(".hidden"), "");
  WriteText(Stick("locked"), "x");
  chmod(Stick("locked").c_str(), 0444);
  WriteText(Stick("big"), "");
  ASSERT_EQ(truncate(Stick("big").c_str(), int64_t{5} << 30), 0);
  SetLocalWriteTime(Stick("plain.txt"), {2010, 5, 9, 0, 0, 2, 0});
  SetLocalWriteTime(Stick("locked"), {2010, 5, 9, 0, 0, 0, 0});
  WriteText(Stick("real/f"), "content");
  ASSERT_EQ(symlink(Stick("real").c_str(), Stick("folder_link").c_str()), 0);
  ASSERT_EQ(symlink(Stick("real/f").c_str(), Stick("file_link").c_str()), 0);
  ASSERT_EQ(symlink(Stick("nowhere").c_str(), Stick("broken").c_str()), 0);
  ASSERT_EQ(mkfifo(Stick("fifo").c_str(), 0644), 0);
  const FolderListing listing = platform_->ListFolder("E:\\*");
  const struct {
    const char* name;
    uint32_t attributes;
    int64_t size;
  } expected[] = {
      {"real", kAttrDirectory, 0},
      {"plain.txt", kAttrArchive, 5},
      {".hidden", kAttrArchive | kAttrHidden, 0},
      {"locked", kAttrArchive | kAttrReadOnly, 1},
      {"big", kAttrArchive, int64_t{5} << 30},  // beyond 32 bits
      {"folder_link", kAttrDirectory | kAttrReparsePoint, 0},
      {"file_link", kAttrArchive | kAttrReparsePoint, 7},
      {"broken", kAttrDevice | kAttrReparsePoint, 0},
      {"fifo", kAttrDevice, 0},
  };
  for (const auto& e : expected) {
    const FileFacts* facts = Entry(listing, e.name);
    ASSERT_NE(facts, nullptr) << e.name;
    EXPECT_EQ(facts->attributes, e.attributes) << e.name;
    EXPECT_EQ(facts->size, e.size) << e.name;
  }
  // Two seconds apart on the local calendar: one DOS step apart.
  EXPECT_EQ(Entry(listing, "plain.txt")->dos_time, PackDosTime({2010, 5, 9, 0, 0, 2, 0}));
  EXPECT_EQ(Entry(listing, "locked")->dos_time, PackDosTime({2010, 5, 9, 0, 0, 0, 0}));
  EXPECT_EQ(platform_->FindFile("E:\\plain.txt")->dos_time, Entry(listing, "plain.txt")->dos_time);
}

// A big folder is looked at in batches, on two threads: every entry must
// still come back once, in the folder's own order, with its own facts.
TEST_F(PlatformTest, BigFolderIsListedWholeInItsOwnOrderWithEachEntrysFacts) {
  constexpr int kFiles = 700;  // more than two batches
  for (int i = 0; i < kFiles; ++i) {
    WriteText(Stick("big/" + std::to_string(i)), std::string(i, 'x'));
    if (i % 100 == 0) MakeFolder(Stick("big/folder" + std::to_string(i)));
  }
  ASSERT_EQ(symlink(Stick("big/7").c_str(), Stick("big/link").c_str()), 0);
  std::vector<std::string> host_order;
  DIR* folder = opendir(Stick("big").c_str());
  ASSERT_NE(folder, nullptr);
  while (const dirent* entry = readdir(folder)) host_order.push_back(entry->d_name);
  closedir(folder);
  host_order.erase(std::remove_if(host_order.begin(), host_order.end(),
                                  [](const std::string& n) { return n == "." || n == ".."; }),
                   host_order.end());
  const FolderListing listing = platform_->ListFolder("E:\\big\\*");
  ASSERT_EQ(listing.entries.size(), host_order.size() + 2);
  for (size_t i = 0; i < host_order.size(); ++i) {
    const FileFacts& facts = listing.entries[i + 2];
    ASSERT_EQ(facts.name, host_order[i]);
    if (facts.name == "link") {
      EXPECT_EQ(facts.attributes, kAttrArchive | kAttrReparsePoint);
      EXPECT_EQ(facts.size, 7);
    } else if (facts.name.rfind("folder", 0) == 0) {
      EXPECT_EQ(facts.attributes, uint32_t{kAttrDirectory}) << facts.name;
    } else {
      EXPECT_EQ(facts.size, std::stoi(facts.name)) << facts.name;
    }
  }
}

TEST_F(PlatformTest, ListingReportsNamesWithoutNamespaceSpelling) {
  WriteText(Stick("back\\slash"), "");
  WriteText(Stick("co:lon"), "");
  WriteText(Stick("fine"), "");
  const FolderListing listing = platform_->ListFolder("E:\\*");
  EXPECT_EQ(listing.entries.size(), 3u) << "\".\", \"..\" and fine";
  EXPECT_NE(Entry(listing, "fine"), nullptr);
  std::vector<std::string> unnamable = listing.unnamable;
  std::sort(unnamable.begin(), unnamable.end());
  EXPECT_EQ(unnamable, (std::vector<std::string>{Stick("back\\slash"), Stick("co:lon")}));
}

// A copy cut short by a kill leaves its scratch file: never listed as
// data, never removed by a listing, and cleared when asked unless a live
// copy holds it; a version that was moved aside goes to the trash. A user's
// file that merely looks like one is data.
TEST_F(PlatformTest, ScratchFilesAreHiddenAndClearedOnlyWhenAsked) {
  const std::vector<std::string> look_alikes = {".pellmar-ignore", ".pellmar-backup.tmp",
                                                ".~pellmar-0123.partial"};
  for (const std::string& name : look_alikes) WriteText(Stick("p/" + name), "a user's file");
  WriteText(Stick("p/.~pellmar-00000000000000aa.partial"), "half a copy");
  WriteText(Stick("p/.~pellmar-00000000000000bb.partial"), "a copy under way");
  WriteText(Stick("p/.~pellmar-00000000000000cc.replaced"), "a version moved aside");
  const int live = open(Stick("p/.~pellmar-00000000000000bb.partial").c_str(), O_RDONLY);
  ASSERT_EQ(flock(live, LOCK_EX), 0);
  FolderHandle p;
  ASSERT_TRUE(platform_->OpenFolderAt("E:\\p", &p).ok());
  const FolderListing listing = platform_->ListOpenFolder(*p);
  EXPECT_EQ(listing.entries.size(), 2 + look_alikes.size());
  EXPECT_EQ(listing.scratch.size(), 3u);
  EXPECT_EQ(HostNames(Stick("p")).size(), 3 + look_alikes.size()) << "a listing removes nothing";

  platform_->ClearDebris(*p, listing.scratch);
  std::vector<std::string> left = look_alikes;
  left.push_back(".~pellmar-00000000000000bb.partial");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(HostNames(Stick("p")), left);
  EXPECT_EQ(HostNames(ns_.home() + "/.local/share/Trash/files"),
            std::vector<std::string>{".~pellmar-00000000000000cc.replaced"});
  close(live);
}

TEST_F(PlatformTest, ListingOfMissingFoldersAndMasks) {
  EXPECT_EQ(platform_->ListFolder("E:\\missing\\*").status.code, kErrorPathNotFound);
  EXPECT_TRUE(platform_->ListFolder("E:\\missing\\*").entries.empty());
  EXPECT_TRUE(platform_->ListFolder("Q:\\*").entries.empty());
  EXPECT_TRUE(platform_->ListFolder("E:\\").entries.empty());
  EXPECT_FALSE(platform_->FindFile("E:\\missing"));
  EXPECT_FALSE(platform_->FindFile("E:\\"));
  WriteText(Stick("f"), "");
  EXPECT_EQ(platform_->ListFolder("e:*").entries.size(), 3u);  // ".", ".." and f
  struct Case {
    const char* mask;
    const char* name;
    bool matches;
  } cases[] = {
      {"*", "anything", true},   {"*.*", "noext", true},     {"*.TXT", "a.txt", true},
      {"a?c", "abc", true},      {"a?c", "ac", false},       {"*.txt", "a.txt.bak", false},
      {"*a*b", "xxaybab", true}, {"*a*b", "xxaybac", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesMask(c.mask, c.name), c.matches) << c.mask << " vs " << c.name;
  }
}

}  // namespace
}  // namespace pellmar
