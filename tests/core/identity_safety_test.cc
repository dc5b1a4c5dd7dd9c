// The rules that rest on which file a path leads to rather than on its
// text: links and mounts that make the two sides meet, links on a stick,
// and a medium that leaves in the middle of a run.
#include <sys/mount.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "core/copy_if_newer.h"
#include "core/overlap_guard.h"
#include "core/send_load.h"
#include "core/sync_tree.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

// Each case builds its own links below the stick's folder "<name>" and the
// hard disk's folder "<name>"; the project is always "Alpha".
TEST_F(SyncTest, LinksThatMakeTheTwoSidesMeetAreRefused) {
  const struct {
    const char* name;
    std::function<void(const std::string& stick, const std::string& disk)> arrange;
    const char* refusal;  // nullptr: the run may go ahead
  } cases[] = {
      {"apart", [](auto&, auto&) {}, nullptr},
      {"same",
       [](auto& stick, auto& disk) { fs::create_directory_symlink(disk, stick + "/Alpha"); },
       "same folder"},
      {"removable-inside",
       [](auto& stick, auto& disk) {
         fs::remove(stick);
         fs::create_directory_symlink(disk + "/sub", stick);
       },
       "one inside the other"},
      {"project-inside",
       [](auto& stick, auto& disk) {
         fs::remove_all(disk);
         MakeFolder(stick + "/Alpha/inner");
         fs::create_directory_symlink(stick + "/Alpha/inner", disk);
       },
       "one inside the other"},
      {"off-the-medium",
       [](auto& stick, auto& disk) {
         MakeFolder(disk + "-elsewhere");
         fs::create_directory_symlink(disk + "-elsewhere", stick + "/Alpha");
       },
       "not on the removable disk"},
  };
  for (const auto& c : cases) {
    const std::string stick = Stick(c.name), disk = Host(c.name);
    MakeFolder(stick);
    MakeFolder(disk + "/sub");
    c.arrange(stick, disk);
    RemovableMedium medium(platform_, "E:\\", "", {});
    ASSERT_TRUE(medium.Record().ok());
    const std::optional<std::string> refusal =
        IdentityRefusal(platform_, Ns(c.name), std::string("E:\\") + c.name + "\\Alpha",
                        medium.root(), window_.messages);
    if (c.refusal == nullptr) {
      EXPECT_FALSE(refusal) << c.name << ": " << *refusal;
    } else {
      EXPECT_THAT(refusal.value_or(""), HasSubstr(c.refusal)) << c.name;
    }
  }
}

// A bind mount keeps the device and inode of what it shows, so only an
// identity check sees that the stick's folder is the project itself.
TEST_F(SyncTest, ABindMountOfTheProjectIsTheSameFolder) {
  MakeFolder(Host("p"));
  MakeFolder(Stick("Sync/Alpha"));
  if (mount(Host("p").c_str(), Stick("Sync/Alpha").c_str(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "bind mounts need root: " << std::strerror(errno);
  }
  RemovableMedium medium(platform_, "E:\\Sync", "E:\\Sync\\Alpha", {});
  ASSERT_TRUE(medium.Record().ok());
  const auto refusal =
      IdentityRefusal(platform_, Ns("p"), "E:\\Sync\\Alpha", medium.root(), window_.messages);
  umount2(Stick("Sync/Alpha").c_str(), MNT_DETACH);
  EXPECT_THAT(refusal.value_or(""), HasSubstr("same folder"));
}

// Even with the guard out of the way, auto-delete keeps a file whose
// "copy" is the file itself, and never follows a link that a stick holds.
TEST_F(SyncTest, AutoDeleteNeedsADifferentCopyAndLinksOnTheStickAreLeftAlone) {
  window_.auto_delete = true;
  window_.days = 1;
  WriteDated(Stick("Sync/Alpha/only.c"), 10, DaysAgo(30));
  WriteDated(Host("outside.c"), 20, DaysAgo(30));
  fs::create_symlink(Host("outside.c"), Stick("Sync/Alpha/link.c"));
  fs::create_directory_symlink(Stick("Sync/Alpha"), Host("p"));
  auto run = MakeRun(Ns("p"));
  SyncTree(*run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(HostSize(Stick("Sync/Alpha/only.c")), 10);
  EXPECT_EQ(HostSize(Host("outside.c")), 20);
  EXPECT_TRUE(fs::is_symlink(Stick("Sync/Alpha/link.c")));
  EXPECT_THAT(
      run->outcome.skipped_names,
      UnorderedElementsAre(HasSubstr("only.c: kept, it is the same file as its copy"),
                           HasSubstr("link.c: a link on the removable disk, not followed")));
}

// The stick is pulled during the second copy and an empty folder takes the
// place of its root: the folder the run holds open is still the medium's,
// nothing lands on the bare mount point, and the run ends at the next
// folder, or at its end, with one message.
TEST_F(SyncTest, AMediumThatLeavesEndsTheRunWithOneMessage) {
  for (const char* name : {"a.c", "b.c", "sub/c.c", "sub/d.c"}) {
    WriteDated(Host(std::string("p/") + name), 10, DaysAgo(1));
  }
  MakeFolder(Stick("Sync/Alpha"));
  int repaints = 0;
  window_.on_repaint = [&] {
    if (++repaints != 2) return;
    fs::rename(Stick(""), Host("pulled"));
    MakeFolder(Stick(""));
  };
  auto run = MakeRun(Ns("p"));
  SyncTree(*run, Ns("p"), "E:\\Sync\\Alpha");
  EXPECT_THAT(window_.shown,
              ElementsAre(MediumGoneText(window_.messages.Msg(kMediumGone), run->CopiesDone())));
  EXPECT_TRUE(HostNames(Stick("")).empty()) << "nothing lands on the bare mount point";
  size_t on_medium = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Host("pulled"))) {
    on_medium += entry.is_regular_file();
  }
  EXPECT_EQ(on_medium, static_cast<size_t>(run->CopiesDone()));
  EXPECT_GE(run->CopiesDone(), 2);
  EXPECT_TRUE(run->outcome.medium_gone);
  EXPECT_EQ(window_.close_requests, 0);
}

}  // namespace
}  // namespace pellmar
