// The date-time serial of the run-time: days since 1899-12-30 00:00 as a
// double, the time of day as the fraction. Also the DOS packed date and time
// that file dates pass through. Portable.
#pragma once
#include <cstdint>

namespace corvel {

// 0001-01-01 and 9999-12-31 as serials: the range the run-time accepts.
constexpr double kMinDateSerial = -693593.0;
constexpr double kMaxDateSerial = 2958465.0;

// False (and `serial` untouched) for a date outside 0001-01-01..9999-12-31 or
// a day the month does not have.
bool TryEncodeDate(int y, int m, int d, double& serial);
// False for h > 23, mi > 59, s > 59, ms > 999 or any negative field.
bool TryEncodeTime(int h, int mi, int s, int ms, double& fraction);

// Throw std::invalid_argument with the run-time's German text on bad fields.
double EncodeDate(int y, int m, int d);
double EncodeTime(int h, int mi, int s, int ms);

// Splits a serial into its fields. The value is rounded to whole
// milliseconds first; the date part is the serial truncated towards zero and
// the time is the absolute fraction, so -1.25 is 1899-12-29 06:00. A value
// that is not finite or lies outside the accepted range gives all zeros.
void DecodeDateTime(double serial, int& y, int& m, int& d, int& h, int& mi, int& s, int& ms);

// DOS packed date (year-1980 in bits 9-15, month 5-8, day 0-4) and time (hour
// 11-15, minute 5-10, second/2 0-4) to a serial; 0 when a field is out of
// range (month 0, day 31 of April, hour 24, second 60, ...).
double DosDateTimeToSerial(std::uint16_t date, std::uint16_t time);
// A serial to the packed form, date in the high 16 bits and time in the low
// 16; odd seconds and milliseconds are dropped. 0 for years outside 1980..2107.
std::uint32_t SerialToDosDateTime(double serial);

}  // namespace corvel
