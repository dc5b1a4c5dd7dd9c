// One listing of a target folder answers for every file of a level; only a
// name the file system could match under another spelling is asked of it.
#include "core/target_listing.h"

#include <gtest/gtest.h>

#include "platform/ascii.h"
#include "platform/scratch_name.h"
#include "support/forwarding_platform.h"
#include "support/namespace_fixture.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {

// Lookups as a case-blind file system (FAT, Windows) answers them.
class CaseBlindPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  int lookups = 0;

  std::optional<FileFacts> LookIn(OpenFolder& folder, const std::string& name) override {
    ++lookups;
    for (FileFacts& entry : inner().ListOpenFolder(folder).entries) {
      if (EqualsIgnoreCase(entry.name, name)) return entry;
    }
    return std::nullopt;
  }
};

// A folder as a FUSE driver serves it: a listing would cost more than it saves.
class ByNamePlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  int listings = 0, lookups = 0;

  bool ListingPays(OpenFolder&) override { return false; }
  std::optional<FileFacts> LookIn(OpenFolder& folder, const std::string& name) override {
    ++lookups;
    return inner().LookIn(folder, name);
  }
  FolderListing ListOpenFolder(OpenFolder& folder) override {
    ++listings;
    return inner().ListOpenFolder(folder);
  }
};

class TargetListingTest : public NamespaceTest {};

TEST_F(TargetListingTest, AsksTheFileSystemOnlyWhereAnotherSpellingCouldMatch) {
  WriteText(Stick("t/README.TXT"), "newer copy");
  WriteText(Stick("t/plain.txt"), "x");
  CaseBlindPlatform platform(ns_.platform());
  TargetListing listing(platform, "E:\\t");
  const struct {
    const char* name;
    const char* found;  // the entry's own name, or nullptr for none
    int lookups;
  } cases[] = {
      {"plain.txt", "plain.txt", 0},
      {"readme.txt", "README.TXT", 1},        // another case of a listed name
      {"new.txt", nullptr, 0},                // like nothing listed: no need to ask
      {"NEWFIL~1.TXT", nullptr, 1},           // a short alias could name a listed file
      {"plain.txt.", nullptr, 1},             // FAT drops the trailing dot
      {"\xC3\xA9t\xC3\xA9.txt", nullptr, 1},  // folding beyond ASCII
  };
  for (const auto& c : cases) {
    platform.lookups = 0;
    const std::optional<FileFacts> found = listing.Find(c.name);
    EXPECT_EQ(found ? found->name : "", c.found ? c.found : "") << c.name;
    EXPECT_EQ(platform.lookups, c.lookups) << c.name;
  }
  // A name copied in meanwhile is one the file system may match too.
  listing.Added("Fresh.txt");
  platform.lookups = 0;
  EXPECT_FALSE(listing.Find("fresh.txt"));
  EXPECT_EQ(platform.lookups, 1);

  // A folder that is not there holds nothing, and nothing needs asking.
  TargetListing missing(platform, "E:\\none");
  platform.lookups = 0;
  Status why;
  EXPECT_FALSE(missing.Find("a.txt") || missing.Open(false, &why));
  EXPECT_EQ(why.code, kErrorPathNotFound);
  EXPECT_EQ(platform.lookups, 0);
}

TEST_F(TargetListingTest, WhereListingDoesNotPayAsksByNameAndListsOnlyForACopy) {
  WriteText(Stick("t/plain.txt"), "x");
  const std::string debris = Stick("t/" + NewScratchName(ScratchKind::kPartial));
  WriteText(debris, "cut short");
  ByNamePlatform platform(ns_.platform());
  TargetListing listing(platform, "E:\\t");
  ASSERT_TRUE(listing.AsksByName());
  // A level's files are asked at once; what they found answers later.
  listing.LookAhead({"plain.txt", "new.txt"});
  const int ahead = platform.lookups;
  const std::optional<FileFacts> found = listing.Find("plain.txt");
  EXPECT_EQ(found ? found->name : "", "plain.txt");
  EXPECT_FALSE(listing.Find("new.txt"));
  EXPECT_EQ(platform.lookups, ahead);
  EXPECT_FALSE(listing.Find("other.txt"));
  EXPECT_EQ(platform.lookups, ahead + 1);
  EXPECT_EQ(platform.listings, 0);
  EXPECT_TRUE(HostExists(debris));
  // A copy going in lists the folder once, and clears what a cut-off copy left.
  Status why;
  ASSERT_NE(listing.Open(true, &why), nullptr);
  EXPECT_EQ(platform.listings, 1);
  EXPECT_FALSE(HostExists(debris));
}

}  // namespace
}  // namespace pellmar
