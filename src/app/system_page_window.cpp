// The System page: operating system, machine and the drive list.
#include "app/sysinfo_window.h"

#include <commctrl.h>

#include "app/sysinfo_pages.h"

namespace corvel {

namespace {

const ControlSpec kSystemPage[] = {
    {Kind::Caption, L"Label142", L"UAC enabled:", {16, 340, 90, 14}},
    {Kind::StatusYes, L"ImageUACy", nullptr, {110, 339, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageUACn", nullptr, {110, 339, 16, 16}, kHidden},
};

}  // namespace

std::span<const ControlSpec> SystemPageControls() { return kSystemPage; }

void TFormSysInfo::BindSystemPage() {}

void TFormSysInfo::FillSystemPage(const std::wstring& /*architecture*/) { StopTimer1(); }

}  // namespace corvel
