// Folder listing and file facts on real files: dot entries first, the
// attribute word, local DOS times, sizes, links, FIFOs and unnamable names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "platform/dos_time.h"
#include "platform/posix/host_files.h"
#include "temp_tree_util.h"

namespace pellmar {
namespace {

class ListingTest : public ::testing::Test {
 protected:
  const FileFacts* Entry(const FolderListing& listing, const std::string& name) {
    for (const FileFacts& f : listing.entries) {
      if (f.name == name) return &f;
    }
    return nullptr;
  }

  testing::TempTree tree_;
  std::unique_ptr<Platform> platform_ = testing::TreePlatform(tree_);
};

TEST_F(ListingTest, DotEntriesComeFirstWithTheirFolderFacts) {
  testing::MakeFolder(tree_ / "stick/p");
  testing::WriteText(tree_ / "stick/p/a.txt", "abc");
  testing::SetLocalWriteTime(tree_ / "stick/p", {2011, 1, 2, 3, 4, 6, 0});
  testing::SetLocalWriteTime(tree_ / "stick", {2012, 6, 7, 8, 9, 10, 0});
  const FolderListing listing = platform_->ListFolder("E:\\p\\*");
  ASSERT_EQ(listing.entries.size(), 3u);
  EXPECT_EQ(listing.entries[0].name, ".");
  EXPECT_EQ(listing.entries[0].attributes, uint32_t{kAttrDirectory});
  EXPECT_EQ(listing.entries[0].dos_time, PackDosTime({2011, 1, 2, 3, 4, 6, 0}));
  EXPECT_EQ(listing.entries[1].name, "..");
  EXPECT_EQ(listing.entries[1].dos_time, PackDosTime({2012, 6, 7, 8, 9, 10, 0}));
  EXPECT_EQ(listing.entries[2].name, "a.txt");
}

TEST_F(ListingTest, AttributeWordSizeAndTime) {
  // A zone far from UTC, so a listing in UTC instead of local time shows.
  setenv("TZ", "XST+03:30", 1);
  tzset();
  testing::MakeFolder(tree_ / "stick/sub");
  testing::WriteText(tree_ / "stick/plain.txt", "12345");
  testing::WriteText(tree_ / "stick/.hidden", "");
  testing::WriteText(tree_ / "stick/locked", "x");
  chmod((tree_ / "stick/locked").c_str(), 0444);
  testing::WriteText(tree_ / "stick/big", "");
  ASSERT_EQ(truncate((tree_ / "stick/big").c_str(), int64_t{5} << 30), 0);
  testing::SetLocalWriteTime(tree_ / "stick/plain.txt", {2010, 5, 9, 0, 0, 2, 0});
  testing::SetLocalWriteTime(tree_ / "stick/locked", {2010, 5, 9, 0, 0, 0, 0});
  const FolderListing listing = platform_->ListFolder("E:\\*");
  struct Expect {
    const char* name;
    uint32_t attributes;
    int64_t size;
  } expected[] = {
      {"sub", kAttrDirectory, 0},
      {"plain.txt", kAttrArchive, 5},
      {".hidden", kAttrArchive | kAttrHidden, 0},
      {"locked", kAttrArchive | kAttrReadOnly, 1},
      {"big", kAttrArchive, int64_t{5} << 30},  // beyond 32 bits
  };
  for (const Expect& e : expected) {
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

TEST_F(ListingTest, LinksAndSpecialFilesAreFlaggedNotFollowed) {
  testing::MakeFolder(tree_ / "stick/real");
  testing::WriteText(tree_ / "stick/real/f", "content");
  ASSERT_EQ(symlink((tree_ / "stick/real").c_str(), (tree_ / "stick/folder_link").c_str()), 0);
  ASSERT_EQ(symlink((tree_ / "stick/real/f").c_str(), (tree_ / "stick/file_link").c_str()), 0);
  ASSERT_EQ(symlink((tree_ / "stick/nowhere").c_str(), (tree_ / "stick/broken").c_str()), 0);
  ASSERT_EQ(mkfifo((tree_ / "stick/fifo").c_str(), 0644), 0);
  const FolderListing listing = platform_->ListFolder("E:\\*");
  struct Expect {
    const char* name;
    uint32_t attributes;
    int64_t size;
  } expected[] = {
      {"folder_link", kAttrDirectory | kAttrReparsePoint, 0},
      {"file_link", kAttrArchive | kAttrReparsePoint, 7},
      {"broken", kAttrDevice | kAttrReparsePoint, 0},
      {"fifo", kAttrDevice, 0},
  };
  for (const Expect& e : expected) {
    const FileFacts* facts = Entry(listing, e.name);
    ASSERT_NE(facts, nullptr) << e.name;
    EXPECT_EQ(facts->attributes, e.attributes) << e.name;
    EXPECT_EQ(facts->size, e.size) << e.name;
  }
}

TEST_F(ListingTest, NamesWithoutNamespaceSpellingAreReportedNotListed) {
  testing::WriteText(tree_ / "stick/back\\slash", "");
  testing::WriteText(tree_ / "stick/co:lon", "");
  testing::WriteText(tree_ / "stick/fine", "");
  const FolderListing listing = platform_->ListFolder("E:\\*");
  std::vector<std::string> names;
  for (const FileFacts& f : listing.entries) names.push_back(f.name);
  EXPECT_EQ(names.size(), 3u);
  EXPECT_NE(std::find(names.begin(), names.end(), "fine"), names.end());
  std::vector<std::string> unnamable = listing.unnamable;
  std::sort(unnamable.begin(), unnamable.end());
  EXPECT_EQ(unnamable,
            (std::vector<std::string>{tree_ / "stick/back\\slash", tree_ / "stick/co:lon"}));
}

TEST_F(ListingTest, MissingFoldersAndMasks) {
  EXPECT_TRUE(platform_->ListFolder("E:\\missing\\*").entries.empty());
  EXPECT_TRUE(platform_->ListFolder("Q:\\*").entries.empty());
  EXPECT_TRUE(platform_->ListFolder("E:\\").entries.empty());
  EXPECT_FALSE(platform_->FindFile("E:\\missing"));
  EXPECT_FALSE(platform_->FindFile("E:\\"));
  testing::WriteText(tree_ / "stick/f", "");
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
