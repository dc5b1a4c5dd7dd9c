// Reading the kernel's count of runnable threads to tell whether a second
// thread of this process would have a core to itself.
#include <gtest/gtest.h>

#include "platform/posix/free_cores.h"

namespace pellmar {
namespace {

TEST(FreeCoresTest, ACoreIsToSpareOnlyWhenOtherRunnableThreadsLeaveOneIdle) {
  const struct {
    const char* loadavg;
    int own, cores;
    bool spare;
  } cases[] = {
      {"0.10 0.20 0.30 1/400 123\n", 1, 2, true},    // only the caller runs
      {"0.10 0.20 0.30 2/400 123\n", 2, 2, true},    // the caller and its helper
      {"1.00 1.00 1.00 2/400 123\n", 1, 2, false},   // one other thread holds a core
      {"3.00 3.00 3.00 3/400 123\n", 2, 2, false},   // and with the helper awake
      {"1.00 1.00 1.00 3/400 123\n", 1, 4, true},    // two busy, two idle
      {"9.00 9.00 9.00 12/400 123\n", 1, 8, false},  // a build on every core
      {"", 1, 2, true},                              // unreadable: taken as idle
      {"0.10 0.20 0.30 many", 1, 2, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CoreToSpare(c.loadavg, c.own, c.cores), c.spare)
        << c.loadavg << " own " << c.own << " cores " << c.cores;
  }
}

}  // namespace
}  // namespace pellmar
