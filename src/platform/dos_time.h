// MS-DOS packed date-times and the local date-times the date windows use.
//
// A packed value holds the date in its high 16 bits (year - 1980, month,
// day) and the time of day in its low 16 bits (hours, minutes, seconds / 2).
// Date windows work on local seconds: seconds since 0001-01-01 00:00:00 of
// the local calendar, exact at every 2-second step.
#ifndef PELLMAR_PLATFORM_DOS_TIME_H_
#define PELLMAR_PLATFORM_DOS_TIME_H_

#include <cstdint>

#include "platform/platform.h"

namespace pellmar {

/// Packs a local date-time; before 1980 gives 1980-01-01 00:00:00, after
/// 2107 the last packed value. Odd seconds round down to the 2-second step.
uint32_t PackDosTime(const LocalDateTime& t);
LocalDateTime UnpackDosTime(uint32_t packed);

/// True when packed time `a` is later than `b` on the calendar. Unsigned
/// order follows the calendar through 2107, and 0 (a missing file) is
/// earlier than every real time.
bool DosTimeIsLater(uint32_t a, uint32_t b);

int64_t ToLocalSeconds(const LocalDateTime& t);
/// The date-time `seconds` after 0001-01-01 00:00:00 (no milliseconds).
LocalDateTime FromLocalSeconds(int64_t seconds);
/// Local seconds of 1970-01-01 00:00:00, where the host's clocks count from.
int64_t UnixEpochLocalSeconds();
int64_t DosTimeToLocalSeconds(uint32_t packed);
constexpr int64_t kSecondsPerDay = 86400;
/// The years a packed time can hold; times outside are clamped to the ends.
constexpr int kFirstDosYear = 1980;
constexpr int kLastDosYear = 2107;

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_DOS_TIME_H_
