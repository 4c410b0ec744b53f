#include "base/datetime.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace corvel {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 0001-01-01 (day 1) to 1899-12-30.
constexpr std::int64_t kDateDelta = 693'594;

bool IsLeapYear(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// Day number (0001-01-01 is 1) to its calendar date.
void DayNumberToDate(std::int64_t days, int& y, int& m, int& d) {
  constexpr std::int64_t kD1 = 365, kD4 = kD1 * 4 + 1, kD100 = kD4 * 25 - 1, kD400 = kD100 * 4 + 1;
  std::int64_t t = days - 1;
  std::int64_t year = 1;
  year += (t / kD400) * 400;
  t %= kD400;
  std::int64_t i = t / kD100, rest = t % kD100;
  if (i == 4) { --i; rest += kD100; }  // last day of a 400-year cycle
  year += i * 100;
  t = rest;
  year += (t / kD4) * 4;
  t %= kD4;
  i = t / kD1;
  rest = t % kD1;
  if (i == 4) { --i; rest += kD1; }  // last day of a leap year
  year += i;
  y = static_cast<int>(year);
  m = 1;
  int day = static_cast<int>(rest);
  while (day >= DaysInMonth(y, m)) {
    day -= DaysInMonth(y, m);
    ++m;
  }
  d = day + 1;
}

}  // namespace

bool TryEncodeDate(int y, int m, int d, double& serial) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  std::int64_t days = d;
  for (int i = 1; i < m; ++i) days += DaysInMonth(y, i);
  const std::int64_t prev = y - 1;
  days += prev * 365 + prev / 4 - prev / 100 + prev / 400;
  serial = static_cast<double>(days - kDateDelta);
  return true;
}

bool TryEncodeTime(int h, int mi, int s, int ms, double& fraction) {
  if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59 || ms < 0 || ms > 999) return false;
  const std::int64_t total = ((static_cast<std::int64_t>(h) * 60 + mi) * 60 + s) * 1000 + ms;
  fraction = static_cast<double>(total) / static_cast<double>(kMsPerDay);
  return true;
}

double EncodeDate(int y, int m, int d) {
  double serial = 0;
  if (!TryEncodeDate(y, m, d, serial))
    throw std::invalid_argument("Ungültiges Argument für Datumskodierung");
  return serial;
}

double EncodeTime(int h, int mi, int s, int ms) {
  double fraction = 0;
  if (!TryEncodeTime(h, mi, s, ms, fraction))
    throw std::invalid_argument("Ungültiges Argument für Zeitkodierung");
  return fraction;
}

void DecodeDateTime(double serial, int& y, int& m, int& d, int& h, int& mi, int& s, int& ms) {
  y = m = d = h = mi = s = ms = 0;
  // The upper bound is the end of 9999-12-31; anything further (and NaN,
  // infinities) would overflow the millisecond count.
  if (!std::isfinite(serial) || serial <= kMinDateSerial - 1 || serial >= kMaxDateSerial + 1) return;
  // Rounded half to even like the run-time, then split: the day truncated
  // towards zero, the time from the absolute value.
  const auto total = static_cast<std::int64_t>(std::nearbyint(serial * static_cast<double>(kMsPerDay)));
  const std::int64_t day = total / kMsPerDay + kDateDelta;
  std::int64_t time = (total < 0 ? -total : total) % kMsPerDay;
  if (day < 1) return;
  DayNumberToDate(day, y, m, d);
  h = static_cast<int>(time / 3'600'000);
  time %= 3'600'000;
  mi = static_cast<int>(time / 60'000);
  time %= 60'000;
  s = static_cast<int>(time / 1000);
  ms = static_cast<int>(time % 1000);
}

double DosDateTimeToSerial(std::uint16_t date, std::uint16_t time) {
  double day = 0, fraction = 0;
  if (!TryEncodeDate((date >> 9) + 1980, (date >> 5) & 15, date & 31, day)) return 0;
  if (!TryEncodeTime(time >> 11, (time >> 5) & 63, (time & 31) * 2, 0, fraction)) return 0;
  return day + fraction;
}

std::uint32_t SerialToDosDateTime(double serial) {
  int y, m, d, h, mi, s, ms;
  DecodeDateTime(serial, y, m, d, h, mi, s, ms);
  if (y < 1980 || y > 2107) return 0;
  const std::uint32_t date = static_cast<std::uint32_t>(((y - 1980) << 9) | (m << 5) | d);
  const std::uint32_t time = static_cast<std::uint32_t>((h << 11) | (mi << 5) | (s >> 1));
  return (date << 16) | time;
}

}  // namespace corvel
