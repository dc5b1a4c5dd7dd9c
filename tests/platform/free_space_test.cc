// The free-space query and its last-error codes, and the error mode.
#include <gtest/gtest.h>

#include "platform/posix/posix_platform.h"
#include "platform_fixture.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

TEST_F(PlatformTest, FreeSpaceAnswersWithTheCodeForEachKindOfRoot) {
  HostSettings settings = TreeSettings(ns_);
  MakeFolder(ns_ / "media/STICK");
  settings.drive_overrides += ";G:=" + (ns_ / "missing") + ";\\\\srv\\share=" + Stick("");
  WriteText(ns_ / "mounts", "/dev/sdz1 " + (ns_ / "media/STICK") + " vfat rw 0 0\n");
  std::unique_ptr<Platform> platform = NewPosixPlatform(settings);
  ASSERT_EQ(platform->HostPath("F:\\"), ns_ / "media/STICK");
  WriteText(ns_ / "mounts", "");  // F:'s medium is pulled out
  const struct {
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
  for (const auto& c : cases) {
    uint64_t free_bytes = 12345;
    const Status status = platform->FreeSpace(c.root, &free_bytes);
    EXPECT_EQ(status.code, c.code) << "root \"" << c.root << "\"";
    EXPECT_EQ(free_bytes > 0, c.code == kErrorSuccess) << "root \"" << c.root << "\"";
  }
  EXPECT_EQ(platform->SetErrorMode(1), 0u);
  EXPECT_EQ(platform->SetErrorMode(0x8001), 1u) << "gives the previous mode back";
}

TEST_F(PlatformTest, FreeSpaceCountsBeyondThirtyTwoBits) {
  MakeFolder(Stick("small"));
  // tmpfs takes memory only for what is written, so 8 GiB costs nothing.
  TinyTmpfs tmpfs(Stick("small"), size_t{8} << 30);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  HostSettings settings = TreeSettings(ns_);
  settings.drive_overrides = "E:=" + Stick("small");
  uint64_t free_bytes = 0;
  ASSERT_TRUE(NewPosixPlatform(settings)->FreeSpace("E:", &free_bytes).ok());
  EXPECT_EQ(free_bytes, uint64_t{8} << 30);
}

}  // namespace
}  // namespace pellmar
