#include "base/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace corvel {
namespace {

struct Fields {
  int y, m, d, h, mi, s, ms;
  bool operator==(const Fields&) const = default;
};

void PrintTo(const Fields& f, std::ostream* os) {
  *os << f.y << '-' << f.m << '-' << f.d << ' ' << f.h << ':' << f.mi << ':' << f.s << '.' << f.ms;
}

Fields Decode(double serial) {
  Fields f{};
  DecodeDateTime(serial, f.y, f.m, f.d, f.h, f.mi, f.s, f.ms);
  return f;
}

TEST(DateTime, EncodeDateGivesDaysSince18991230) {
  struct Case { int y, m, d; double serial; } const cases[] = {
      {1899, 12, 30, 0},       {1899, 12, 29, -1},     {1900, 1, 1, 2},
      {1900, 3, 1, 61},        {2000, 2, 29, 36585},   {2024, 2, 29, 45351},
      {1980, 1, 1, 29221},     {2107, 12, 31, 75971},  {1600, 3, 1, -109511},
      {1, 1, 1, kMinDateSerial}, {9999, 12, 31, kMaxDateSerial},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << '-' << c.m << '-' << c.d;
    EXPECT_EQ(Decode(c.serial), (Fields{c.y, c.m, c.d, 0, 0, 0, 0}));
  }
}

TEST(DateTime, EncodeDateRejectsDaysThatDoNotExist) {
  struct Case { int y, m, d; } const cases[] = {
      {2023, 2, 29}, {1900, 2, 29}, {2100, 2, 29}, {2024, 2, 30}, {2024, 4, 31}, {2024, 13, 1},
      {2024, 0, 1},  {2024, 1, 0},  {2024, 1, 32}, {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1},
  };
  for (const auto& c : cases) {
    double out = 123;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, out)) << c.y << '-' << c.m << '-' << c.d;
    EXPECT_EQ(out, 123);
    EXPECT_THROW(EncodeDate(c.y, c.m, c.d), std::invalid_argument);
  }
}

TEST(DateTime, EncodeTimeIsTheFractionOfADay) {
  EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeTime(0, 0, 0, 1), 1.0 / 86400000.0);
  EXPECT_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);

  struct Case { int h, mi, s, ms; } const bad[] = {
      {24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1},
  };
  for (const auto& c : bad) {
    double out = 7;
    EXPECT_FALSE(TryEncodeTime(c.h, c.mi, c.s, c.ms, out)) << c.h << ':' << c.mi << ':' << c.s;
    EXPECT_EQ(out, 7);
    EXPECT_THROW(EncodeTime(c.h, c.mi, c.s, c.ms), std::invalid_argument);
  }
}

TEST(DateTime, DecodeSplitsDateAndTime) {
  struct Case { double serial; Fields f; } const cases[] = {
      {45063 + EncodeTime(10, 15, 37, 250), {2023, 5, 17, 10, 15, 37, 250}},
      {0.5, {1899, 12, 30, 12, 0, 0, 0}},
      // Before the epoch the date is truncated towards zero and the time is
      // the absolute fraction.
      {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
      {-0.75, {1899, 12, 30, 18, 0, 0, 0}},
      {-109511.5, {1600, 3, 1, 12, 0, 0, 0}},
      // Rounded to the millisecond: just short of midnight is the next day.
      {1.0 - 0.4 / 86400000.0, {1899, 12, 31, 0, 0, 0, 0}},
      {1.0 - 0.6 / 86400000.0, {1899, 12, 30, 23, 59, 59, 999}},
      {1.0 - 1.6 / 86400000.0, {1899, 12, 30, 23, 59, 59, 998}},
      {kMaxDateSerial + EncodeTime(23, 59, 59, 999), {9999, 12, 31, 23, 59, 59, 999}},
  };
  for (const auto& c : cases) EXPECT_EQ(Decode(c.serial), c.f) << c.serial;
}

TEST(DateTime, DecodeOfAValueOutsideTheRangeGivesZeros) {
  const double values[] = {
      std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(), 1e300, -1e300, kMaxDateSerial + 1, kMinDateSerial - 1,
  };
  for (double v : values) EXPECT_EQ(Decode(v), (Fields{0, 0, 0, 0, 0, 0, 0})) << v;
}

std::uint16_t DosDate(int y, int m, int d) { return static_cast<std::uint16_t>(((y - 1980) << 9) | (m << 5) | d); }
std::uint16_t DosTime(int h, int mi, int s2) { return static_cast<std::uint16_t>((h << 11) | (mi << 5) | s2); }

TEST(DateTime, DosDateTimeToSerial) {
  struct Case { std::uint16_t date, time; Fields f; } const cases[] = {
      {0x0021, 0x0000, {1980, 1, 1, 0, 0, 0, 0}},
      {0xFF9F, 0xBF7D, {2107, 12, 31, 23, 59, 58, 0}},
      {DosDate(2024, 2, 29), DosTime(12, 30, 5), {2024, 2, 29, 12, 30, 10, 0}},
      {DosDate(2000, 2, 29), DosTime(0, 0, 0), {2000, 2, 29, 0, 0, 0, 0}},
      {DosDate(2023, 5, 17), DosTime(10, 15, 18), {2023, 5, 17, 10, 15, 36, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(Decode(DosDateTimeToSerial(c.date, c.time)), c.f) << c.date;
}

TEST(DateTime, DosDateTimeWithAnInvalidFieldGivesZero) {
  struct Case { std::uint16_t date, time; const char* what; } const cases[] = {
      {0x0000, 0x0000, "all zero (month 0, day 0)"},
      {DosDate(2023, 2, 29), 0, "29 February of a common year"},
      {DosDate(2100, 2, 29), 0, "29 February 2100"},
      {DosDate(2024, 4, 31), 0, "31 April"},
      {DosDate(2024, 0, 1), 0, "month 0"},
      {DosDate(2024, 13, 1), 0, "month 13"},
      {DosDate(2024, 15, 1), 0, "month 15"},
      {DosDate(2024, 1, 0), 0, "day 0"},
      {DosDate(2024, 1, 1), DosTime(24, 0, 0), "hour 24"},
      {DosDate(2024, 1, 1), DosTime(31, 0, 0), "hour 31"},
      {DosDate(2024, 1, 1), DosTime(0, 60, 0), "minute 60"},
      {DosDate(2024, 1, 1), DosTime(0, 0, 30), "second 60"},
      {DosDate(2024, 1, 1), DosTime(0, 0, 31), "second 62"},
      {0xFFFF, 0xFFFF, "every bit set"},
  };
  for (const auto& c : cases) EXPECT_EQ(DosDateTimeToSerial(c.date, c.time), 0.0) << c.what;
}

TEST(DateTime, SerialToDosDateTime) {
  struct Case { double serial; std::uint32_t packed; const char* what; } const cases[] = {
      {EncodeDate(1980, 1, 1), 0x00210000u, "first DOS day"},
      {EncodeDate(2107, 12, 31) + EncodeTime(23, 59, 59, 999), 0xFF9FBF7Du, "last DOS second"},
      {EncodeDate(2024, 2, 29) + EncodeTime(12, 30, 10, 0), (0x585Du << 16) | DosTime(12, 30, 5), "leap day"},
      {EncodeDate(2023, 5, 17) + EncodeTime(10, 15, 37, 0), 0x56B151F2u, "odd second dropped"},
      {EncodeDate(1979, 12, 31) + EncodeTime(23, 59, 59, 0), 0, "before 1980"},
      {EncodeDate(2108, 1, 1), 0, "after 2107"},
      {-1.25, 0, "before the epoch"},
      {std::numeric_limits<double>::quiet_NaN(), 0, "not a number"},
  };
  for (const auto& c : cases) EXPECT_EQ(SerialToDosDateTime(c.serial), c.packed) << c.what;
}

TEST(DateTime, PackingAndUnpackingKeepsEvenSecondsAndDropsOddOnes) {
  const double day = EncodeDate(2023, 5, 17);
  struct Case { int h, mi, s, ms; int expected_s; } const cases[] = {
      {10, 15, 37, 0, 36}, {10, 15, 36, 0, 36}, {0, 0, 1, 0, 0}, {23, 59, 59, 999, 58}, {12, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const std::uint32_t packed = SerialToDosDateTime(day + EncodeTime(c.h, c.mi, c.s, c.ms));
    const double back = DosDateTimeToSerial(static_cast<std::uint16_t>(packed >> 16),
                                            static_cast<std::uint16_t>(packed & 0xFFFF));
    EXPECT_EQ(Decode(back), (Fields{2023, 5, 17, c.h, c.mi, c.expected_s, 0}))
        << c.h << ':' << c.mi << ':' << c.s;
  }
}

}  // namespace
}  // namespace corvel
