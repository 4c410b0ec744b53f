#include "app/sysinfo_window.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "app/about_window.h"
#include "app/language_form.h"
#include "app/system_win.h"
#include "resource.h"
#include "base/errors.h"
#include "base/text.h"
#include "info/board_pages.h"
#include "info/power_status.h"
#include "win/files.h"

namespace corvel {

namespace {

constexpr int kClientWidth = 700, kClientHeight = 421;
constexpr UINT_PTR kTimer1 = 1;
constexpr DWORD kSoundNoticeMs = 4000;
constexpr const wchar_t* kOnlineAddress = L"https://corvel.example/";
constexpr const wchar_t* kBiosUpdateAddress = L"https://corvel.example/bios-updates";
constexpr const wchar_t* kDriverUpdateAddress = L"https://corvel.example/driver-updates";

// Controls of the pages that the application shell itself reads and writes;
// each information page adds its own fields.
const ControlSpec kSystemPage[] = {
    {Kind::Caption, L"Label142", L"UAC enabled:", {16, 340, 90, 14}},
    {Kind::StatusYes, L"ImageUACy", nullptr, {110, 339, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageUACn", nullptr, {110, 339, 16, 16}, kHidden},
};

const ControlSpec kNetworkPage[] = {
    {Kind::Caption, L"Label60", L"Adapter:", {16, 120, 90, 14}},
    {Kind::Value, L"LabelAdapter", L"", {110, 120, 330, 14}},
    {Kind::StatusYes, L"ImageNetY", nullptr, {450, 119, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageNetN", nullptr, {450, 119, 16, 16}, kHidden},
    {Kind::Caption, L"Label61", L"Type:", {16, 138, 90, 14}},
    {Kind::Value, L"LabelTransmit", L"", {110, 138, 330, 14}},
    {Kind::Caption, L"Label62", L"MAC address:", {16, 156, 90, 14}},
    {Kind::Value, L"LabelRecieve", L"", {110, 156, 330, 14}},
    {Kind::Caption, L"Label63", L"Manufacturer:", {16, 174, 90, 14}},
    {Kind::Value, L"LabelATypt", L"", {110, 174, 330, 14}},
    {Kind::Caption, L"LabelServer", L"Server", {16, 230, 160, 14}},
    {Kind::Edit, L"EditServer", L"", {16, 245, 160, 21}},
    {Kind::Caption, L"LabelUser", L"User", {186, 230, 130, 14}},
    {Kind::Edit, L"EditUser", L"", {186, 245, 130, 21}},
    {Kind::Caption, L"LabelPassword", L"Password", {326, 230, 130, 14}},
    {Kind::Edit, L"EditPassword", L"", {326, 245, 130, 21}},
    {Kind::CheckBox, L"CheckBox1", L"", {16, 276, 16, 16}},
    {Kind::Link, L"Label127", L"Anonymous", {36, 277, 100, 14}},
    {Kind::Caption, L"LabelFtpClient", L"FTP-Client (optional)", {16, 302, 200, 14}},
    {Kind::Edit, L"EditFtpClient", L"", {16, 317, 300, 21}},
};

const ControlSpec kDisplayPage[] = {
    {Kind::Caption, L"LabelDefaultWidth", L"Default Width", {16, 300, 90, 14}},
    {Kind::Edit, L"EditWidth", L"", {16, 315, 80, 21}, kCentered},
    {Kind::Caption, L"LabelDefaultHeight", L"Default  Height", {116, 300, 90, 14}},
    {Kind::Edit, L"EditHeight", L"", {116, 315, 80, 21}, kCentered},
};

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

const ControlSpec kControlPage[] = {
    {Kind::Button, L"Buttoncalc", L"Calc", {16, 16, 120, 25}, 0, L"Run calculator"},
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

const ControlSpec kMiscPage[] = {
    {Kind::Caption, L"Label6", L"Date/Time/Alarm", {16, 16, 200, 14}, kBold},
    {Kind::Button, L"ButtonHour", L"24 h", {16, 110, 60, 25}},
    {Kind::Caption, L"Label138", L"Stop watch", {16, 200, 200, 14}, kBold},
    {Kind::Value, L"LabelWatch", L"00:00:00", {16, 220, 150, 28}},
    {Kind::Button, L"ButtonWatch1", L"Start", {16, 256, 70, 25}},
    {Kind::Button, L"ButtonWatch2", L"Reset", {96, 256, 70, 25}},
    {Kind::Button, L"SpeedButton41", L"German", {520, 250, 150, 28}, kHidden},
    {Kind::Button, L"SpeedButton42", L"English", {520, 250, 150, 28}, kHidden},
    {Kind::Button, L"SpeedButton45", L"About...       ", {520, 284, 150, 28}},
    {Kind::Button, L"SpeedButton28", L"Online", {520, 318, 150, 28}},
    {Kind::Button, L"SpeedButton44", L"Quit", {520, 352, 150, 28}},
};

}  // namespace

const std::array<TFormSysInfo::PageDesign, TFormSysInfo::kPageCount> TFormSysInfo::kPages = {{
    {L"TabSheetWindows", L"System", RGB(170, 200, 235)},
    {L"TabSheetCPU", L"CPU", RGB(190, 220, 190)},
    {L"TabSheetFolders", L"Folders", RGB(235, 215, 170)},
    {L"TabSheetIdent", L"Network", RGB(180, 215, 230)},
    {L"TabSheetMem", L"Memory", RGB(215, 200, 235)},
    {L"TabSheetRes", L"Display", RGB(200, 230, 215)},
    {L"TabSheetMisc", L"APM/Sound", RGB(235, 200, 200)},
    {L"TabSheet1", L"Bios", RGB(220, 220, 190)},
    {L"TabSheet2", L"Mainboard", RGB(190, 205, 225)},
    {L"TabSheetClipBoard", L"Control", RGB(225, 210, 190)},
    {L"TabSheetProc", L"Process", RGB(200, 215, 200)},
    {L"TabSheetAStart", L"Autostart", RGB(230, 205, 220)},
    {L"TabSheetAbout", L"Misc", RGB(205, 215, 235)},
}};

TFormSysInfo::TFormSysInfo(Dialogs& dialogs, Shell& shell, const CodePage& codePage, Wmi& wmi, unsigned windowsMajor)
    : Form(dialogs, L"TFormSysInfo"),
      shell_(shell),
      wmi_(wmi, *this),
      codePage_(codePage),
      ops_(shell, dialogs, messages_, windowsMajor),
      windowsMajor_(windowsMajor) {
  soundTest_.play = [](unsigned id, unsigned flags) {
    PlaySoundW(MAKEINTRESOURCEW(id), GetModuleHandleW(nullptr), flags);
  };
  soundTest_.wait = [](unsigned ms) { Sleep(ms); };
  // Start-up messages need their texts before the settings are loaded.
  messages_.Fill(0);
}

void TFormSysInfo::Create() {
  CreateForm(L"Corvel PRO", kClientWidth, kClientHeight, nullptr,
             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
  keyPreview = true;
  CreatePages();
  OnClick(L"SpeedButton41", [this] { BitBtn35Click(); });
  OnClick(L"SpeedButton42", [this] { BitBtn36Click(); });
  OnClick(L"SpeedButton45", [this] { BitBtnAboutClick(); });
  OnClick(L"SpeedButton44", [this] { BitBtn44Click(); });
  OnClick(L"SpeedButton28", [this] { SpeedButton28Click(); });
  OnClick(L"Buttoncalc", [this] { ButtoncalcClick(); });
  OnClick(L"Label64", [this] { Label64Click(); });
  OnClick(L"Label33", [this] { Label33Click(); });
  OnSelect(L"ComboBox1", [this] { ComboBox1Select(); });
  OnClick(L"SpeedButton37", [this] { ButtonTSoundClick(); });
  OnClick(L"Label127", [this] { SetChecked(Ctl(L"CheckBox1"), !IsChecked(Ctl(L"CheckBox1"))); });
}

void TFormSysInfo::CreatePages() {
  pageControl_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0,
                                 kClientWidth, kClientHeight, hwnd(), reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr),
                                 nullptr);
  SendMessageW(pageControl_, WM_SETFONT, reinterpret_cast<WPARAM>(Fonts::Arial8()), FALSE);
  // Narrow tab padding keeps all thirteen captions on one row.
  SendMessageW(pageControl_, TCM_SETPADDING, 0, MAKELPARAM(2, 3));
  for (int i = 0; i < kPageCount; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kPages[i].caption);
    SendMessageW(pageControl_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  RECT area{0, 0, kClientWidth, kClientHeight};
  SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  const std::span<const ControlSpec> tables[kPageCount] = {kSystemPage, {}, {}, kNetworkPage, {}, kDisplayPage,
                                                           kApmSoundPage, kBiosPage, kMainboardPage, kControlPage, {}, {},
                                                           kMiscPage};
  for (int i = 0; i < kPageCount; ++i) {
    AddPage(kPages[i].sheet, kPages[i].bottom, area, tables[i]);
  }
  // The Control page is active as designed; nothing else is selected before showing.
  SendMessageW(pageControl_, TCM_SETCURSEL, kControl, 0);
  ShowSelectedPage();
}

int TFormSysInfo::ActivePage() const {
  return static_cast<int>(SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0));
}

void TFormSysInfo::ShowSelectedPage() {
  int active = ActivePage();
  for (int i = 0; i < kPageCount; ++i) {
    Page& page = *pages().find(kPages[i].sheet)->second;
    if (i == active) {
      page.Build();
      SetWindowPos(page.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    } else if (page.Built()) {
      ShowWindow(page.hwnd(), SW_HIDE);
    }
  }
}

void TFormSysInfo::Notify(const NMHDR& header) {
  if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE) {
    ShowSelectedPage();
    PageControl1Change();
  }
}

LRESULT TFormSysInfo::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      // Activation checks run at start and whenever the user comes back from
      // one of the program's own windows, not when switching from another program.
      if (LOWORD(wp) != WA_INACTIVE && !closing_) {
        HWND previous = reinterpret_cast<HWND>(lp);
        bool fromOwnWindow = previous && dynamic_cast<Form*>(Window::FromHwnd(previous));
        if (!activatedOnce_ || fromOwnWindow) {
          activatedOnce_ = true;
          FormActivate();
        }
      }
      break;
    case WM_TIMER:
      if (wp == kTimer1) return 0;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return Form::OnMessage(msg, wp, lp);
}

// ---- start-up, activation, closing ----

void TFormSysInfo::FormShow() {
  keptFlag_ = true;
  iconCheckFlag_ = false;
  SetText(Ctl(L"EditWidth"), L"");
  SetText(Ctl(L"EditHeight"), L"");
  SetEnabled(Ctl(L"ButtonWatch2"), true);
  programFolder_ = ProgramFolder();
  dataFolder_ = DataFolder();
  iconPositionsFile_ = dataFolder_ + L"iconpos.csv";
  if (!EnablePrivilege(L"SeDebugPrivilege"))
    dialogs().ShowMessageBox(messages_[Msg::DebugPrivilegeFailed], L"Corvel", mb::kIconWarning | mb::kOk);
  if (!DirectoryExists(dataFolder_) && !CreateDirectoryW(dataFolder_.c_str(), nullptr)) throw InOutError(GetLastError());
  settingsFile_ = dataFolder_ + L"corvel.ini";
  LoadSettings();
  SelectHelpFile();
  SetLanguageButtons();
  RefreshActivePage();
  bool uac = IsUacEnabled();
  SetVisible(Ctl(L"ImageUACy"), uac);
  SetVisible(Ctl(L"ImageUACn"), !uac);
  FillMessageTable();
}

void TFormSysInfo::FormActivate() {
  CheckResolutionOnActivate();
  CheckIconPositionsOnActivate();
}

void TFormSysInfo::FormCloseRequested() {
  closing_ = true;
  FormClose();
  DestroyWindow(hwnd());
}

void TFormSysInfo::FormClose() {
  // Closing never reports a failed save; the window closes in every case.
  try {
    SaveSettings();
  } catch (...) {
  }
}

bool TFormSysInfo::PreviewKeyDown(WPARAM vk) {
  if (vk != VK_F1) return false;
  ShowHelpContext(hwnd(), helpFile_, 200);
  return true;
}

// ---- refresh cycle ----

void TFormSysInfo::PageControl1Change() { RefreshActivePage(); }

void TFormSysInfo::StopTimer1() { KillTimer(hwnd(), kTimer1); }

void TFormSysInfo::RefreshActivePage() {
  StopTimer1();
  // One answer per WMI class for the whole refresh; the next one asks afresh.
  WmiQueryService::Fill fill(wmi_);
  architecture_ = wmi_.WmiQuery(L"Win32_OperatingSystem", L"OSArchitecture");
  switch (ActivePage()) {
    case kSystem: FillSystemPage(architecture_); break;
    case kCpu: FillCpuPage(); break;
    case kFolders: FillFoldersPage(); break;
    case kNetwork: FillNetworkPage(); break;
    case kMemory: FillMemoryPage(); break;
    case kDisplay: FillDisplayPage(); break;
    case kApmSound: FillApmSoundPage(); break;
    case kBios: FillBiosPage(); break;
    case kMainboard: FillMainboardPage(); break;
    case kControl: break;
    case kProcess: ProcessPageRefresh(); break;
    case kAutostart: FillAutostartList(); break;
    case kMisc: MiscPageEntry(); break;
  }
}

// ---- information pages ----

void TFormSysInfo::FillApmSoundPage() {
  StopTimer1();
  // A failing power status ends the fill here, before the sound fields.
  const BatteryState battery = ReadBatteryState(windowsMajor_, *power_);
  SetText(Ctl(L"Labelpercent"), IntToStr(battery.percent) + L" %");
  SendMessageW(Ctl(L"ProgressBar1"), PBM_SETPOS, battery.percent, 0);  // 255 stands at the maximum
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

void TFormSysInfo::ButtonTSoundClick() {
  HWND notice = Ctl(L"Label99");
  SetVisible(notice, true);
  UpdateWindow(notice);
  soundTest_.play(IDW_FANFARE, SND_RESOURCE | SND_ASYNC);
  // The notice stays up while most of the fanfare plays; the window waits with it.
  soundTest_.wait(kSoundNoticeMs);
  SetVisible(notice, false);
}

void TFormSysInfo::FillBiosPage() {
  StopTimer1();
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

void TFormSysInfo::Label64Click() { ops_.ShellOpenUrl(kBiosUpdateAddress); }

void TFormSysInfo::FillMainboardPage() {
  StopTimer1();
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
  HWND banks = Ctl(L"ComboBox1");
  for (const std::wstring& item : BankItems(modules_)) ComboAdd(banks, item);
  ComboSelect(banks, 0);
  ComboBox1Select();
}

void TFormSysInfo::ClearModuleTable() {
  modules_.Clear();
  ComboClear(Ctl(L"ComboBox1"));
}

void TFormSysInfo::ComboBox1Select() {
  const int k = ComboSelected(Ctl(L"ComboBox1"));
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

void TFormSysInfo::Label33Click() { ops_.ShellOpenUrl(kDriverUpdateAddress); }

void TFormSysInfo::SetAdapterLabel(AdapterLabel label, const std::wstring& text) {
  static const wchar_t* const kNames[] = {L"LabelAdapter", L"LabelTransmit", L"LabelRecieve", L"LabelATypt"};
  SetText(Ctl(kNames[static_cast<int>(label)]), text);
}

void TFormSysInfo::SetAdapterStatus(bool ok) {
  SetVisible(Ctl(L"ImageNetY"), ok);
  SetVisible(Ctl(L"ImageNetN"), !ok);
}

void TFormSysInfo::MiscPageEntry() {
  SetLanguageButtons();
  StopTimer1();
  ResetStopwatchState();
  SetText(Ctl(L"ButtonHour"), twelveHour_ ? L"24 h" : L"12 h");
}

void TFormSysInfo::ResetStopwatchState() {
  stopwatchRunning_ = false;
  stopwatchStart_ = 0;
  stopwatchTotal_ = 0;
}

// ---- language ----

void TFormSysInfo::SetLanguageButtons() {
  bool english = uiLanguage_ != 0;
  SetVisible(Ctl(L"SpeedButton41"), english);   // "German"
  SetVisible(Ctl(L"SpeedButton42"), !english);  // "English"
}

void TFormSysInfo::SelectHelpFile() { helpFile_ = programFolder_ + HelpFileName(uiLanguage_); }

void TFormSysInfo::FillMessageTable() {
  messages_.Fill(uiLanguage_);
  SetText(Ctl(L"SpeedButton45"), messages_.AboutCaption());
  SetText(Ctl(L"SpeedButton44"), messages_.QuitCaption());
  SetText(Ctl(L"Label99"), messages_.SoundNotice());
}

void TFormSysInfo::SwitchLanguage(int language) {
  uiLanguage_ = language;
  SelectHelpFile();
  FillMessageTable();
  SetLanguageButtons();
}

void TFormSysInfo::BitBtn35Click() { SwitchLanguage(0); }

void TFormSysInfo::BitBtn36Click() { SwitchLanguage(1); }

// ---- Misc page buttons ----

void TFormSysInfo::BitBtnAboutClick() {
  if (!aboutBox_) return;
  aboutBox_->SetVersionText(ProgramVersionText(ProgramPath(), uiLanguage_));
  ShowInLanguage(*aboutBox_, uiLanguage_);
}

// "Calc": the calculator in the current interface language, modally.
void TFormSysInfo::ButtoncalcClick() {
  if (calc_) ShowInLanguage(*calc_, UiLanguage());
}

void TFormSysInfo::BitBtn44Click() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TFormSysInfo::SpeedButton28Click() { ops_.ShellOpenUrl(kOnlineAddress); }

// ---- settings ----

SettingsFields TFormSysInfo::FieldsFromControls() const {
  SettingsFields f;
  f.line0 = line0_;
  f.line1 = line1_;
  f.server = GetText(Ctl(L"EditServer"));
  f.user = GetText(Ctl(L"EditUser"));
  f.password = GetText(Ctl(L"EditPassword"));
  f.anonymous = IsChecked(Ctl(L"CheckBox1"));
  f.ftpClient = GetText(Ctl(L"EditFtpClient"));
  f.width = GetText(Ctl(L"EditWidth"));
  f.height = GetText(Ctl(L"EditHeight"));
  f.keptFlag = keptFlag_;
  f.uiLanguage = uiLanguage_;
  return f;
}

void TFormSysInfo::LoadSettings() {
  SettingsFields f = FieldsFromControls();
  ApplySettingsFile(ReadWholeFile(settingsFile_), codePage_, f);
  line0_ = f.line0;
  line1_ = f.line1;
  SetText(Ctl(L"EditServer"), f.server);
  SetText(Ctl(L"EditUser"), f.user);
  SetText(Ctl(L"EditPassword"), f.password);
  SetChecked(Ctl(L"CheckBox1"), f.anonymous);
  SetText(Ctl(L"EditFtpClient"), f.ftpClient);
  SetText(Ctl(L"EditWidth"), f.width);
  SetText(Ctl(L"EditHeight"), f.height);
  keptFlag_ = f.keptFlag;
  uiLanguage_ = f.uiLanguage;
}

void TFormSysInfo::SaveSettings() {
  if (settingsFile_.empty()) return;  // the show step failed before the path was formed
  SettingsFields f = FieldsFromControls();
  std::string bytes = BuildSettingsFile(f, codePage_);
  SetChecked(Ctl(L"CheckBox1"), f.anonymous);
  WriteFileReplacing(settingsFile_, bytes);
}

}  // namespace corvel
