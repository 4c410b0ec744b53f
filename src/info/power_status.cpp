#include "info/power_status.h"

namespace corvel {

BatteryClass BatteryFlagClass(std::uint8_t flag) {
  switch (flag) {
    case 1: return BatteryClass::High;
    case 2: return BatteryClass::Low;
    case 4: return BatteryClass::Critical;
    case 8: return BatteryClass::Charging;
    case 128: return BatteryClass::NoSystemBattery;
    default: return BatteryClass::Unknown;
  }
}

BatteryState ReadBatteryState(unsigned windowsMajor, PowerSource& source) {
  BatteryState state;
  if (windowsMajor <= 4) return state;
  const PowerRecord record = source.Read();
  state.batteryClass = BatteryFlagClass(record.batteryFlag);
  if (state.batteryClass == BatteryClass::NoSystemBattery) return state;
  state.percent = record.batteryLifePercent;
  state.line = record.acLineStatus == 0   ? LineStatus::Off
               : record.acLineStatus == 1 ? LineStatus::On
                                          : LineStatus::Unknown;
  return state;
}

}  // namespace corvel
