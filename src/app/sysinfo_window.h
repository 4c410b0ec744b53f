// TFormSysInfo: the main window with its thirteen pages and the refresh cycle.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <functional>
#include <string>

#include "base/messages.h"
#include "app/settings.h"
#include "base/shell.h"
#include "info/cpu_facts.h"
#include "info/network_tools.h"
#include "info/network_win.h"
#include "info/power_status.h"
#include "info/power_win.h"
#include "info/display_win.h"
#include "info/memory_win.h"
#include "info/wmi_query.h"
#include "win/form.h"

namespace corvel {

class TAboutBox;
class TFormPing;
class TwoLanguageForm;

class TFormSysInfo : public Form, private WmiOutputs {
 public:
  // Page indices of PageControl1.
  enum PageIndex { kSystem, kCpu, kFolders, kNetwork, kMemory, kDisplay, kApmSound, kBios, kMainboard,
                   kControl, kProcess, kAutostart, kMisc, kPageCount };
  struct PageDesign {
    const wchar_t* sheet;    // tab sheet name
    const wchar_t* caption;  // tab caption
    COLORREF bottom;         // gradient colour at the bottom of the page
  };
  static const std::array<PageDesign, kPageCount> kPages;

  TFormSysInfo(Dialogs& dialogs, Shell& shell, const CodePage& codePage, Wmi& wmi, unsigned windowsMajor);
  void Create();
  void SetAboutBox(TAboutBox* about) { aboutBox_ = about; }
  void SetCalculator(TwoLanguageForm* calc) { calc_ = calc; }
  // Where the APM/Sound page reads the battery from (the system unless set).
  void SetPowerSource(PowerSource& power) { power_ = &power; }
  // What the sound test does: start the wave resource (id, PlaySoundW flags)
  // and wait (ms). The system's PlaySoundW and Sleep unless set.
  struct SoundTestSteps {
    std::function<void(unsigned id, unsigned flags)> play;
    std::function<void(unsigned ms)> wait;
  };
  void SetSoundTestSteps(SoundTestSteps steps) { soundTest_ = std::move(steps); }
  // Memory and Display pages: where the memory status and the display
  // readings come from and what changes the resolution (the system unless set).
  void SetMemorySource(MemorySource& memory) { memory_ = &memory; }
  void SetDisplaySource(DisplaySource& display) { display_ = &display; }
  // A tool window may set the application's help file; it stays set.
  void SetHelpFile(const std::wstring& file) { helpFile_ = file; }

  Language UiLanguage() const { return uiLanguage_; }
  const MessageTable& Messages() const { return messages_; }
  ShellOps& Ops() { return ops_; }
  int ActivePage() const;
  bool PageBuilt(int index) const;  // pages are built when first shown or asked for
  const std::wstring& HelpFile() const { return helpFile_; }
  const std::wstring& SettingsFilePath() const { return settingsFile_; }
  // The OS architecture the last refresh read.
  const std::wstring& OsArchitecture() const { return architecture_; }
  const MemoryModuleTable& Modules() const { return modules_; }

  // Handlers of the design.
  void FormShow() override;
  void FormActivate();
  void FormClose();
  void PageControl1Change();
  void RefreshActivePage();
  void BitBtn35Click();  // "German"
  void BitBtn36Click();  // "English"
  void BitBtnAboutClick();
  void ButtoncalcClick();
  void BitBtn44Click();  // "Quit"
  void SpeedButton28Click();  // "Online"
  void Label64Click();  // BIOS updates link
  void Label33Click();  // driver updates link
  void ComboBox1Select();
  void ButtonTSoundClick();  // "Check sound"
  void BitBtnRestoreClick();  // "Restore" (SpeedButton38)
  void BtnClearClick();       // "Clear" (SpeedButton39)
  bool PreviewKeyDown(WPARAM vk) override;  // FormKeyDown

  void LoadSettings();
  void SaveSettings();
  void FillMessageTable();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormCloseRequested() override;
  void Notify(const NMHDR& header) override;

 private:
  // What WmiQuery writes besides its result: the adapter fields of the Network
  // page and the memory module table.
  void SetAdapterLabel(AdapterLabel label, const std::wstring& text) override;
  void SetAdapterStatus(bool ok) override;
  MemoryModuleTable& ModuleTable() override { return modules_; }

  void CreatePages();
  void ShowSelectedPage();
  void SetLanguageButtons();  // shows the button of the language that is not active
  void SwitchLanguage(Language language);
  void SelectHelpFile();
  void StopTimer1();
  void MiscPageEntry();
  void ResetStopwatchState();
  SettingsFields FieldsFromControls() const;

  // Each page binds its handlers and fills itself in its own file.
  // System page (system_page_window.cpp)
 public:
  // What the drive buttons do: send an MCI command string (mciSendStringW's
  // result), open a property sheet (ShellExecuteExW) and name a drive's type
  // (DriveTypeName). The system's unless set.
  struct DriveSteps {
    std::function<unsigned(const std::wstring& command)> mci;
    std::function<void(SHELLEXECUTEINFOW& info)> properties;
    std::function<std::wstring(wchar_t letter)> typeName;
  };
  static DriveSteps SystemDriveSteps();
  void SetDriveSteps(DriveSteps steps) { driveSteps_ = std::move(steps); }
  void BitBtn10Click();  // "Properties"
  void BitBtn28Click();  // "Open drive"
  void BitBtn29Click();  // "Close drive"

 private:
  void BindSystemPage();
  void FillSystemPage(const std::wstring& architecture);
  void FillDriveList();
  void DrawDriveItem(const DRAWITEMSTRUCT& item);
  wchar_t CurrentDrive() const;  // 0 when the list has no current item
  void DriveDoorClick(bool open);  // both door buttons: only for a CD-ROM drive
  void SetDriveDoor(wchar_t letter, bool open);
  DriveSteps driveSteps_ = SystemDriveSteps();
  HIMAGELIST driveImages_ = nullptr;  // the shell's, not ours to destroy

  // CPU page (cpu_page_window.cpp)
 public:
  // Where the CPU page's own readings come from: the identification data,
  // the measured clock in MHz and the decimal separator of its figures.
  // This processor and the user's locale unless set.
  struct CpuSource {
    std::function<CpuFacts()> facts;
    std::function<int()> mhz;
    std::function<wchar_t()> decimalSeparator;
  };
  static CpuSource SystemCpuSource();
  void SetCpuSource(CpuSource source) { cpuSource_ = std::move(source); }

 private:
  void BindCpuPage();
  void FillCpuPage();
  void Timer1Timer();
  CpuSource cpuSource_ = SystemCpuSource();
  bool timer1Reporting_ = false;  // a tick's error box is open

  // Network page (network_page_window.cpp)
 public:
  // The window the ping replies are listed in (created with the tool windows).
  void SetPingWindow(TFormPing* window) { pingWindow_ = window; }
  // Where "Ping" sends its echo requests (the system's ICMP client unless set).
  void SetEchoClient(EchoClient& echo) { echo_ = &echo; }
  const PingSession& Pinger() const { return pingSession_; }

 private:
  void BindNetworkPage();
  void FillNetworkPage();
  void Label127Click();
  void BitBtn30Click();   // "Get IP  "
  void BtnCopyIPClick();  // "Open IP"
  void BitBtn43Click();   // "Get IP info"
  void ButtonPingClick();
  void IdIcmpClient1Reply(const std::wstring& line);
  void BitBtn37Click();   // FTP "Connect"
  void BitBtn42Click();   // browse for the FTP program
  TFormPing* pingWindow_ = nullptr;
  SystemEchoClient systemEcho_;
  EchoClient* echo_ = &systemEcho_;
  PingSession pingSession_;  // host and sequence numbers for the program's life
  bool pinging_ = false;

  // Memory page (memory_page_window.cpp)
  void BindMemoryPage();
  void FillMemoryPage();

  // Display page (display_page_window.cpp)
  void BindDisplayPage();
  void FillDisplayPage();
  void CheckResolutionOnActivate();
  bool SetScreenResolution(int width, int height);

  // APM/Sound, Bios and Mainboard pages (board_pages_window.cpp)
  void BindBoardPages();
  void FillApmSoundPage();
  void FillBiosPage();
  void FillMainboardPage();
  void ClearModuleTable();

  // Pages of later work.
  void FillFoldersPage() {}
  void ProcessPageRefresh() {}
  void FillAutostartList() {}
  void CheckIconPositionsOnActivate() {}

  Shell& shell_;
  WmiQueryService wmi_;
  MemoryModuleTable modules_;
  std::wstring architecture_;
  const CodePage& codePage_;
  MessageTable messages_;
  ShellOps ops_;
  unsigned windowsMajor_;
  SystemPowerSource systemPower_;
  PowerSource* power_ = &systemPower_;
  SoundTestSteps soundTest_;
  SystemMemorySource systemMemory_;  // Memory page
  MemorySource* memory_ = &systemMemory_;
  SystemDisplaySource systemDisplay_;  // Display page
  DisplaySource* display_ = &systemDisplay_;
  TAboutBox* aboutBox_ = nullptr;
  TwoLanguageForm* calc_ = nullptr;
  HWND pageControl_ = nullptr;

  Language uiLanguage_;
  std::wstring programFolder_, dataFolder_, iconPositionsFile_, settingsFile_, helpFile_;
  std::wstring line0_, line1_;  // opaque settings lines, carried through
  bool keptFlag_ = false;
  bool iconCheckFlag_ = false;
  bool activatedOnce_ = false;
  bool closing_ = false;

  // Clock and stopwatch state of the Misc page.
  bool twelveHour_ = false;
  bool stopwatchRunning_ = false;
  unsigned long long stopwatchStart_ = 0, stopwatchTotal_ = 0;
};

}  // namespace corvel
