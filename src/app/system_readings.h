// The system's own readings behind the main window: what main builds, and
// what the benchmarks build to measure the program as it runs.
#pragma once
#include "app/sysinfo_window.h"
#include "info/display_facts_win.h"
#include "info/memory_figures_win.h"
#include "info/network_tools_win.h"
#include "info/power_status_win.h"

namespace corvel {

struct SystemReadings {
  ApplicationHelp help;
  SystemPowerSource power;
  SystemMemorySource memory;
  SystemDisplaySource display;
  SystemEchoClient echo;
  SystemSoundTest sound;
  SystemDriveSteps drives;
  SystemCpuSource cpu;

  SysInfoSources With(Dialogs& dialogs, Shell& shell, const CodePage& codePage, Wmi& wmi, unsigned windowsMajor) {
    return {dialogs, shell, codePage, wmi, help, power, memory, display, echo, sound, drives, cpu, windowsMajor};
  }
};

}  // namespace corvel
