// Locks on files: one holder at a time, in this process as in others (the
// command line's test runs a second process), and a wait that ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "support/namespace_fixture.h"

namespace pellmar {
namespace {

TEST_F(NamespaceTest, ALockHasOneHolderAtATimeAndAWaitForOneThatStaysEnds) {
  Platform& platform = ns_.platform();
  const std::string path = "E:\\settings.lock";
  std::unique_ptr<Platform::FileLock> first, second, third;
  const Status locked = platform.LockFile(path, &first);
  ASSERT_TRUE(locked.ok()) << locked.message;
  std::atomic<bool> released = false;
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    released = true;
    first.reset();
  });
  EXPECT_TRUE(platform.LockFile(path, &second).ok());
  EXPECT_TRUE(released) << "had while the first holder still held it";
  holder.join();

  const Status refused = platform.LockFile(path, &third);
  EXPECT_EQ(refused.code, kErrorSharingViolation);
  EXPECT_THAT(refused.message, ::testing::HasSubstr("settings.lock"));
  EXPECT_EQ(third, nullptr);
  second.reset();
  EXPECT_TRUE(platform.LockFile(path, &third).ok());
  EXPECT_TRUE(HostExists(Stick("settings.lock"))) << "a lock file stays";
}

}  // namespace
}  // namespace pellmar
