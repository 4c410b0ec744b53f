// The Memory page.
#include "app/sysinfo_window.h"

#include <commctrl.h>

#include "app/sysinfo_pages.h"

namespace corvel {

namespace {

const ControlSpec kMemoryPage[] = {
    {Kind::Caption, L"Label42", L"Free Physical Memory:", {16, 16, 150, 14}},
};

}  // namespace

std::span<const ControlSpec> MemoryPageControls() { return kMemoryPage; }

void TFormSysInfo::BindMemoryPage() {}

void TFormSysInfo::FillMemoryPage() { StopTimer1(); }

}  // namespace corvel
