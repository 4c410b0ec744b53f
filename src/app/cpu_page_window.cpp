// The CPU page and its load timer.
#include "app/sysinfo_window.h"

#include <commctrl.h>

#include "app/sysinfo_pages.h"

namespace corvel {

namespace {

const ControlSpec kCpuPage[] = {
    {Kind::Caption, L"Label9", L"CPU:", {16, 16, 110, 14}},
};

}  // namespace

std::span<const ControlSpec> CpuPageControls() { return kCpuPage; }

void TFormSysInfo::BindCpuPage() {}

void TFormSysInfo::FillCpuPage() { StopTimer1(); }

void TFormSysInfo::Timer1Timer() {}

}  // namespace corvel
