// Folder listing and file facts on real files, as both platforms give them:
// dot entries first, the attribute word, local DOS times, sizes, links,
// masks, scratch files, and the same facts from a listing and a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dos_time.h"
#include "platform_contract.h"

namespace pellmar {
namespace {

TEST_P(PlatformContract, ListingPutsDotEntriesFirstWithTheirFolderFacts) {
  WriteText(Stick("p/a.txt"), "abc");
  SetLocalWriteTime(Stick("p"), {2011, 1, 2, 3, 4, 6, 0});
  SetLocalWriteTime(Stick(""), {2012, 6, 7, 8, 9, 10, 0});
  const FolderListing listing = platform_.ListFolder("E:\\p\\*");
  ASSERT_EQ(listing.entries.size(), 3u);
  EXPECT_EQ(listing.entries[0].name, ".");
  EXPECT_EQ(listing.entries[0].attributes, uint32_t{kAttrDirectory});
  EXPECT_EQ(listing.entries[0].dos_time, PackDosTime({2011, 1, 2, 3, 4, 6, 0}));
  EXPECT_EQ(listing.entries[1].name, "..");
  EXPECT_EQ(listing.entries[1].dos_time, PackDosTime({2012, 6, 7, 8, 9, 10, 0}));
  EXPECT_EQ(listing.entries[2].name, "a.txt");
}

struct Expected {
  const char* name;
  uint32_t attributes;
  int64_t size;
};

void ExpectListed(const FolderListing& listing, const std::vector<Expected>& expected) {
  for (const Expected& e : expected) {
    const FileFacts* facts = Entry(listing, e.name);
    ASSERT_NE(facts, nullptr) << e.name;
    EXPECT_EQ(facts->attributes, e.attributes) << e.name;
    EXPECT_EQ(facts->size, e.size) << e.name;
  }
}

TEST_P(PlatformContract, ListingGivesAttributesSizesAndLocalTimesAndFlagsLinks) {
  const std::shared_ptr<void> zone = host().UseZoneFarFromUtc();
  WriteText(Stick("plain.txt"), "12345");
  WriteText(Stick(".hidden"), "");
  WriteText(Stick("locked"), "x");
  host().MakeReadOnly(Stick("locked"));
  WriteText(Stick("big"), "");
  std::filesystem::resize_file(HostFsPath(Stick("big")), int64_t{5} << 30);
  SetLocalWriteTime(Stick("plain.txt"), {2010, 5, 9, 0, 0, 2, 0});
  SetLocalWriteTime(Stick("locked"), {2010, 5, 9, 0, 0, 0, 0});
  WriteText(Stick("real/f"), "content");
  FolderListing listing = platform_.ListFolder("E:\\*");
  ExpectListed(listing, {{"real", kAttrDirectory, 0},
                         {"plain.txt", kAttrArchive, 5},
                         {".hidden", kAttrArchive | kAttrHidden, 0},
                         {"locked", kAttrArchive | kAttrReadOnly, 1},
                         {"big", kAttrArchive, int64_t{5} << 30}});  // beyond 32 bits
  // Two seconds apart on the local calendar: one DOS step apart.
  EXPECT_EQ(Entry(listing, "plain.txt")->dos_time, PackDosTime({2010, 5, 9, 0, 0, 2, 0}));
  EXPECT_EQ(Entry(listing, "locked")->dos_time, PackDosTime({2010, 5, 9, 0, 0, 0, 0}));
  EXPECT_EQ(platform_.FindFile("E:\\plain.txt")->dos_time, Entry(listing, "plain.txt")->dos_time);

  SKIP_UNLESS_DONE(host().MakeLink(Stick("folder_link"), Stick("real"), true));
  SKIP_UNLESS_DONE(host().MakeLink(Stick("file_link"), Stick("real/f"), false));
  SKIP_UNLESS_DONE(host().MakeLink(Stick("broken"), Stick("nowhere"), false));
  SKIP_UNLESS_DONE(host().MakeFifo(Stick("fifo")));
  listing = platform_.ListFolder("E:\\*");
  ExpectListed(listing, {{"folder_link", kAttrDirectory | kAttrReparsePoint, 0},
                         {"file_link", kAttrArchive | kAttrReparsePoint, 7},
                         {"broken", kAttrDevice | kAttrReparsePoint, 0},
                         {"fifo", kAttrDevice, 0}});
}

// What a run decides on comes from the listing, and what it acts on from a
// look at the handle: both must tell one version by the same facts.
TEST_P(PlatformContract, ListingAndLookTellAFileByTheSameFacts) {
  WriteText(Stick("p/a.txt"), "12345");
  SetLocalWriteTime(Stick("p/a.txt"), {2010, 5, 9, 0, 0, 2, 0});
  MakeFolder(Stick("p/sub"));
  FolderHandle p;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\p", &p).ok());
  const FolderListing listing = platform_.ListOpenFolder(*p);
  ASSERT_EQ(listing.entries.size(), 4u);
  const FileFacts* listed = Entry(listing, "a.txt");
  ASSERT_NE(listed, nullptr);
  EXPECT_EQ(listed->attributes & (kAttrDirectory | kAttrReparsePoint), 0u);
  EXPECT_EQ(listed->size, 5);
  EXPECT_EQ(listed->dos_time, PackDosTime({2010, 5, 9, 0, 0, 2, 0}));
  EXPECT_EQ(listed->write_ns, int64_t{LocalSeconds({2010, 5, 9, 0, 0, 2, 0})} * 1000000000);
  // Where names are case-blind, another spelling is the same entry.
  const std::optional<FileFacts> looked =
      platform_.LookIn(*p, platform_.IsCaseBlind(*p) ? "A.TXT" : "a.txt");
  ASSERT_TRUE(looked);
  EXPECT_EQ(looked->identity, listed->identity);
  EXPECT_EQ(looked->write_ns, listed->write_ns);
  EXPECT_EQ(looked->size, listed->size);
  EXPECT_FALSE(platform_.LookIn(*p, "absent"));
}

// A big folder is looked at in batches (on two threads where the host
// lists that way): every entry must still come back once, in the folder's
// own order, with its own facts.
TEST_P(PlatformContract, BigFolderIsListedWholeInItsOwnOrderWithEachEntrysFacts) {
  constexpr int kFiles = 700;  // more than two batches
  for (int i = 0; i < kFiles; ++i) {
    WriteText(Stick("big/" + std::to_string(i)), std::string(i, 'x'));
    if (i % 100 == 0) MakeFolder(Stick("big/folder" + std::to_string(i)));
  }
  const bool linked = host().MakeLink(Stick("big/link"), Stick("big/7"), false).empty();
  std::vector<std::string> host_order;
  for (const auto& entry : std::filesystem::directory_iterator(HostFsPath(Stick("big")))) {
    host_order.push_back(Utf8Path(entry.path().filename()));
  }
  const FolderListing listing = platform_.ListFolder("E:\\big\\*");
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
  EXPECT_EQ(Entry(listing, "link") != nullptr, linked);
}

// A copy cut short by a kill leaves its scratch file: never listed as
// data, never removed by a listing, and cleared when asked unless a live
// copy holds it; a version that was moved aside, alone or in the folder it
// was staged in for the trash, goes to the trash. A user's file that merely
// looks like one is data.
TEST_P(PlatformContract, ScratchFilesAreHiddenAndClearedOnlyWhenAsked) {
  const std::vector<std::string> look_alikes = {".pellmar-ignore", ".pellmar-backup.tmp",
                                                ".pellmar-AbC123", ".~pellmar-0123.partial"};
  for (const std::string& name : look_alikes) WriteText(Stick("p/" + name), "a user's file");
  WriteText(Stick("p/.~pellmar-00000000000000aa.partial"), "half a copy");
  WriteText(Stick("p/.~pellmar-00000000000000bb.partial"), "a copy under way");
  WriteText(Stick("p/.~pellmar-00000000000000cc.replaced"), "a version moved aside");
  WriteText(Stick("p/.~pellmar-00000000000000dd.replaced/f.txt"), "one on its way to the trash");
  const std::shared_ptr<void> live =
      host().HoldAsLiveCopy(Stick("p/.~pellmar-00000000000000bb.partial"));
  ASSERT_TRUE(live);
  FolderHandle p;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\p", &p).ok());
  const FolderListing listing = platform_.ListOpenFolder(*p);
  EXPECT_EQ(listing.entries.size(), 2 + look_alikes.size());
  EXPECT_EQ(listing.scratch.size(), 4u);
  EXPECT_EQ(platform_.ListFolder("E:\\p\\*").entries.size(), 2 + look_alikes.size());
  EXPECT_EQ(HostNames(Stick("p")).size(), 4 + look_alikes.size()) << "a listing removes nothing";

  platform_.ClearDebris(*p, listing.scratch);
  std::vector<std::string> left = HostNames(Stick("p"));
  const std::string stage = ".~pellmar-00000000000000dd.replaced";
  const bool stage_left = std::erase(left, stage) == 1;
  std::vector<std::string> expected = look_alikes;
  expected.push_back(".~pellmar-00000000000000bb.partial");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
  const std::string trashed = host().TrashedFiles(ns_);
  if (!trashed.empty()) {
    EXPECT_EQ(HostNames(trashed), std::vector<std::string>{".~pellmar-00000000000000cc.replaced"});
    GTEST_SKIP() << "this desktop's trash takes files only: the folder a Windows run stages a "
                    "version in stays, hidden";
  }
  EXPECT_FALSE(stage_left);
}

TEST_P(PlatformContract, ListingOfMissingFoldersAndMasks) {
  EXPECT_EQ(platform_.ListFolder("E:\\missing\\*").status.code, kErrorPathNotFound);
  EXPECT_TRUE(platform_.ListFolder("E:\\missing\\*").entries.empty());
  EXPECT_TRUE(platform_.ListFolder("Q:\\*").entries.empty());
  EXPECT_TRUE(platform_.ListFolder("E:\\").entries.empty());
  EXPECT_FALSE(platform_.FindFile("E:\\missing"));
  EXPECT_FALSE(platform_.FindFile("E:\\"));
  const char* names[] = {"noext", "a.txt", "abc", "ac", "a.txt.bak", "xxaybab", "xxaybac"};
  for (const char* name : names) WriteText(Stick(std::string("m/") + name), "");
  const struct {
    const char* mask;
    std::vector<std::string> listed;
  } cases[] = {
      {"*", {"a.txt", "a.txt.bak", "abc", "ac", "noext", "xxaybab", "xxaybac"}},
      {"*.*", {"a.txt", "a.txt.bak", "abc", "ac", "noext", "xxaybab", "xxaybac"}},
      {"*.TXT", {"a.txt"}},
      {"a?c", {"abc"}},
      {"*a*b", {"xxaybab"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> listed;
    for (const FileFacts& f : platform_.ListFolder(std::string("E:\\m\\") + c.mask).entries) {
      if (f.name != "." && f.name != "..") listed.push_back(f.name);
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, c.listed) << c.mask;
  }
  EXPECT_EQ(platform_.ListFolder("e:*").entries.size(), 3u);  // ".", ".." and m
}

}  // namespace
}  // namespace pellmar
