// The CPU page and its load timer.
#include "info/cpu_page_window.h"

#include <commctrl.h>

#include <exception>
#include <tuple>

#include "win/locale.h"
#include "base/errors.h"
#include "base/text.h"
#include "info/cpu_facts.h"
#include "info/cpu_facts_win.h"

namespace corvel {

namespace {

constexpr UINT kTimer1Interval = 2500;  // ms

const ControlSpec kCpuPage[] = {
    {Kind::Caption, L"Label9", L"CPU:", {16, 16, 110, 14}},
    {Kind::Value, L"LabelCPU", L"____", {130, 16, 260, 14}},
    {Kind::Caption, L"Label10", L"Manufacturer:", {16, 34, 110, 14}},
    {Kind::Value, L"LabelModel", L"____", {130, 34, 260, 14}},
    {Kind::Caption, L"Label11", L"Phys. Core:", {16, 52, 110, 14}},
    {Kind::Value, L"LabelCore", L"____", {130, 52, 260, 14}},
    {Kind::Caption, L"Label12", L"Cur Clock Speed", {16, 70, 110, 14}},
    {Kind::Value, L"LabelGHZ", L"____", {130, 70, 260, 14}},
    {Kind::Caption, L"Label13", L"L1CodeCache:", {16, 88, 110, 14}},
    {Kind::Value, L"LabelCCache", L"____", {130, 88, 260, 14}},
    {Kind::Caption, L"Label14", L"L1DataCache:", {16, 106, 110, 14}},
    {Kind::Value, L"LabelDCache", L"____", {130, 106, 260, 14}},
    {Kind::Caption, L"Label15", L"L2Cache:", {16, 124, 110, 14}},
    {Kind::Value, L"LabelL2", L"____", {130, 124, 260, 14}},
    {Kind::Caption, L"Label18", L"L3Cache:", {16, 142, 110, 14}},
    {Kind::Value, L"LabelL3", L"____", {130, 142, 260, 14}},
    {Kind::Caption, L"Label16", L"64-Bit:", {16, 160, 110, 14}},
    {Kind::StatusYes, L"Image64bit1", nullptr, {130, 159, 16, 16}, kHidden},
    {Kind::StatusNo, L"Image64Bit0", nullptr, {130, 159, 16, 16}, kHidden},
    {Kind::Caption, L"Label17", L"HyperThreading:", {16, 178, 110, 14}},
    {Kind::StatusYes, L"ImageHyper1", nullptr, {130, 177, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageHyper0", nullptr, {130, 177, 16, 16}, kHidden},
    {Kind::Caption, L"Label20", L"MMX:", {16, 196, 110, 14}},
    {Kind::StatusYes, L"ImageMMX1", nullptr, {130, 195, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageMMX0", nullptr, {130, 195, 16, 16}, kHidden},
    {Kind::Caption, L"Label21", L"3DNow:", {16, 214, 110, 14}},
    {Kind::StatusYes, L"ImageNow1", nullptr, {130, 213, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageNow0", nullptr, {130, 213, 16, 16}, kHidden},
    {Kind::Caption, L"Label19", L"Vendor ID:", {16, 232, 110, 14}},
    {Kind::Value, L"LabelVendor", L"____", {130, 232, 260, 14}},
    {Kind::Caption, L"Label106", L"Current Load:", {400, 16, 108, 14}, kHidden},
    {Kind::Value, L"LabelPLoad", L"--", {510, 16, 40, 14}, kHidden},
    {Kind::Progress, L"ProgressBar2", nullptr, {552, 15, 128, 16}, 0, L"%"},
    {Kind::Caption, L"Label107", L"Current Volt:", {400, 52, 108, 14}},
    {Kind::Value, L"LabelVolt", L"____", {510, 52, 170, 14}},
    {Kind::Caption, L"Label114", L"Socket:", {400, 70, 108, 14}},
    {Kind::Value, L"LabelSocket", L"____", {510, 70, 170, 14}},
    {Kind::Caption, L"Label115", L"Max Clock Speed:", {400, 88, 108, 14}},
    {Kind::Value, L"LabelMaxSpeed", L"____", {510, 88, 170, 14}},
    {Kind::Caption, L"Label116", L"Processor ID:", {400, 106, 108, 14}},
    {Kind::Value, L"LabelProcID", L"____", {510, 106, 170, 14}},
    {Kind::Caption, L"Label117", L"Role:", {400, 124, 108, 14}},
    {Kind::Value, L"LabelRole", L"____", {510, 124, 170, 14}},
};

}  // namespace

CpuFacts SystemCpuSource::Facts() { return ReadCpuFacts(ProcessorCpuid()); }
int SystemCpuSource::Mhz() { return MeasuredCpuMhz(); }
wchar_t SystemCpuSource::DecimalSeparator() { return UserDecimalSeparator(); }

std::span<const ControlSpec> CpuPage::Layout() const { return kCpuPage; }

void CpuPage::Bind() { form().OnTimer(kTimer1, [this] { Timer1Timer(); }); }

void CpuPage::StopTimer1() { form().StopTimer(kTimer1); }

void CpuPage::FillCpuPage() {
  HWND bar = Ctl(L"ProgressBar2");
  SetWindowLongPtrW(bar, GWL_STYLE, GetWindowLongPtrW(bar, GWL_STYLE) | PBS_SMOOTH);
  ProgressBar(bar).SetRange(0, 100);
  // Visual styles ignore a bar colour; the plain bar shows the design's navy.
  using SetThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  if (HMODULE theme = GetModuleHandleW(L"uxtheme.dll"))  // loaded with the common controls when styles are on
    if (auto setTheme = reinterpret_cast<SetThemeFn>(reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme"))))
      setTheme(bar, L"", L"");
  ProgressBar(bar).SetBarColour(RGB(0, 0, 128));  // navy
  // Each value asks the processor afresh, as the identification routine does.
  SetText(Ctl(L"LabelCPU"), source_.Facts().brand);
  SetText(Ctl(L"LabelModel"), source_.Facts().maker);
  SetText(Ctl(L"LabelCore"), IntToStr(source_.Facts().physicalCores));
  const wchar_t separator = source_.DecimalSeparator();
  SetText(Ctl(L"LabelGHZ"), GhzText(source_.Mhz(), separator));
  const CpuFacts cpu = source_.Facts();
  SetText(Ctl(L"LabelCCache"), IntToStr(cpu.l1Code));
  SetText(Ctl(L"LabelDCache"), IntToStr(cpu.l1Data));
  SetText(Ctl(L"LabelL2"), IntToStr(cpu.l2));
  SetText(Ctl(L"LabelL3"), IntToStr(cpu.l3));
  const std::tuple<const wchar_t*, const wchar_t*, bool> features[] = {
      {L"Image64bit1", L"Image64Bit0", cpu.x64},
      {L"ImageHyper1", L"ImageHyper0", cpu.hyperThreading},
      {L"ImageMMX1", L"ImageMMX0", cpu.mmx},
      {L"ImageNow1", L"ImageNow0", cpu.ext3dNow},
  };
  for (const auto& [yes, no, present] : features) {
    SetVisible(Ctl(yes), present);
    SetVisible(Ctl(no), !present);
  }
  SetText(Ctl(L"LabelVendor"), source_.Facts().vendor);

  HWND load = Ctl(L"LabelPLoad"), caption = Ctl(L"Label106");
  try {
    form().StartTimer({kTimer1, kTimer1Interval});
    SetVisible(load, true);
    SetVisible(caption, true);
    const CpuLoad now = ParseCpuLoad(wmi_.WmiQuery(L"Win32_Processor", L"LoadPercentage"));
    SetText(load, now.text);
    ProgressBar(bar).SetPosition(now.percent);
    UpdateWindow(bar);
    // A page change waiting here stops the timer; the rest of the fill still runs.
    app::ProcessMessages();
  } catch (const std::exception&) {
    // No load to show; the timer keeps running and the next tick reports.
    SetVisible(load, false);
    SetVisible(caption, false);
  }

  auto processor = [this](const wchar_t* property) { return wmi_.WmiQuery(L"Win32_Processor", property); };
  SetText(Ctl(L"LabelVolt"), processor(L"CurrentVoltage") + L" V");
  SetText(Ctl(L"LabelSocket"), processor(L"SocketDesignation"));
  SetText(Ctl(L"LabelProcID"), processor(L"ProcessorId"));
  SetText(Ctl(L"LabelRole"), processor(L"Role"));
  // No answer is no number: the conversion error ends the fill here.
  SetText(Ctl(L"LabelMaxSpeed"), MaxClockText(processor(L"MaxClockSpeed"), separator));
}

void CpuPage::Timer1Timer() {
  // The timer goes on while an error box is open; ticks then would stack a
  // new box every 2.5 s. They wait until the box is answered.
  if (timer1Reporting_) return;
  CpuLoad now;
  try {
    // Outside a fill: every tick asks WMI afresh.
    now = ParseCpuLoad(wmi_.WmiQuery(L"Win32_Processor", L"LoadPercentage"));
  } catch (const Error& e) {
    timer1Reporting_ = true;
    dialogs().ShowError(e.text());  // the standard error box, as for any handler
    timer1Reporting_ = false;
    return;
  }
  HWND load = Ctl(L"LabelPLoad"), bar = Ctl(L"ProgressBar2");
  SetText(load, now.text);
  UpdateWindow(load);
  ProgressBar(bar).SetPosition(now.percent);
  UpdateWindow(bar);
  app::ProcessMessages();
}

}  // namespace corvel
