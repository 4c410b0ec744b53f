// The main window in-process with scripted ports: the fixture the tests of
// the main window and its pages build on.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "app/about_window.h"
#include "app/sysinfo_window.h"
#include "info/display_facts_win.h"
#include "info/memory_figures_win.h"
#include "info/network_tools_win.h"
#include "win/codepage_win.h"
#include "app/system_win.h"
#include "win/folders.h"
#include "base/text.h"
#include "doubles/fixed_power.h"
#include "doubles/recording_help.h"
#include "doubles/recording_shell.h"
#include "doubles/scripted_dialogs.h"
#include "doubles/table_wmi.h"
#include "win/files.h"

namespace corvel {

inline void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    wmi.classes[L"Win32_OperatingSystem"].instances = {{{L"OSArchitecture", WmiValue::Str(L"64-Bit")}}};
    settings = DataFolder() + L"corvel.ini";
    CreateDirectoryW(DataFolder().c_str(), nullptr);
    DeleteFileW(settings.c_str());
  }
  void TearDown() override { DeleteFileW(settings.c_str()); }

  // A settings file as the program writes it, with some fields changed.
  void WriteSettings(const std::function<void(SettingsFields&)>& change) {
    SettingsFields f;
    change(f);
    WriteFileReplacing(settings, BuildSettingsFile(f, codePage));
  }
  SettingsFields ReadSettings() {
    SettingsFields f;
    f.keptFlag = false;
    f.uiLanguage = -1;
    ApplySettingsFile(ReadWholeFile(settings), codePage, f);
    return f;
  }
  // The ports the main window is built with: the doubles below unless a
  // test points one of the pointers elsewhere before Start.
  SysInfoSources Sources() {
    return {dialogsPort ? *dialogsPort : dialogs, shell,        codePage,     wmiPort ? *wmiPort : wmi,
            help,                                 *powerPort,   *memoryPort,  *displayPort,
            *echoPort,                            *soundPort,   *drivesPort,  *cpuPort,
            6};
  }
  // The main window as the program starts it, with the About box as its only tool window.
  void Start() {
    main = std::make_unique<TFormSysInfo>(Sources());
    main->Create();
    about = std::make_unique<TAboutBox>(dialogs, shell);
    about->Create(main->hwnd());
    tools.about = about.get();
    main->SetTools(tools);
    main->Show();
    app::ProcessMessages();
  }
  void Close() {
    SendMessageW(main->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main->hwnd()));
    app::ProcessMessages();
    MSG m;
    PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the main window's quit request
  }
  void SelectPage(int index) {
    HWND tabs = FindWindowExW(main->hwnd(), nullptr, WC_TABCONTROLW, nullptr);
    SendMessageW(tabs, TCM_SETCURFOCUS, index, 0);
    app::ProcessMessages();
  }
  bool Visible(const wchar_t* control) { return IsVisible(main->Ctl(control)); }

  ScriptedDialogs dialogs;
  Dialogs* dialogsPort = nullptr;  // the scripted dialogs unless set before Start
  RecordingShell shell;
  TableWmi wmi;
  Wmi* wmiPort = nullptr;  // the scripted table unless set before Start
  FixedPower power;
  WindowsCodePage codePage;
  RecordingHelp help;
  SystemMemorySource systemMemory;
  SystemDisplaySource systemDisplay;
  SystemEchoClient systemEcho;
  SystemSoundTest systemSound;
  SystemDriveSteps systemDrives;
  SystemCpuSource systemCpu;
  PowerSource* powerPort = &power;
  MemorySource* memoryPort = &systemMemory;
  DisplaySource* displayPort = &systemDisplay;
  EchoClient* echoPort = &systemEcho;
  SoundTest* soundPort = &systemSound;
  DriveSteps* drivesPort = &systemDrives;
  CpuSource* cpuPort = &systemCpu;
  SysInfoTools tools;  // the About box is added by Start
  std::wstring settings;
  std::unique_ptr<TFormSysInfo> main;
  std::unique_ptr<TAboutBox> about;
};

}  // namespace corvel
