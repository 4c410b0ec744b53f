// The Misc page's stopwatch and daily alarm as rules over given times, so
// tests need no clock. Portable.
#pragma once
#include <cstdint>
#include <string>

namespace corvel {

// "mm:ss:hh" by unsigned division: minutes (grow past two digits), seconds
// of the minute, hundredths: 61234 -> "01:01:23", 6000000 -> "100:00:00".
std::wstring FormatStopwatch(std::uint64_t ms);

// Running since a start tick, or stopped with the total of earlier runs.
class Stopwatch {
 public:
  bool Running() const { return running_; }
  void Start(std::uint64_t now);
  void Stop(std::uint64_t now);       // adds the run's time to the total
  void Reset() { total_ = 0; }        // only offered while stopped
  // Entering the Misc page: not running, start and total zero.
  void ResetState() { running_ = false, start_ = 0, total_ = 0; }
  std::uint64_t Elapsed(std::uint64_t now) const { return running_ ? total_ + (now - start_) : total_; }
  std::uint64_t Total() const { return total_; }

 private:
  bool running_ = false;
  std::uint64_t start_ = 0, total_ = 0;
};

// A daily alarm at hour:minute. It fires once when the time of day reaches
// the start of that minute; set within or after that minute, it first fires
// on the next day. Times are date-time serials (days, the time as fraction).
class DailyAlarm {
 public:
  void Set(int hour, int minute, double now);
  void Disable() { enabled_ = false; }
  bool Enabled() const { return enabled_; }
  int Hour() const { return hour_; }
  int Minute() const { return minute_; }
  // Called as time passes (each clock tick): true once per reached alarm.
  bool Check(double now);

 private:
  double NextAfter(double t) const;  // the first start of hour:minute after t
  bool enabled_ = false;
  int hour_ = 0, minute_ = 0;
  double next_ = 0;
};

}  // namespace corvel
