// The APM/Sound, Bios and Mainboard pages.
#pragma once
#include "base/shell.h"
#include "info/power_status.h"
#include "info/wmi_query.h"
#include "win/tab_page.h"

namespace corvel {

// What the sound test does: start a wave resource of the program (id,
// PlaySoundW flags) and wait while it plays.
class SoundTest {
 public:
  virtual ~SoundTest() = default;
  virtual void Play(unsigned id, unsigned flags) = 0;
  virtual void Wait(unsigned ms) = 0;
};

// PlaySoundW and Sleep.
class SystemSoundTest : public SoundTest {
 public:
  void Play(unsigned id, unsigned flags) override;
  void Wait(unsigned ms) override;
};

class ApmSoundPage : public TabPage {
 public:
  // windowsMajor: systems of major version 4 or lower are not asked for power.
  ApmSoundPage(Form& form, WmiQueryService& wmi, PowerSource& power, SoundTest& sound, unsigned windowsMajor)
      : TabPage(form), wmi_(wmi), power_(power), sound_(sound), windowsMajor_(windowsMajor) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;
  void FillApmSoundPage();
  void ButtonTSoundClick();  // "Check sound"

 private:
  WmiQueryService& wmi_;
  PowerSource& power_;
  SoundTest& sound_;
  unsigned windowsMajor_;
};

class BiosPage : public TabPage {
 public:
  BiosPage(Form& form, WmiQueryService& wmi, ShellOps& ops) : TabPage(form), wmi_(wmi), ops_(ops) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;
  void FillBiosPage();
  void Label64Click();  // BIOS updates link

 private:
  WmiQueryService& wmi_;
  ShellOps& ops_;
};

class MainboardPage : public TabPage {
 public:
  MainboardPage(Form& form, WmiQueryService& wmi, ShellOps& ops) : TabPage(form), wmi_(wmi), ops_(ops) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;
  void FillMainboardPage();
  void ComboBox1Select();
  void Label33Click();  // driver updates link
  // What WmiQuery's physical-memory walk fills.
  MemoryModuleTable& Modules() { return modules_; }

 private:
  void ClearModuleTable();
  WmiQueryService& wmi_;
  ShellOps& ops_;
  MemoryModuleTable modules_;
};

}  // namespace corvel
