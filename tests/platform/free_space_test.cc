// The free-space query and its last-error codes, and the error mode.
#include <gtest/gtest.h>

#include "platform/posix/posix_platform.h"
#include "temp_tree_util.h"

namespace pellmar {
namespace {

TEST(FreeSpaceTest, AnswersWithTheCodeForEachKindOfRoot) {
  testing::TempTree tree;
  HostSettings settings = testing::TreeSettings(tree);
  testing::MakeFolder(tree / "media/STICK");
  settings.drive_overrides += ";G:=" + (tree / "missing") + ";\\\\srv\\share=" + (tree / "stick");
  testing::WriteText(tree / "mounts", "/dev/sdz1 " + (tree / "media/STICK") + " vfat rw 0 0\n");
  std::unique_ptr<Platform> platform = NewPosixPlatform(settings);
  ASSERT_EQ(platform->HostPath("F:\\"), tree / "media/STICK");
  testing::WriteText(tree / "mounts", "");  // F:'s medium is pulled out
  struct Case {
    const char* root;
    uint32_t code;
  } cases[] = {
      {"E:", kErrorSuccess},
      {"e:\\", kErrorSuccess},
      {"C:", kErrorSuccess},
      {"\\\\srv\\share", kErrorSuccess},
      {"\\\\srv\\share\\", kErrorSuccess},
      {"Q:", kErrorInvalidDrive},
      {"D:\\", kErrorInvalidDrive},
      {"F:", kErrorNotReady},
      {"G:", kErrorNotReady},
      {"", kErrorInvalidName},
      {"E", kErrorInvalidName},
      {"1:", kErrorInvalidName},
      {"E:x", kErrorInvalidName},
      {"E:\\x", kErrorInvalidName},
      {"\\\\srv", kErrorInvalidName},
      {"\\\\other\\share", kErrorBadNetPath},
  };
  for (const Case& c : cases) {
    platform->SetLastError(999);
    uint64_t free_bytes = 12345;
    const bool ok = platform->GetDiskFreeSpace(c.root, &free_bytes);
    EXPECT_EQ(platform->GetLastError(), c.code) << "root \"" << c.root << "\"";
    EXPECT_EQ(ok, c.code == kErrorSuccess) << "root \"" << c.root << "\"";
    if (c.code == kErrorSuccess) {
      EXPECT_GT(free_bytes, 0u) << "root \"" << c.root << "\"";
    } else {
      EXPECT_EQ(free_bytes, 0u) << "root \"" << c.root << "\"";
    }
  }
}

TEST(FreeSpaceTest, CountsBeyondThirtyTwoBits) {
  testing::TempTree tree;
  std::unique_ptr<Platform> platform = testing::TreePlatform(tree);
  testing::MakeFolder(tree / "stick/small");
  // tmpfs takes memory only for what is written, so 8 GiB costs nothing.
  testing::TinyTmpfs tmpfs(tree / "stick/small", size_t{8} << 30);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  HostSettings settings = testing::TreeSettings(tree);
  settings.drive_overrides = "E:=" + (tree / "stick/small");
  std::unique_ptr<Platform> small = NewPosixPlatform(settings);
  uint64_t free_bytes = 0;
  ASSERT_TRUE(small->GetDiskFreeSpace("E:", &free_bytes));
  EXPECT_EQ(free_bytes, uint64_t{8} << 30);
}

TEST(ErrorModeTest, ReturnsThePreviousMode) {
  testing::TempTree tree;
  std::unique_ptr<Platform> platform = testing::TreePlatform(tree);
  EXPECT_EQ(platform->SetErrorMode(1), 0u);
  EXPECT_EQ(platform->SetErrorMode(0x8001), 1u);
  EXPECT_EQ(platform->SetErrorMode(0), 0x8001u);
}

}  // namespace
}  // namespace pellmar
