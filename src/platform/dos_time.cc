// MS-DOS packed date-times: packing, unpacking, ordering and the local-second
// count that date windows subtract. Pure arithmetic, no clock and no OS.
#include "platform/dos_time.h"

namespace pellmar {
namespace {

// 1980-01-01 00:00:00: month 1, day 1, everything else zero.
constexpr uint32_t kFirstDosTime = ((1u << 5) | 1u) << 16;
// 2107-12-31 23:59:58, the last value the 16-bit fields can hold.
constexpr uint32_t kLastDosTime =
    (((127u << 9) | (12u << 5) | 31u) << 16) | ((23u << 11) | (59u << 5) | 29u);

// Days from 0001-01-01 to the given proleptic Gregorian date. Years are
// counted from March so the leap day falls at the end of a counted year.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t year_of_era = year - era * 400;
  const int64_t month_from_march = (month + 9) % 12;
  const int64_t day_of_year = (153 * month_from_march + 2) / 5 + day - 1;
  const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  // 306 days lie between 0000-03-01 (day 0 of era 0) and 0001-01-01.
  return era * 146097 + day_of_era - 306;
}

// The inverse of DaysFromCivil: the date `days` after 0001-01-01.
void CivilFromDays(int64_t days, int* year, int* month, int* day) {
  days += 306;  // counted from 0000-03-01 again
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t month_from_march = (5 * day_of_year + 2) / 153;
  *day = static_cast<int>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  *month = static_cast<int>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
  *year = static_cast<int>(year_of_era + era * 400 + (*month <= 2 ? 1 : 0));
}

}  // namespace

uint32_t PackDosTime(const LocalDateTime& t) {
  if (t.year < kFirstDosYear) return kFirstDosTime;
  if (t.year > kLastDosYear) return kLastDosTime;
  const uint32_t date = (static_cast<uint32_t>(t.year - kFirstDosYear) << 9) |
                        (static_cast<uint32_t>(t.month & 0xF) << 5) |
                        static_cast<uint32_t>(t.day & 0x1F);
  const uint32_t time = (static_cast<uint32_t>(t.hour & 0x1F) << 11) |
                        (static_cast<uint32_t>(t.minute & 0x3F) << 5) |
                        static_cast<uint32_t>((t.second / 2) & 0x1F);
  return (date << 16) | time;
}

LocalDateTime UnpackDosTime(uint32_t packed) {
  const uint32_t date = packed >> 16;
  const uint32_t time = packed & 0xFFFF;
  LocalDateTime t;
  t.year = kFirstDosYear + static_cast<int>(date >> 9);
  t.month = static_cast<int>((date >> 5) & 0xF);
  t.day = static_cast<int>(date & 0x1F);
  t.hour = static_cast<int>(time >> 11);
  t.minute = static_cast<int>((time >> 5) & 0x3F);
  t.second = static_cast<int>(time & 0x1F) * 2;
  return t;
}

bool DosTimeIsLater(uint32_t a, uint32_t b) { return a > b; }

int64_t ToLocalSeconds(const LocalDateTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + int64_t{t.hour} * 3600 +
         int64_t{t.minute} * 60 + t.second;
}

LocalDateTime FromLocalSeconds(int64_t seconds) {
  const int64_t days = (seconds >= 0 ? seconds : seconds - (kSecondsPerDay - 1)) / kSecondsPerDay;
  const int64_t of_day = seconds - days * kSecondsPerDay;
  LocalDateTime t;
  CivilFromDays(days, &t.year, &t.month, &t.day);
  t.hour = static_cast<int>(of_day / 3600);
  t.minute = static_cast<int>(of_day / 60 % 60);
  t.second = static_cast<int>(of_day % 60);
  return t;
}

int64_t UnixEpochLocalSeconds() { return DaysFromCivil(1970, 1, 1) * kSecondsPerDay; }

int64_t DosTimeToLocalSeconds(uint32_t packed) { return ToLocalSeconds(UnpackDosTime(packed)); }

}  // namespace pellmar
