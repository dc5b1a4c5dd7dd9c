// Packed DOS date-times and the local-second count the date windows use.
#include "platform/dos_time.h"

#include <gtest/gtest.h>

namespace pellmar {
namespace {

LocalDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return LocalDateTime{year, month, day, hour, minute, second, 0};
}

std::string Text(const LocalDateTime& t) {
  char text[32];
  snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
           t.minute, t.second);
  return text;
}

TEST(DosTimeTest, PacksFieldsClampsTheRangeAndUnpacksAtTwoSecondSteps) {
  const struct {
    LocalDateTime when;
    uint32_t packed;
    LocalDateTime unpacked;
  } cases[] = {
      {At(1980, 1, 1), 0x00210000, At(1980, 1, 1)},
      {At(2010, 5, 9, 0, 0, 2), (30u << 25 | 5u << 21 | 9u << 16) | 1u, At(2010, 5, 9, 0, 0, 2)},
      {At(2010, 5, 9, 0, 0, 3), (30u << 25 | 5u << 21 | 9u << 16) | 1u, At(2010, 5, 9, 0, 0, 2)},
      {At(2024, 2, 29, 13, 45, 59), 44u << 25 | 2u << 21 | 29u << 16 | 13u << 11 | 45u << 5 | 29u,
       At(2024, 2, 29, 13, 45, 58)},
      {At(2107, 12, 31, 23, 59, 59), 0xFF9FBF7D, At(2107, 12, 31, 23, 59, 58)},
      {At(1979, 12, 31, 23, 59, 59), 0x00210000, At(1980, 1, 1)},  // before 1980: the first
      {At(1601, 1, 1), 0x00210000, At(1980, 1, 1)},
      {At(2108, 1, 1), 0xFF9FBF7D, At(2107, 12, 31, 23, 59, 58)},  // after 2107: the last
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PackDosTime(c.when), c.packed) << Text(c.when);
    EXPECT_EQ(Text(UnpackDosTime(c.packed)), Text(c.unpacked)) << Text(c.when);
  }
}

TEST(DosTimeTest, LaterFollowsTheCalendarAndMissingIsEarliest) {
  const uint32_t early = PackDosTime(At(2010, 5, 9, 0, 0, 0));
  const uint32_t late = PackDosTime(At(2010, 5, 9, 0, 0, 2));
  const uint32_t far = PackDosTime(At(2100, 1, 1));
  EXPECT_TRUE(DosTimeIsLater(late, early));
  EXPECT_FALSE(DosTimeIsLater(early, late));
  EXPECT_FALSE(DosTimeIsLater(late, late));
  EXPECT_TRUE(DosTimeIsLater(far, late));  // high bit set, still later
  EXPECT_TRUE(DosTimeIsLater(PackDosTime(At(1980, 1, 1)), 0));
}

TEST(DosTimeTest, LocalSecondsCountCivilDays) {
  EXPECT_EQ(ToLocalSeconds(At(1, 1, 1)), 0);
  EXPECT_EQ(ToLocalSeconds(At(1970, 1, 1)), int64_t{719162} * kSecondsPerDay);
  const struct {
    LocalDateTime from, to;
    int64_t days;
  } spans[] = {
      {At(2000, 2, 28), At(2000, 3, 1), 2},  // 2000 is a leap year
      {At(1900, 2, 28), At(1900, 3, 1), 1},  // 1900 is not
      {At(2100, 2, 28), At(2100, 3, 1), 1},      {At(2023, 12, 31), At(2024, 1, 1), 1},
      {At(1980, 1, 1), At(2107, 12, 31), 46750},
  };
  for (const auto& s : spans) {
    EXPECT_EQ(ToLocalSeconds(s.to) - ToLocalSeconds(s.from), s.days * kSecondsPerDay)
        << Text(s.from);
    EXPECT_EQ(Text(FromLocalSeconds(ToLocalSeconds(s.to) + 86399)),
              Text(s.to).substr(0, 11) + "23:59:59");
  }
  EXPECT_EQ(
      DosTimeToLocalSeconds(PackDosTime(At(2010, 5, 9, 1, 2, 4))) - ToLocalSeconds(At(2010, 5, 9)),
      3600 + 120 + 4);
}

}  // namespace
}  // namespace pellmar
