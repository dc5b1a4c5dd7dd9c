// Local packed times with the time zone asked once per day, or once per
// quarter hour on the days whose offset changes.
#include "platform/posix/local_dos_time.h"

#include <array>

#include "platform/dos_time.h"

namespace pellmar {
namespace {

// Every zone's offset changes fall on a quarter hour, so a quarter's
// offset, once asked of the zone rules, holds for all of it. No zone
// changes its offset and back within one day, so a day whose first and
// last second share an offset holds that offset throughout; most days
// are such days, and a tree's times spread over many of them.
constexpr time_t kQuarter = 15 * 60;
constexpr time_t kDay = kSecondsPerDay;

struct Span {
  time_t start = -1;
  int64_t offset = 0;
};

// The packed date of one local day, so that a file of a day already seen
// costs no calendar arithmetic either.
struct DayDate {
  int64_t day = -1;  // local days since 0001-01-01
  uint32_t date = 0;
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

// The span's offset when it holds from its first second to its last and
// adding it gives what the zone rules give (a zone that counts leap
// seconds does not).
bool LearnSpan(time_t start, time_t length, Span* span) {
  struct tm first, last;
  const time_t end = start + length - 1;
  if (localtime_r(&start, &first) == nullptr || localtime_r(&end, &last) == nullptr) return false;
  if (first.tm_gmtoff != last.tm_gmtoff) return false;
  if (!SameClock(ByOffset(start, first.tm_gmtoff), Converted(first))) return false;
  *span = Span{start, first.tm_gmtoff};
  return true;
}

time_t StartOf(time_t seconds, time_t length) {
  return seconds - ((seconds % length) + length) % length;
}

// The offset of `seconds` from a table of spans of `length`, learnt on a
// miss; false when the span holds more than one offset.
template <size_t N>
bool OffsetIn(std::array<Span, N>& known, time_t length, time_t seconds, int64_t* offset) {
  const time_t start = StartOf(seconds, length);
  Span& slot = known[static_cast<size_t>(start / length) % N];
  if (slot.start != start && !LearnSpan(start, length, &slot)) return false;
  *offset = slot.offset;
  return true;
}

uint32_t PackByOffset(time_t seconds, int64_t offset) {
  thread_local std::array<DayDate, 1024> dates;
  const int64_t local = UnixEpochLocalSeconds() + seconds + offset;
  if (local < 0) return PackDosTime(FromLocalSeconds(local));
  const int64_t day = local / kDay;
  DayDate& slot = dates[static_cast<size_t>(day) % dates.size()];
  if (slot.day != day) {
    const LocalDateTime midnight = FromLocalSeconds(day * kDay);
    // A day outside the packed years is clamped whole, time and all.
    if (midnight.year < kFirstDosYear || midnight.year > kLastDosYear)
      return PackDosTime(FromLocalSeconds(local));
    slot = DayDate{day, PackDosTime(midnight) >> 16};
  }
  const int of_day = static_cast<int>(local - day * kDay);
  const uint32_t time = PackDosTime(LocalDateTime{kFirstDosYear, 1, 1, of_day / 3600,
                                                  of_day / 60 % 60, of_day % 60}) &
                        0xFFFF;
  return slot.date << 16 | time;
}

}  // namespace

uint32_t LocalDosTime(time_t seconds) {
  // Files written together share their second; the last answer is kept.
  thread_local time_t last_seconds = -1;
  thread_local uint32_t last_packed = 0;
  thread_local std::array<Span, 1024> days;
  thread_local std::array<Span, 64> quarters;
  if (seconds == last_seconds && seconds != -1) return last_packed;
  int64_t offset = 0;
  if (OffsetIn(days, kDay, seconds, &offset) || OffsetIn(quarters, kQuarter, seconds, &offset)) {
    last_seconds = seconds;
    last_packed = PackByOffset(seconds, offset);
    return last_packed;
  }
  struct tm local;
  if (localtime_r(&seconds, &local) == nullptr) return PackDosTime(LocalDateTime{});
  return PackDosTime(Converted(local));
}

}  // namespace pellmar
