#include "tools/clock.h"

#include <cmath>
#include <cstdio>

namespace corvel {

std::wstring FormatStopwatch(std::uint64_t ms) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.2llu:%.2llu:%.2llu", static_cast<unsigned long long>(ms / 60000),
                static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms % 1000 / 10));
  return text;
}

void Stopwatch::Start(std::uint64_t now) {
  running_ = true;
  start_ = now;
}

void Stopwatch::Stop(std::uint64_t now) {
  if (running_) total_ += now - start_;
  running_ = false;
}

void DailyAlarm::Set(int hour, int minute, double now) {
  enabled_ = true;
  hour_ = hour;
  minute_ = minute;
  next_ = NextAfter(now);
}

double DailyAlarm::NextAfter(double t) const {
  const double day = std::floor(t);
  const double at = day + (hour_ * 60 + minute_) / 1440.0;
  return at > t ? at : at + 1;
}

bool DailyAlarm::Check(double now) {
  if (!enabled_ || now < next_) return false;
  // Only within the alarm's minute: a machine that slept through it does
  // not ring when it wakes.
  const bool inMinute = now < next_ + 1.0 / 1440;
  next_ = NextAfter(now);
  return inMinute;
}

}  // namespace corvel
