// Local packed times of host times: the quarter-hour shortcut must give
// what the zone rules give, across daylight-saving changes of whole, half
// and odd offsets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/dos_time.h"
#include "platform/posix/local_dos_time.h"

namespace pellmar {
namespace {

uint32_t ByZoneRules(time_t seconds) {
  struct tm local;
  localtime_r(&seconds, &local);
  return PackDosTime(LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                   local.tm_hour, local.tm_min, local.tm_sec});
}

TEST(LocalDosTimeTest, MatchesTheZoneRulesAcrossOffsetChanges) {
  // Each zone on a thread of its own: what a thread learnt of one zone
  // must not answer for the next.
  for (const char* zone : {"Europe/Berlin", "Australia/Lord_Howe", "America/St_Johns",
                           "Asia/Kathmandu", "Asia/Gaza", "UTC"}) {
    setenv("TZ", zone, 1);
    tzset();
    std::thread([zone] {
      // Every 7 minutes and 13 seconds through 2024, which holds both
      // changes of each zone that has them.
      for (time_t t = 1704067200; t < 1735689600; t += 7 * 60 + 13) {
        ASSERT_EQ(LocalDosTime(t), ByZoneRules(t)) << zone << " at " << t;
      }
      // Outside the packed years the whole time is clamped, not the date.
      for (time_t t : {time_t{0}, time_t{4354819200}}) {
        ASSERT_EQ(LocalDosTime(t + 3600), ByZoneRules(t + 3600)) << zone << " at " << t;
      }
    }).join();
  }
  unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace pellmar
