// The CPU page and its load timer.
#pragma once
#include <windows.h>

#include "info/cpu_facts.h"
#include "info/wmi_query.h"
#include "win/tab_page.h"

namespace corvel {

constexpr UINT_PTR kTimer1 = 1;  // the CPU-load timer, a timer of the hosting window

// Where the page's own readings come from: the identification data, the
// measured clock in MHz and the decimal separator of its figures.
class CpuSource {
 public:
  virtual ~CpuSource() = default;
  virtual CpuFacts Facts() = 0;
  virtual int Mhz() = 0;
  virtual wchar_t DecimalSeparator() = 0;
};

// This processor and the user's locale.
class SystemCpuSource : public CpuSource {
 public:
  CpuFacts Facts() override;
  int Mhz() override;
  wchar_t DecimalSeparator() override;
};

class CpuPage : public TabPage {
 public:
  CpuPage(Form& form, WmiQueryService& wmi, CpuSource& source) : TabPage(form), wmi_(wmi), source_(source) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;

  // Starts Timer1; every refresh stops it first (StopTimer1).
  void FillCpuPage();
  void Timer1Timer();
  void StopTimer1();

 private:
  WmiQueryService& wmi_;
  CpuSource& source_;
  bool timer1Reporting_ = false;  // a tick's error box is open
};

}  // namespace corvel
