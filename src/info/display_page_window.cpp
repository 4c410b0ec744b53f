// The Display page and the resolution check on activation.
#include "info/display_page_window.h"

#include "base/errors.h"
#include "base/text.h"
#include "info/board_pages.h"
#include "info/display_facts.h"

namespace corvel {

namespace {

constexpr int Row(int i) { return 16 + 18 * i; }

const ControlSpec kDisplayPage[] = {
    {Kind::Caption, L"Label50", L"Width:", {16, Row(0), 110, 14}},
    {Kind::Value, L"LabelSWidth", L"", {130, Row(0), 200, 14}},
    {Kind::Caption, L"Label51", L"Height:", {16, Row(1), 110, 14}},
    {Kind::Value, L"LabelSHeight", L"", {130, Row(1), 200, 14}},
    {Kind::Caption, L"Label52", L"Refresh rate:", {16, Row(2), 110, 14}},
    {Kind::Value, L"LabelHZ", L"", {130, Row(2), 200, 14}},
    {Kind::Caption, L"Label53", L"Bit/Pixel:", {16, Row(3), 110, 14}},
    {Kind::Value, L"LabelBits", L"", {130, Row(3), 200, 14}},
    {Kind::Caption, L"Label97", L"Colors:", {16, Row(4), 110, 14}},
    {Kind::Value, L"LabelColor", L"", {130, Row(4), 210, 14}},
    {Kind::Caption, L"Label69", L"DPI:", {16, Row(5), 110, 14}},
    {Kind::Value, L"LabelDpi", L"", {130, Row(5), 200, 14}},
    {Kind::Caption, L"Label70", L"Monitors:", {16, Row(6), 110, 14}},
    {Kind::Value, L"LabelMonitor", L"", {130, Row(6), 200, 14}},
    {Kind::Caption, L"Label54", L"Icon Height:", {16, Row(7), 110, 14}},
    {Kind::Value, L"LabelIHeight", L"", {130, Row(7), 200, 14}},
    {Kind::Caption, L"Label55", L"Icon Width:", {16, Row(8), 110, 14}},
    {Kind::Value, L"LabelIWidth", L"", {130, Row(8), 200, 14}},
    {Kind::Caption, L"Label63", L"Icon Location:", {16, Row(9), 110, 14}},
    {Kind::Value, L"LabelIcons", L"", {130, Row(9), 550, 14}},
    {Kind::Caption, L"Label56", L"Screensaver:", {16, Row(10), 110, 14}},
    {Kind::Value, L"LabelSSaver", L"", {130, Row(10), 550, 14}},
    {Kind::Caption, L"Label57", L"Wallpaper:", {16, Row(11), 110, 14}},
    {Kind::Value, L"LabelWallpaper", L"", {130, Row(11), 550, 14}},
    {Kind::Caption, L"Label129", L"Font smoothing:", {16, Row(12), 110, 14}},
    {Kind::Value, L"LabelSmoothing", L"", {130, Row(12), 200, 14}},

    {Kind::Caption, L"Label100", L"Graphic adapter:", {360, Row(0), 100, 14}},
    {Kind::Value, L"LabelGCard", L"", {464, Row(0), 220, 14}},
    {Kind::Caption, L"Label101", L"Frames/sec:", {360, Row(1), 100, 14}},
    {Kind::Value, L"LabelGRefresh", L"", {464, Row(1), 220, 14}},
    {Kind::Caption, L"Label102", L"Ram:", {360, Row(2), 100, 14}},
    {Kind::Value, L"LabelGRam", L"", {464, Row(2), 220, 14}},
    {Kind::Caption, L"Label103", L"Processor:", {360, Row(3), 100, 14}},
    {Kind::Value, L"LabelGProc", L"", {464, Row(3), 220, 14}},
    {Kind::Caption, L"Label104", L"Driver version:", {360, Row(4), 100, 14}},
    {Kind::Value, L"LabelGDevice", L"", {464, Row(4), 220, 14}},
    {Kind::Caption, L"Label105", L"PNP device:", {360, Row(5), 100, 14}},
    {Kind::Value, L"LabelPNP", L"", {464, Row(5), 220, 14}},
    {Kind::Caption, L"Label111", L"Status:", {360, Row(6), 100, 14}},
    {Kind::StatusYes, L"ImageDisplay1", nullptr, {464, Row(6) - 1, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageDisplay2", nullptr, {464, Row(6) - 1, 16, 16}, kHidden},

    {Kind::Caption, L"LabelDefaultWidth", L"Default Width", {16, 300, 90, 14}},
    {Kind::Edit, L"EditWidth", L"", {16, 315, 80, 21}, kCentered},
    {Kind::Caption, L"Label132", L"X", {101, 318, 12, 14}},
    {Kind::Caption, L"LabelDefaultHeight", L"Default  Height", {116, 300, 90, 14}},
    {Kind::Edit, L"EditHeight", L"", {116, 315, 80, 21}, kCentered},
    {Kind::Button, L"SpeedButton38", L"Restore", {216, 313, 90, 25}},
    {Kind::Button, L"SpeedButton39", L"Clear", {316, 313, 90, 25}},
};

}  // namespace

std::span<const ControlSpec> DisplayPage::Layout() const { return kDisplayPage; }

void DisplayPage::Bind() {
  form().OnClick(L"SpeedButton38", [this] { BitBtnRestoreClick(); });
  form().OnClick(L"SpeedButton39", [this] { BtnClearClick(); });
}

void DisplayPage::FillDisplayPage() {
  const DisplayFacts f = display_.Facts();
  if (const auto name = ColourDepthName(f.deviceBits)) SetText(Ctl(L"LabelColor"), *name);
  SetText(Ctl(L"LabelSWidth"), IntToStr(f.width) + L" Pixel");
  if (Trim(GetText(Ctl(L"EditWidth"))).empty()) SetText(Ctl(L"EditWidth"), IntToStr(f.width));
  SetText(Ctl(L"LabelSHeight"), IntToStr(f.height) + L" Pixel");
  if (Trim(GetText(Ctl(L"EditHeight"))).empty()) SetText(Ctl(L"EditHeight"), IntToStr(f.height));
  SetText(Ctl(L"LabelDpi"), IntToStr(f.dpi));
  SetText(Ctl(L"LabelHZ"), IntToStr(RefreshRateShown(f.refreshRate)) + L" Hz");
  SetText(Ctl(L"LabelBits"), IntToStr(f.bitsPerPixel) + L" Bit");
  SetText(Ctl(L"LabelIHeight"), IntToStr(f.iconHeight) + L" Pixel");
  SetText(Ctl(L"LabelIWidth"), IntToStr(f.iconWidth) + L" Pixel");
  SetText(Ctl(L"LabelIcons"), f.iconLocation);
  SetText(Ctl(L"LabelSSaver"), f.screenSaver);
  SetText(Ctl(L"LabelWallpaper"), f.wallpaper);
  SetText(Ctl(L"LabelMonitor"), IntToStr(f.monitors));
  SetText(Ctl(L"LabelSmoothing"), f.clearType ? L"ClearType" : L"Standard");

  auto video = [this](const wchar_t* property) { return wmi_.WmiQuery(L"Win32_VideoController", property); };
  // No answer is no number: the conversion error ends the fill before the adapter fields.
  const std::wstring ram = AdapterRamText(video(L"AdapterRAM"));
  const std::wstring pnp = PnpPrefix(video(L"PNPDeviceID"));
  SetText(Ctl(L"LabelGCard"), video(L"Name"));
  SetText(Ctl(L"LabelGRam"), ram);
  SetText(Ctl(L"LabelGRefresh"), video(L"MaxRefreshRate"));
  SetText(Ctl(L"LabelGProc"), video(L"VideoProcessor"));
  SetText(Ctl(L"LabelGDevice"), video(L"DriverVersion"));
  SetText(Ctl(L"LabelPNP"), pnp);
  const bool ok = IsStatusOk(video(L"Status"));
  SetVisible(Ctl(L"ImageDisplay1"), ok);
  SetVisible(Ctl(L"ImageDisplay2"), !ok);
}

void DisplayPage::CheckResolutionOnActivate() {
  // The edits may stand on a page not built yet; the check does not build it.
  const ResolutionCheck check =
      CheckResolution(form().CtlText(L"EditWidth"), form().CtlText(L"EditHeight"), display_.CurrentSize(), [this](Msg question) {
        return dialogs().ShowMessageBox(messages_[question], L"Corvel", mb::kIconQuestion | mb::kYesNo) == mb::kIdYes;
      });
  form().SetCtlText(L"EditWidth", check.editWidth);
  form().SetCtlText(L"EditHeight", check.editHeight);
  if (check.failure) throw ConvertError(*check.failure);
  if (check.setTo) SetScreenResolution(check.setTo->width, check.setTo->height);  // a refusal is not reported
}

bool DisplayPage::SetScreenResolution(int width, int height) { return display_.SetScreenResolution(width, height); }

void DisplayPage::BitBtnRestoreClick() {
  const int width = StrToInt(GetText(Ctl(L"EditWidth")));
  const int height = StrToInt(GetText(Ctl(L"EditHeight")));
  SetScreenResolution(width, height);
}

void DisplayPage::BtnClearClick() {
  SetText(Ctl(L"EditWidth"), L"");
  SetText(Ctl(L"EditHeight"), L"");
}

}  // namespace corvel
