// The Display page and the resolution check on activation.
#include "app/sysinfo_window.h"

#include <commctrl.h>

#include "app/sysinfo_pages.h"

namespace corvel {

namespace {

const ControlSpec kDisplayPage[] = {
    {Kind::Caption, L"LabelDefaultWidth", L"Default Width", {16, 300, 90, 14}},
    {Kind::Edit, L"EditWidth", L"", {16, 315, 80, 21}, kCentered},
    {Kind::Caption, L"LabelDefaultHeight", L"Default  Height", {116, 300, 90, 14}},
    {Kind::Edit, L"EditHeight", L"", {116, 315, 80, 21}, kCentered},
};

}  // namespace

std::span<const ControlSpec> DisplayPageControls() { return kDisplayPage; }

void TFormSysInfo::BindDisplayPage() {}

void TFormSysInfo::FillDisplayPage() { StopTimer1(); }

void TFormSysInfo::CheckResolutionOnActivate() {}

}  // namespace corvel
