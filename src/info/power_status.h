// Battery state of the APM/Sound page from the system's power status record.
// Portable: the record comes through the PowerSource port.
#pragma once
#include <cstdint>

namespace corvel {

// The three fields of the system's power status record the page reads.
struct PowerRecord {
  std::uint8_t acLineStatus = 255;        // 0 off, 1 on, 255 unknown
  std::uint8_t batteryFlag = 255;         // 1 high, 2 low, 4 critical, 8 charging, 128 none
  std::uint8_t batteryLifePercent = 255;  // 255: the system does not know
};

// Asks the system for its power status; throws the system's error when it fails.
class PowerSource {
 public:
  virtual ~PowerSource() = default;
  virtual PowerRecord Read() = 0;
};

enum class BatteryClass { High, Low, Critical, Charging, NoSystemBattery, Unknown };
enum class LineStatus { Off, On, Unknown };

struct BatteryState {
  BatteryClass batteryClass = BatteryClass::Unknown;
  int percent = 0;  // 0..255; the page's bar stands at its maximum above 100
  LineStatus line = LineStatus::Unknown;
};

// A single flag gives its class; combinations (high and charging: 9) and
// every other value are unknown.
BatteryClass BatteryFlagClass(std::uint8_t flag);

// The page's battery state. Systems of major version 4 or lower are not
// asked at all: their class and line status are unknown and the percent 0.
BatteryState ReadBatteryState(unsigned windowsMajor, PowerSource& source);

}  // namespace corvel
