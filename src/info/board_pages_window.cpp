// The APM/Sound, Bios and Mainboard pages.
#include "info/board_pages_window.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "resource.h"
#include "base/text.h"
#include "info/board_pages.h"
#include "info/power_status.h"

namespace corvel {

namespace {

constexpr DWORD kSoundNoticeMs = 4000;
constexpr const wchar_t* kBiosUpdateAddress = L"https://corvel.example/bios-updates";
constexpr const wchar_t* kDriverUpdateAddress = L"https://corvel.example/driver-updates";

const ControlSpec kApmSoundPage[] = {
    {Kind::Caption, L"Label58", L"Battery", {16, 16, 300, 14}, kBold},
    {Kind::Caption, L"Label60", L"Life percent:", {16, 40, 110, 14}},
    {Kind::Value, L"Labelpercent", L"", {130, 40, 60, 14}},
    {Kind::Progress, L"ProgressBar1", nullptr, {200, 39, 200, 16}},
    {Kind::Caption, L"Label62", L"Line status:", {16, 64, 110, 14}},
    {Kind::StatusYes, L"ImageLineOn", nullptr, {130, 63, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageLineOff", nullptr, {130, 63, 16, 16}, kHidden},
    {Kind::StatusUnknown, L"ImageUnKnown", nullptr, {130, 63, 16, 16}, kHidden},
    {Kind::Caption, L"Label139", L"Sound", {16, 110, 300, 14}, kBold},
    {Kind::Caption, L"Label137", L"Sound card:", {16, 134, 110, 14}},
    {Kind::Value, L"LabelSoundcard", L"", {130, 134, 520, 14}},
    {Kind::Caption, L"Label140", L"Manufacturer:", {16, 152, 110, 14}},
    {Kind::Value, L"LabelSoundM", L"", {130, 152, 520, 14}},
    {Kind::Caption, L"Label141", L"Status:", {16, 170, 110, 14}},
    {Kind::StatusYes, L"ImageSound2", nullptr, {130, 169, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageSound1", nullptr, {130, 169, 16, 16}, kHidden},
    {Kind::Button, L"SpeedButton37", L"Check sound", {16, 200, 150, 28}},
    {Kind::Value, L"Label99", L"", {16, 360, 640, 14}, kHidden},
};

const ControlSpec kBiosPage[] = {
    {Kind::Caption, L"Label84", L"BIOS Information", {16, 16, 300, 14}, kBold},
    {Kind::Caption, L"Label72", L"Manufacturer:", {16, 40, 150, 14}},
    {Kind::Value, L"LabelManufacturer", L"", {170, 40, 480, 14}},
    {Kind::Caption, L"Label73", L"Name:", {16, 58, 150, 14}},
    {Kind::Value, L"LabelBiosName", L"", {170, 58, 480, 14}},
    {Kind::Caption, L"Label74", L"Serial Number:", {16, 76, 150, 14}},
    {Kind::Value, L"LabelSerial", L"", {170, 76, 480, 14}},
    {Kind::Caption, L"Label77", L"Date:", {16, 94, 150, 14}},
    {Kind::Value, L"LabelDate", L"", {170, 94, 480, 14}},
    {Kind::Caption, L"Label79", L"Version:", {16, 112, 150, 14}},
    {Kind::Value, L"LabelVersion", L"", {170, 112, 480, 14}},
    {Kind::Caption, L"Label75", L"Language:", {16, 130, 150, 14}},
    {Kind::Value, L"LabelLanguage", L"", {170, 130, 480, 14}},
    {Kind::Caption, L"Label76", L"Primary BIOS:", {16, 148, 150, 14}},
    {Kind::Value, L"LabelPrimary", L"", {170, 148, 480, 14}},
    {Kind::Caption, L"Label78", L"SMBIOS Version:", {16, 166, 150, 14}},
    {Kind::Value, L"LabelSMVersion", L"", {170, 166, 480, 14}},
    {Kind::Caption, L"Label80", L"SMBIOS Major Version:", {16, 184, 150, 14}},
    {Kind::Value, L"LabelMajor", L"", {170, 184, 480, 14}},
    {Kind::Caption, L"Label81", L"SMBIOS Minor Version:", {16, 202, 150, 14}},
    {Kind::Value, L"LabelMinor", L"", {170, 202, 480, 14}},
    {Kind::Caption, L"Label82", L"SMBIOS Present:", {16, 220, 150, 14}},
    {Kind::Value, L"LabelPresent", L"", {170, 220, 480, 14}},
    {Kind::Caption, L"Label83", L"Build Number:", {16, 238, 150, 14}},
    {Kind::Value, L"LabelNumber", L"", {170, 238, 480, 14}},
    {Kind::Caption, L"Label85", L"Status:", {16, 256, 150, 14}},
    {Kind::StatusYes, L"ImageBios1", nullptr, {170, 255, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageBios2", nullptr, {170, 255, 16, 16}, kHidden},
    {Kind::Link, L"Label64", L"Check for latest BIOS  Updates", {16, 290, 300, 14}},
};

const ControlSpec kMainboardPage[] = {
    {Kind::Caption, L"Label87", L"Mainboard ", {16, 16, 300, 14}, kBold},
    {Kind::Caption, L"Label86", L"Description:", {16, 40, 110, 14}},
    {Kind::Value, L"LabelBDescription", L"", {130, 40, 200, 14}},
    {Kind::Caption, L"Label88", L"Manufacturer:", {16, 58, 110, 14}},
    {Kind::Value, L"LabelBManufacturer", L"", {130, 58, 200, 14}},
    {Kind::Caption, L"Label89", L"Product:", {16, 76, 110, 14}},
    {Kind::Value, L"LabelBProduct", L"", {130, 76, 200, 14}},
    {Kind::Caption, L"Label90", L"Version:", {16, 94, 110, 14}},
    {Kind::Value, L"LabelBVersion", L"", {130, 94, 200, 14}},
    {Kind::Caption, L"Label91", L"Model:", {16, 112, 110, 14}},
    {Kind::Value, L"LabelBModel", L"", {130, 112, 200, 14}},
    {Kind::Caption, L"Label92", L"Name:", {16, 130, 110, 14}},
    {Kind::Value, L"LabelBName", L"", {130, 130, 200, 14}},
    {Kind::Caption, L"Label93", L"HostingBoard:", {16, 148, 110, 14}},
    {Kind::Value, L"LabelHosting", L"", {130, 148, 200, 14}},
    {Kind::Caption, L"Label94", L"SerialNumber:", {16, 166, 110, 14}},
    {Kind::Value, L"LabelBSerial", L"", {130, 166, 200, 14}},
    {Kind::Caption, L"Label95", L"PoweredOn:", {16, 184, 110, 14}},
    {Kind::Value, L"LabelPowered", L"", {130, 184, 200, 14}},
    {Kind::Caption, L"Label96", L"Tag:", {16, 202, 110, 14}},
    {Kind::Value, L"LabelBTag", L"", {130, 202, 200, 14}},
    {Kind::Caption, L"Label108", L"Primary Bus Type:", {16, 220, 110, 14}},
    {Kind::Value, L"LabelBusType", L"", {130, 220, 200, 14}},
    {Kind::Caption, L"Label109", L"Status:", {16, 238, 110, 14}},
    {Kind::StatusYes, L"ImageBoard1", nullptr, {130, 237, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageBoard2", nullptr, {130, 237, 16, 16}, kHidden},
    {Kind::Caption, L"Label125", L"RAM", {350, 16, 300, 14}, kBold},
    {Kind::Caption, L"Label119", L"Bank:", {350, 40, 100, 14}},
    {Kind::ComboBox, L"ComboBox1", L"", {450, 37, 200, 21}},
    {Kind::Caption, L"Label118", L"Tag:", {350, 66, 100, 14}},
    {Kind::Value, L"LabelMemTag", L"", {450, 66, 230, 14}},
    {Kind::Caption, L"Label120", L"Rated Speed:", {350, 84, 100, 14}},
    {Kind::Value, L"LabelMemSpeed", L"", {450, 84, 230, 14}},
    {Kind::Caption, L"Label122", L"Module:", {350, 102, 100, 14}},
    {Kind::Value, L"LabelMemModule", L"", {450, 102, 230, 14}},
    {Kind::Caption, L"Label124", L"Capacity:", {350, 120, 100, 14}},
    {Kind::Value, L"LabelMemCapacity", L"", {450, 120, 230, 14}},
    {Kind::Caption, L"Label126", L"Socket Width:", {350, 138, 100, 14}},
    {Kind::Value, L"LabelMemSocket", L"", {450, 138, 230, 14}},
    {Kind::Caption, L"Label128", L"Manufacturer:", {350, 156, 100, 14}},
    {Kind::Value, L"LabelMemManufacturer", L"", {450, 156, 230, 14}},
    {Kind::Caption, L"Label121", L"Form Factor:", {350, 174, 100, 14}},
    {Kind::Value, L"LabelMemForm", L"", {450, 174, 230, 14}},
    {Kind::Link, L"Label33", L"Check for latest Driver Updates", {16, 290, 300, 14}},
};

}  // namespace

void SystemSoundTest::Play(unsigned id, unsigned flags) {
  PlaySoundW(MAKEINTRESOURCEW(id), GetModuleHandleW(nullptr), flags);
}

void SystemSoundTest::Wait(unsigned ms) { Sleep(ms); }

std::span<const ControlSpec> ApmSoundPage::Layout() const { return kApmSoundPage; }
std::span<const ControlSpec> BiosPage::Layout() const { return kBiosPage; }
std::span<const ControlSpec> MainboardPage::Layout() const { return kMainboardPage; }

void ApmSoundPage::Bind() { form().OnClick(L"SpeedButton37", [this] { ButtonTSoundClick(); }); }
void BiosPage::Bind() { form().OnClick(L"Label64", [this] { Label64Click(); }); }
void MainboardPage::Bind() {
  form().OnClick(L"Label33", [this] { Label33Click(); });
  form().OnSelect(L"ComboBox1", [this] { ComboBox1Select(); });
}

// ---- APM/Sound ----

void ApmSoundPage::FillApmSoundPage() {
  // A failing power status ends the fill here, before the sound fields.
  const BatteryState battery = ReadBatteryState(windowsMajor_, power_);
  SetText(Ctl(L"Labelpercent"), IntToStr(battery.percent) + L" %");
  ProgressBar(Ctl(L"ProgressBar1")).SetPosition(battery.percent);  // 255 stands at the maximum
  SetVisible(Ctl(L"ImageLineOff"), battery.line == LineStatus::Off);
  SetVisible(Ctl(L"ImageLineOn"), battery.line == LineStatus::On);
  SetVisible(Ctl(L"ImageUnKnown"), battery.line == LineStatus::Unknown);
  HWND card = Ctl(L"LabelSoundcard");
  SetText(card, wmi_.WmiQuery(L"Win32_SoundDevice", L"ProductName"));
  if (Trim(GetText(card)).empty()) SetText(card, wmi_.WmiQuery(L"Win32_SoundDevice", L"Description"));
  SetText(Ctl(L"LabelSoundM"), wmi_.WmiQuery(L"Win32_SoundDevice", L"Manufacturer"));
  const bool ok = IsStatusOk(wmi_.WmiQuery(L"Win32_SoundDevice", L"Status"));
  SetVisible(Ctl(L"ImageSound2"), ok);
  SetVisible(Ctl(L"ImageSound1"), !ok);
}

void ApmSoundPage::ButtonTSoundClick() {
  HWND notice = Ctl(L"Label99");
  SetVisible(notice, true);
  UpdateWindow(notice);
  sound_.Play(IDW_FANFARE, SND_RESOURCE | SND_ASYNC);
  // The notice stays up while most of the fanfare plays; the window waits with it.
  sound_.Wait(kSoundNoticeMs);
  SetVisible(notice, false);
}

// ---- Bios ----

void BiosPage::FillBiosPage() {
  auto bios = [this](const wchar_t* property) { return wmi_.WmiQuery(L"Win32_BIOS", property); };
  SetText(Ctl(L"LabelDate"), BiosDateText(bios(L"ReleaseDate")));
  const std::pair<const wchar_t*, const wchar_t*> fields[] = {
      {L"LabelLanguage", L"CurrentLanguage"}, {L"LabelManufacturer", L"Manufacturer"}, {L"LabelBiosName", L"Name"},
      {L"LabelPrimary", L"PrimaryBIOS"},      {L"LabelSerial", L"SerialNumber"},       {L"LabelSMVersion", L"SMBIOSBIOSVersion"},
      {L"LabelMajor", L"SMBIOSMajorVersion"}, {L"LabelMinor", L"SMBIOSMinorVersion"},  {L"LabelPresent", L"SMBIOSPresent"},
  };
  for (const auto& [label, property] : fields) SetText(Ctl(label), bios(property));
  const bool ok = IsStatusOk(bios(L"Status"));
  SetVisible(Ctl(L"ImageBios1"), ok);
  SetVisible(Ctl(L"ImageBios2"), !ok);
  SetText(Ctl(L"LabelVersion"), bios(L"Version"));
  SetText(Ctl(L"LabelNumber"), bios(L"BuildNumber"));
}

void BiosPage::Label64Click() { ops_.ShellOpenUrl(kBiosUpdateAddress); }

// ---- Mainboard ----

void MainboardPage::FillMainboardPage() {
  const std::pair<const wchar_t*, const wchar_t*> board[] = {
      {L"LabelBDescription", L"Description"}, {L"LabelBManufacturer", L"Manufacturer"}, {L"LabelBProduct", L"Product"},
      {L"LabelBVersion", L"Version"},         {L"LabelBModel", L"Model"},               {L"LabelBName", L"Name"},
      {L"LabelHosting", L"HostingBoard"},     {L"LabelBSerial", L"SerialNumber"},       {L"LabelPowered", L"PoweredOn"},
      {L"LabelBTag", L"Tag"},
  };
  for (const auto& [label, property] : board) SetText(Ctl(label), wmi_.WmiQuery(L"Win32_BaseBoard", property));
  SetText(Ctl(L"LabelBusType"), wmi_.WmiQuery(L"Win32_MotherboardDevice", L"PrimaryBusType"));
  const bool ok = IsStatusOk(wmi_.WmiQuery(L"Win32_MotherboardDevice", L"Status"));
  SetVisible(Ctl(L"ImageBoard1"), ok);
  SetVisible(Ctl(L"ImageBoard2"), !ok);
  ClearModuleTable();
  // Only for their effect on the module table.
  for (const wchar_t* property : {L"Tag", L"Manufacturer", L"BankLabel", L"DeviceLocator", L"Capacity", L"Speed",
                                  L"TotalWidth", L"FormFactor"})
    wmi_.WmiQuery(L"Win32_PhysicalMemory", property);
  Combo banks(Ctl(L"ComboBox1"));
  for (const std::wstring& item : BankItems(modules_)) banks.Add(item);
  banks.Select(0);
  ComboBox1Select();
}

void MainboardPage::ClearModuleTable() {
  modules_.Clear();
  Combo(Ctl(L"ComboBox1")).Clear();
}

void MainboardPage::ComboBox1Select() {
  const int k = Combo(Ctl(L"ComboBox1")).Selected();
  const std::pair<const wchar_t*, ModuleField> shown[] = {
      {L"LabelMemTag", ModuleField::Tag},           {L"LabelMemSpeed", ModuleField::Speed},
      {L"LabelMemModule", ModuleField::DeviceLocator}, {L"LabelMemCapacity", ModuleField::Capacity},
      {L"LabelMemSocket", ModuleField::TotalWidth}, {L"LabelMemManufacturer", ModuleField::Manufacturer},
      {L"LabelMemForm", ModuleField::FormFactor},
  };
  // The item index is the slot number, whatever slot the item came from.
  for (const auto& [label, field] : shown)
    SetText(Ctl(label), k >= 0 && k < kModuleSlots ? modules_.At(k, field) : std::wstring());
}

void MainboardPage::Label33Click() { ops_.ShellOpenUrl(kDriverUpdateAddress); }

}  // namespace corvel
