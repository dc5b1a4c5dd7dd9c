// What an eject on Linux refuses before it asks udisks2, what it asks to
// unmount and power off, and how it names what keeps a medium busy.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <unistd.h>

#include <string>

#include "platform/posix/medium_holders.h"
#include "platform/posix/udisks_objects.h"
#include "platform_fixture.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Only a mounted medium is ever asked for (PELLMAR_DRIVES maps E: and F:
// here): the disk below a mapped folder, or the system's own, must never be
// taken away.
TEST_F(PlatformTest, EjectRefusesWhatIsNoMountedMedium) {
  const struct {
    const char* drive;
    uint32_t code;
    const char* says;
  } cases[] = {
      {"E:", kErrorNotSupported, "not the mount point of a disk"},
      {"F:", kErrorNotReady, "no medium is in it"},
      {"C:", kErrorNotSupported, "this system's own disk"},
      {"Q:", kErrorInvalidDrive, "there is no drive Q:"},
      {"E:\\Sync", kErrorInvalidName, "is no drive"},
  };
  MakeFolder(Stick("Sync"));
  for (const auto& c : cases) {
    EjectResult result{true, "left over"};
    const Status status = ns_.platform().EjectMedium(c.drive, &result);
    EXPECT_EQ(status.code, c.code) << c.drive << ": " << status.message;
    EXPECT_THAT(status.message, HasSubstr(c.says)) << c.drive;
    EXPECT_FALSE(result.powered_off) << c.drive;
  }
  EXPECT_TRUE(HostExists(Stick("Sync")));
}

TEST(UdisksEjectPlanTest, UnmountsTheFileSystemMountedThereAndPowersOffItsDevice) {
  UdisksObjects objects;
  objects.blocks["/b/sdb1"] = {true, {"/media/ann/STICK"}, "/d/stick", "/b/sdb", false};
  objects.blocks["/b/sdb"] = {false, {}, "/d/stick", "", false};
  objects.blocks["/b/sdc1"] = {true, {"/media/ann/CARD"}, "/d/reader", "/b/sdc", false};
  objects.blocks["/b/loop0"] = {true, {"/media/ann/IMAGE"}, "/", "", true};
  objects.blocks["/b/loop1p1"] = {true, {"/media/ann/PART"}, "/", "/b/loop1", false};
  objects.blocks["/b/loop1"] = {false, {}, "/", "", true};
  objects.drives["/d/stick"] = true;
  objects.drives["/d/reader"] = false;
  const struct {
    const char* mount_point;
    UdisksEjectPlan plan;
  } cases[] = {
      {"/media/ann/STICK", {"/b/sdb1", "", "/d/stick"}},
      {"/media/ann/CARD", {"/b/sdc1", "", ""}},  // a reader stays on
      {"/media/ann/IMAGE", {"/b/loop0", "/b/loop0", ""}},
      {"/media/ann/PART", {"/b/loop1p1", "/b/loop1", ""}},
      {"/media/ann/STICK2", {}},  // a longer name is another place
  };
  for (const auto& c : cases) {
    const UdisksEjectPlan plan = PlanUdisksEject(objects, c.mount_point);
    EXPECT_EQ(plan.filesystem, c.plan.filesystem) << c.mount_point;
    EXPECT_EQ(plan.loop, c.plan.loop) << c.mount_point;
    EXPECT_EQ(plan.drive, c.plan.drive) << c.mount_point;
  }
}

// A file held open below the medium names this process; one below a
// folder whose name merely starts the same does not.
TEST(MediumHoldersTest, NamesTheProcessesThatHoldSomethingBelowTheMountPoint) {
  TempFolder temp;
  MakeFolder(temp / "stick");
  WriteText(temp / "stick2/open.txt", "held");
  const int held = open((temp / "stick2/open.txt").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  const std::string me = "(pid " + std::to_string(getpid()) + ")";
  EXPECT_THAT(testing::PrintToString(ProcessesUsing(temp / "stick", 100)), Not(HasSubstr(me)));
  EXPECT_THAT(testing::PrintToString(ProcessesUsing(temp / "stick2", 100)), HasSubstr(me));
  close(held);
  EXPECT_THAT(testing::PrintToString(ProcessesUsing(temp / "stick2", 100)), Not(HasSubstr(me)));
}

}  // namespace
}  // namespace pellmar
