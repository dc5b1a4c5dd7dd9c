// Which letter each removable medium gets: the choice itself, the drive
// table that holds it through a run, and the platform on real mounts, where
// the letter lasts from one start of the program to the next.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/posix/drive_table.h"
#include "platform/posix/media_letters.h"
#include "platform/posix/posix_platform.h"
#include "support/namespace_fixture.h"
#include "support/posix/tree_platform.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

TEST(MediaLettersTest, EachMediumKeepsItsLetter) {
  const RememberedLetter a{'E', {"uuid:A", "ALPHA"}, 1}, b{'F', {"uuid:B", "BETA"}, 2};
  std::vector<RememberedLetter> every_letter;  // kept for absent media, E: seen longest ago
  for (char l = 'E'; l <= 'Z'; ++l) every_letter.push_back({l, {std::string("uuid:") + l, ""}, l});
  std::set<char> all_in_use;
  for (char l = 'A'; l <= 'Z'; ++l) all_in_use.insert(l);
  const struct {
    const char* what;
    std::set<char> in_use;
    std::vector<RememberedLetter> memory;
    std::vector<std::string> keys;  // of the media, in mount order
    std::string letters;            // '-': none
    std::vector<std::pair<std::string, char>> kept;
    size_t kept_count;
  } cases[] = {
      {"mounted the other way round", {}, {a, b}, {"uuid:B", "uuid:A"}, "FE", {{"uuid:A", 'E'}}, 2},
      {"a new medium takes the lowest letter kept for none",
       {},
       {b},
       {"uuid:C"},
       "E",
       {{"uuid:C", 'E'}, {"uuid:B", 'F'}},
       2},
      {"nor one kept for an absent medium", {}, {a}, {"uuid:C"}, "F", {{"uuid:C", 'F'}}, 2},
      {"PELLMAR_DRIVES wins; the medium keeps its letter for later",
       {'E'},
       {a},
       {"uuid:A"},
       "F",
       {{"uuid:A", 'E'}},
       1},
      {"a medium with no key gets a letter, not remembered", {}, {a}, {""}, "F", {}, 1},
      {"a medium mounted twice keeps its one letter", {}, {a}, {"uuid:A", "uuid:A"}, "EF", {}, 1},
      {"every letter kept: the longest unseen gives its up",
       {},
       every_letter,
       {"uuid:new"},
       "E",
       {{"uuid:new", 'E'}, {"uuid:F", 'F'}},
       22},
      {"no letter left", all_in_use, {}, {"uuid:C"}, "-", {}, 0},
  };
  for (const auto& c : cases) {
    std::vector<RememberedLetter> memory = c.memory;
    std::vector<MediumIdentity> media;
    for (const std::string& key : c.keys) media.push_back({key, ""});
    bool changed = false;
    std::string letters;
    for (char l : ChooseMediaLetters(c.in_use, media, &memory, &changed)) letters += l ? l : '-';
    EXPECT_EQ(letters, c.letters) << c.what;
    EXPECT_EQ(memory.size(), c.kept_count) << c.what;
    MediumMemory kept{memory, {}};
    for (const auto& [key, letter] : c.kept) {
      ASSERT_NE(kept.LetterOf(key), nullptr) << c.what << ": " << key;
      EXPECT_EQ(kept.LetterOf(key)->letter, letter) << c.what << ": " << key;
    }
  }
}

// Three starts of the program, each with its own table and the memory of
// the one before; then one long run in which sticks come and go.
TEST(DriveTableTest, MediaKeepTheirLettersAcrossStartsAndMountPoints) {
  const MediumIdentity x{"uuid:X", "X"}, y{"uuid:Y", "Y"};
  std::vector<RememberedLetter> memory;
  auto start = [&](const std::vector<MountedMedium>& media, bool* changed) {
    auto table = std::make_unique<DriveTable>();
    table->MapRoot("C:", "/", MappingOrigin::kSystem);
    *changed = table->AssignMediaLetters(media, &memory);
    return table;
  };
  bool changed = false;
  EXPECT_EQ(start({{"/media/x", x}}, &changed)->FindRoot("E:")->HostRootText(), "/media/x");
  EXPECT_TRUE(changed);
  EXPECT_EQ(start({{"/media/y", y}}, &changed)->FindRoot("F:")->HostRootText(), "/media/y");
  std::unique_ptr<DriveTable> both = start({{"/media/a", y}, {"/media/b", x}}, &changed);
  EXPECT_EQ(both->FindRoot("E:")->HostRootText(), "/media/b");
  EXPECT_EQ(both->FindRoot("F:")->HostRootText(), "/media/a");
  EXPECT_FALSE(changed) << "nothing new: the file is not written again";

  DriveTable run;
  run.AssignMediaLetters({{"/media/stick", x}}, &memory);
  run.AssignMediaLetters({{"/media/stick", y}}, &memory);  // the other stick, same place
  EXPECT_EQ(run.FindRoot("F:")->HostRootText(), "/media/stick");
  EXPECT_EQ(run.FindRoot("E:")->medium.key, "uuid:X") << "E: stays the absent stick's";
  run.AssignMediaLetters({{"/media/stick", y}, {"/media/stick1", x}}, &memory);
  EXPECT_EQ(run.FindRoot("E:")->HostRootText(), "/media/stick1");
  EXPECT_EQ(run.FindRoot("F:")->HostRootText(), "/media/stick");
}

// A folder bound onto another stands in for a stick plugged in there: the
// file system, and so its identity, is the same wherever it is bound.
class BoundStick {
 public:
  BoundStick(const std::string& stick, const std::string& at) : at_(at) {
    MakeFolder(at);
    bound_ = mount(stick.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) == 0;
  }
  ~BoundStick() {
    if (bound_) umount2(at_.c_str(), MNT_DETACH);
  }
  bool bound() const { return bound_; }

 private:
  std::string at_;
  bool bound_ = false;
};

class MediaPlatformTest : public NamespaceTest {
 protected:
  /// A start of the program with `points` (below media/) in its mount table.
  std::unique_ptr<Platform> Start(const std::vector<std::string>& points) {
    std::string table;
    for (const std::string& point : points)
      table += "stick " + (ns_ / "media/") + point + " vfat rw 0 0\n";
    WriteText(ns_ / "mounts", table);
    HostSettings settings = TreeSettings(ns_);
    settings.dev_disk = ns_ / "dev";
    return NewPosixPlatform(settings);
  }
  std::string Media(const std::string& point) { return ns_ / "media/" + point; }
};

// Without udev (as in this container), the file system id stands in.
TEST_F(MediaPlatformTest, AStickKeepsItsLetterWhicheverIsMountedFirst) {
  MakeFolder(ns_ / "sticks/one");
  MakeFolder(ns_ / "sticks/two");
  TinyTmpfs one(ns_ / "sticks/one", 1 << 16), two(ns_ / "sticks/two", 1 << 16);
  if (!one.mounted() || !two.mounted()) GTEST_SKIP() << one.skip_reason();
  WriteText(ns_ / "sticks/one/which", "one");
  WriteText(ns_ / "sticks/two/which", "two");
  {
    BoundStick plugged(ns_ / "sticks/one", Media("b"));
    ASSERT_TRUE(plugged.bound());
    EXPECT_EQ(Start({"b"})->HostPath("F:\\which"), Media("b/which"));  // E: is PELLMAR_DRIVES'
  }
  {
    BoundStick plugged(ns_ / "sticks/two", Media("a"));
    EXPECT_EQ(Start({"a"})->HostPath("G:\\which"), Media("a/which"));
  }
  BoundStick second(ns_ / "sticks/two", Media("a")), first(ns_ / "sticks/one", Media("b"));
  std::unique_ptr<Platform> platform = Start({"a", "b"});
  EXPECT_EQ(platform->HostPath("F:\\which"), Media("b/which"));
  EXPECT_EQ(platform->HostPath("G:\\which"), Media("a/which"));
  const std::vector<DriveMapping> drives = platform->Drives();
  ASSERT_EQ(drives.size(), 4u);
  EXPECT_EQ(drives[2].medium.key.rfind("fsid:", 0), 0u) << drives[2].medium.key;
  EXPECT_NE(drives[2].medium.key, drives[3].medium.key);
  EXPECT_NE(ReadText(ns_.config() + "/Pellmar.drives").find("letter\tF:\t" + drives[2].medium.key),
            std::string::npos);
}

// udev's links name the device the file system is on; its label is
// written with escapes.
TEST_F(MediaPlatformTest, DrivesShowTheLabelAndUuidOfUdev) {
  MakeFolder(Media("stick"));
  TinyTmpfs stick(Media("stick"), 1 << 16);
  if (!stick.mounted()) GTEST_SKIP() << stick.skip_reason();
  struct stat mounted;
  ASSERT_EQ(stat(Media("stick").c_str(), &mounted), 0);
  MakeFolder(ns_ / "dev/by-uuid");
  MakeFolder(ns_ / "dev/by-label");
  ASSERT_EQ(mknod((ns_ / "dev/node").c_str(), S_IFBLK | 0600, mounted.st_dev), 0);
  ASSERT_EQ(symlink("../node", (ns_ / "dev/by-uuid/1234-ABCD").c_str()), 0);
  ASSERT_EQ(symlink("../node", (ns_ / "dev/by-label/MY\\x20STICK").c_str()), 0);
  const DriveMapping f = Start({"stick"})->Drives()[2];
  EXPECT_EQ(f.drive, "F:");
  EXPECT_EQ(f.medium, (MediumIdentity{"uuid:1234-ABCD", "MY STICK"}));
}

TEST_F(MediaPlatformTest, AForeignMemoryFileIsLeftAloneAndLettersFollowTheMountOrder) {
  const std::string foreign = "[Drives]\nE=somebody else's\n";
  WriteText(ns_.config() + "/Pellmar.drives", foreign);
  MakeFolder(Media("b"));
  MakeFolder(Media("a"));
  std::unique_ptr<Platform> platform = Start({"b", "a"});
  EXPECT_EQ(platform->HostPath("F:\\"), Media("a"));
  EXPECT_EQ(platform->HostPath("G:\\"), Media("b"));
  EXPECT_EQ(ReadText(ns_.config() + "/Pellmar.drives"), foreign);
}

}  // namespace
}  // namespace pellmar
