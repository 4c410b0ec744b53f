#include "info/power_status_win.h"

#include <windows.h>

#include "base/errors.h"
#include "win/system_message.h"

namespace corvel {

PowerRecord SystemPowerSource::Read() {
  SYSTEM_POWER_STATUS status{};
  if (!GetSystemPowerStatus(&status)) throw Error(SystemMessage(GetLastError()));
  PowerRecord record;
  record.acLineStatus = status.ACLineStatus;
  record.batteryFlag = status.BatteryFlag;
  record.batteryLifePercent = status.BatteryLifePercent;
  return record;
}

}  // namespace corvel
