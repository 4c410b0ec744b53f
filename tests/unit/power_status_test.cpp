#include <gtest/gtest.h>

#include "doubles/fixed_power.h"
#include "info/power_status.h"

namespace corvel {
namespace {

TEST(PowerStatus, OnlySingleFlagsHaveAClass) {
  const std::pair<int, BatteryClass> cases[] = {
      {1, BatteryClass::High},      {2, BatteryClass::Low},     {4, BatteryClass::Critical},
      {8, BatteryClass::Charging},  {128, BatteryClass::NoSystemBattery},
      {0, BatteryClass::Unknown},   {9, BatteryClass::Unknown}, {10, BatteryClass::Unknown},
      {129, BatteryClass::Unknown}, {255, BatteryClass::Unknown}, {3, BatteryClass::Unknown},
  };
  for (const auto& [flag, cls] : cases) EXPECT_EQ(BatteryFlagClass(static_cast<std::uint8_t>(flag)), cls) << flag;
}

TEST(PowerStatus, StateFromTheRecord) {
  struct Case {
    const char* what;
    PowerRecord record;
    int percent;
    LineStatus line;
  };
  const Case cases[] = {
      {"desktop without battery", {1, 128, 255}, 0, LineStatus::Unknown},
      {"no battery hides the line status too", {0, 128, 50}, 0, LineStatus::Unknown},
      {"laptop high and charging on mains", {1, 9, 87}, 87, LineStatus::On},
      {"on battery, low", {0, 2, 12}, 12, LineStatus::Off},
      {"line status unknown", {255, 1, 100}, 100, LineStatus::Unknown},
      {"odd line status value", {2, 1, 100}, 100, LineStatus::Unknown},
      {"percent not known", {1, 8, 255}, 255, LineStatus::On},
  };
  for (const Case& c : cases) {
    FixedPower power;
    power.record = c.record;
    const BatteryState s = ReadBatteryState(6, power);
    EXPECT_EQ(s.batteryClass, BatteryFlagClass(c.record.batteryFlag)) << c.what;
    EXPECT_EQ(s.percent, c.percent) << c.what;
    EXPECT_EQ(s.line, c.line) << c.what;
    EXPECT_EQ(power.reads, 1) << c.what;
  }
}

TEST(PowerStatus, OldSystemsAreNotAsked) {
  for (unsigned major : {3u, 4u}) {
    FixedPower power;
    power.record = {1, 1, 80};
    power.fail = true;  // would throw if asked
    const BatteryState s = ReadBatteryState(major, power);
    EXPECT_EQ(power.reads, 0);
    EXPECT_EQ(s.batteryClass, BatteryClass::Unknown);
    EXPECT_EQ(s.percent, 0);
    EXPECT_EQ(s.line, LineStatus::Unknown);
  }
  FixedPower power;
  power.record = {1, 1, 80};
  EXPECT_EQ(ReadBatteryState(5, power).percent, 80) << "version 5 is asked";
}

TEST(PowerStatus, AFailingSystemCallIsNotSwallowed) {
  FixedPower power;
  power.fail = true;
  EXPECT_THROW(ReadBatteryState(10, power), Error);
}

}  // namespace
}  // namespace corvel
