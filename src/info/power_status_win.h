// The system's power status record through GetSystemPowerStatus.
#pragma once
#include "info/power_status.h"

namespace corvel {

class SystemPowerSource : public PowerSource {
 public:
  PowerRecord Read() override;  // throws Error with the system's message
};

}  // namespace corvel
