// Local packed times with the time zone asked once per quarter hour.
#include "platform/posix/local_dos_time.h"

#include <array>

#include "platform/dos_time.h"

namespace pellmar {
namespace {

// Every zone's offset changes fall on a quarter hour, and a tree's times
// cluster: the offset of a quarter hour is asked of the zone rules once
// and then added, which saves a full local-time conversion per file.
constexpr time_t kQuarter = 15 * 60;

struct Quarter {
  time_t start = -1;
  int64_t offset = 0;
};

LocalDateTime Converted(const struct tm& local) {
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

LocalDateTime ByOffset(time_t seconds, int64_t offset) {
  return FromLocalSeconds(UnixEpochLocalSeconds() + seconds + offset);
}

bool SameClock(const LocalDateTime& a, const LocalDateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

// The quarter's offset when it holds for the whole quarter and adding it
// gives what the zone rules give (a zone that counts leap seconds does not).
bool LearnQuarter(time_t start, Quarter* quarter) {
  struct tm first, last;
  const time_t end = start + kQuarter - 1;
  if (localtime_r(&start, &first) == nullptr || localtime_r(&end, &last) == nullptr) return false;
  if (first.tm_gmtoff != last.tm_gmtoff) return false;
  if (!SameClock(ByOffset(start, first.tm_gmtoff), Converted(first))) return false;
  *quarter = Quarter{start, first.tm_gmtoff};
  return true;
}

}  // namespace

uint32_t LocalDosTime(time_t seconds) {
  // Files written together share their second; the last answer is kept.
  thread_local time_t last_seconds = -1;
  thread_local uint32_t last_packed = 0;
  thread_local std::array<Quarter, 64> known;
  if (seconds == last_seconds && seconds != -1) return last_packed;
  const time_t start = seconds - ((seconds % kQuarter) + kQuarter) % kQuarter;
  Quarter& slot = known[static_cast<size_t>(start / kQuarter) % known.size()];
  if (slot.start == start || LearnQuarter(start, &slot)) {
    last_seconds = seconds;
    last_packed = PackDosTime(ByOffset(seconds, slot.offset));
    return last_packed;
  }
  struct tm local;
  if (localtime_r(&seconds, &local) == nullptr) return PackDosTime(LocalDateTime{});
  return PackDosTime(Converted(local));
}

}  // namespace pellmar
