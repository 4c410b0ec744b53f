// The System page in the main window: its fill from the registry, the
// version record and scripted WMI, the drive list and its three buttons.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

#include "support/main_window_fixture.h"

namespace corvel {
namespace {

class SystemPageTest : public MainWindow {
 protected:
  void ScriptMachine(WmiValue pcType, std::vector<std::wstring> videoDescriptions) {
    wmi.classes[L"Win32_ComputerSystem"].instances = {{{L"PCSystemType", pcType}}};
    auto& video = wmi.classes[L"Win32_VideoController"].instances;
    video.clear();
    for (const auto& d : videoDescriptions) video.push_back({{L"Description", WmiValue::Str(d)}});
  }
  // Records what the drive buttons would do instead of doing it.
  void RecordDriveSteps(const std::wstring& typeName, unsigned openResult = 0) {
    recorder.recording = true;
    recorder.typeName = typeName;
    recorder.openResult = openResult;
  }
  struct Recorder : SystemDriveSteps {
    SystemPageTest* test = nullptr;
    bool recording = false;
    std::wstring typeName;
    unsigned openResult = 0;
    unsigned Mci(const std::wstring& command) override {
      if (!recording) return SystemDriveSteps::Mci(command);
      test->mci.push_back(command);
      return command.rfind(L"open ", 0) == 0 ? openResult : 0u;
    }
    void Properties(SHELLEXECUTEINFOW& info) override {
      if (!recording) return SystemDriveSteps::Properties(info);
      test->sheets.push_back(info);
      test->sheetFiles.push_back(info.lpFile ? info.lpFile : L"");
      test->sheetVerbs.push_back(info.lpVerb ? info.lpVerb : L"");
    }
    std::wstring TypeName(wchar_t letter) override {
      return recording ? typeName : SystemDriveSteps::TypeName(letter);
    }
  } recorder;
  void SetUp() override {
    MainWindow::SetUp();
    recorder.test = this;
    drivesPort = &recorder;
  }
  std::wstring Text(const wchar_t* control) { return GetText(main->Ctl(control)); }
  HWND Drives() { return main->Ctl(L"JvDriveList1"); }
  // Makes the item of a letter the list's current one; false when it is not listed.
  bool SelectDrive(wchar_t letter) {
    const int n = static_cast<int>(SendMessageW(Drives(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
      if (LOWORD(SendMessageW(Drives(), LB_GETITEMDATA, i, 0)) == letter) {
        SendMessageW(Drives(), LB_SETCURSEL, i, 0);
        return true;
      }
    return false;
  }

  std::vector<std::wstring> mci, sheetFiles, sheetVerbs;
  std::vector<SHELLEXECUTEINFOW> sheets;
};

bool IsNumber(const std::wstring& text) {
  if (text.empty()) return false;
  for (wchar_t c : text)
    if (!std::iswdigit(c)) return false;
  return true;
}

TEST_F(SystemPageTest, FillsFromTheSystemAndScriptedWmi) {
  ScriptMachine(WmiValue::U16(2), {L"Some Physical Card", L"VirtualBox Graphics Adapter (WDDM)"});
  Start();
  SelectPage(TFormSysInfo::kSystem);
  EXPECT_TRUE(dialogs.calls.empty()) << Narrow(dialogs.calls.empty() ? L"" : dialogs.Last().text);
  const std::wstring name = Text(L"LabelName");
  ASSERT_GT(name.size(), std::wstring(L" 64-Bit").size()) << "the product name comes from the registry";
  EXPECT_EQ(name.substr(name.size() - 7), L" 64-Bit");
  EXPECT_NE(name[0], L' ');
  // The version record as the manifest lets the system report it.
  ASSERT_TRUE(IsNumber(Text(L"LabelVersionM"))) << Narrow(Text(L"LabelVersionM"));
  EXPECT_GE(std::stoi(Text(L"LabelVersionM")), 6);
  EXPECT_TRUE(IsNumber(Text(L"LabelVersionMin"))) << Narrow(Text(L"LabelVersionMin"));
  ASSERT_TRUE(IsNumber(Text(L"LabelBuild"))) << Narrow(Text(L"LabelBuild"));
  EXPECT_GT(std::stoi(Text(L"LabelBuild")), 0);
  EXPECT_TRUE(IsNumber(Text(L"LabelSPVersion"))) << Narrow(Text(L"LabelSPVersion"));
  for (const wchar_t* label : {L"LabelID", L"LabelPackName", L"LabelIE", L"LabelDirectX", L"LabelCompany",
                               L"LabelRegUser", L"LabelDefBrowser"})
    EXPECT_NE(Text(label), L"____") << Narrow(label) << " written, even when the system has no value";
  EXPECT_FALSE(Text(L"LabelDirectX").empty());
  EXPECT_EQ(Text(L"LabelPType"), L"Mobile");
  EXPECT_EQ(Text(L"Label113"), L"VirtualBox detected") << "the last controller decides";
  EXPECT_FALSE(Text(L"LabelSysLang").empty());
  EXPECT_NE(Text(L"LabelSysLang"), L"____");
  const std::wstring browser = Text(L"LabelDefBrowser");
  if (!browser.empty()) EXPECT_EQ(AsciiLower(browser.substr(browser.size() - 4)), L".exe");
  Close();
}

TEST_F(SystemPageTest, PcTypesAndVerdictsFromWmi) {
  struct Case { WmiValue pcType; std::vector<std::wstring> video; const wchar_t* type; const wchar_t* verdict; };
  const Case cases[] = {
      {WmiValue::U16(9), {L"VMware SVGA 3D"}, L"Unspecified", L"VMWare detected"},
      {WmiValue::U16(1), {L"NVIDIA GeForce GTX 1060"}, L"Desktop", L"No VM detected"},
      {WmiValue::Null(), {}, L"Unspecified", L"VM detected"},
      {WmiValue::U16(4), {L"VM Additions S3 Trio32/64"}, L"Enterprise Server", L"MS VPC detected"},
  };
  Start();
  for (const Case& c : cases) {
    ScriptMachine(c.pcType, c.video);
    SelectPage(TFormSysInfo::kSystem);
    EXPECT_EQ(Text(L"LabelPType"), c.type);
    EXPECT_EQ(Text(L"Label113"), c.verdict);
    SelectPage(TFormSysInfo::kControl);
  }
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(SystemPageTest, NoWmiAtAllGivesUnspecifiedAndVmDetected) {
  Start();
  wmi.classes.clear();
  SelectPage(TFormSysInfo::kSystem);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(Text(L"LabelPType"), L"Unspecified");
  EXPECT_EQ(Text(L"Label113"), L"VM detected");
  const std::wstring name = Text(L"LabelName");
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(name.back(), L' ') << "an empty architecture leaves a single blank";
  EXPECT_NE(name[name.size() - 2], L' ');
  Close();
}

TEST_F(SystemPageTest, PcTypeThatIsNoNumberEndsTheFillWithTheConversionError) {
  ScriptMachine(WmiValue::Str(L"Desktop"), {L"VMware SVGA 3D"});
  Start();
  SelectPage(TFormSysInfo::kSystem);
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.Last().text, L"'Desktop' ist kein gültiger ganzzahliger Wert.");
  EXPECT_EQ(dialogs.Last().caption, L"Corvel");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
  EXPECT_NE(Text(L"LabelBuild"), L"Build") << "fields before the PC type are written";
  EXPECT_EQ(Text(L"LabelPType"), L"____");
  EXPECT_EQ(Text(L"Label113"), L"____") << "fields after it keep their text";
  EXPECT_EQ(Text(L"LabelSysLang"), L"____");
  Close();
}

TEST_F(SystemPageTest, DriveListShowsTheDrivesWithIconAndName) {
  Start();
  SelectPage(TFormSysInfo::kSystem);
  const int n = static_cast<int>(SendMessageW(Drives(), LB_GETCOUNT, 0, 0));
  ASSERT_GT(n, 0);
  EXPECT_EQ(SendMessageW(Drives(), LB_GETITEMHEIGHT, 0, 0), 38);
  EXPECT_TRUE(GetWindowLongPtrW(Drives(), GWL_STYLE) & LBS_OWNERDRAWFIXED);
  EXPECT_GE(SendMessageW(Drives(), LB_GETCURSEL, 0, 0), 0) << "a current drive for the buttons";
  bool sawC = false;
  wchar_t previous = 0;
  for (int i = 0; i < n; ++i) {
    const wchar_t letter = LOWORD(SendMessageW(Drives(), LB_GETITEMDATA, i, 0));
    EXPECT_GT(letter, previous) << "letter order";
    previous = letter;
    const std::wstring root = std::wstring(1, letter) + L":\\";
    const UINT type = GetDriveTypeW(root.c_str());
    EXPECT_TRUE(type == DRIVE_REMOVABLE || type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_CDROM ||
                type == DRIVE_RAMDISK)
        << static_cast<char>(letter);
    wchar_t text[300] = L"";
    SendMessageW(Drives(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_NE(text[0], L'\0') << "a name for " << static_cast<char>(letter);
    sawC = sawC || letter == L'C';
  }
  EXPECT_TRUE(sawC);
  RedrawWindow(Drives(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // owner drawing runs without a box
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(SystemPageTest, OpenOrCloseOnAHardDiskSaysThereIsNoCdDrive) {
  Start();
  SelectPage(TFormSysInfo::kSystem);
  ASSERT_TRUE(SelectDrive(L'C'));
  // The system's own drive types: C: of the test prefix is a hard disk.
  Click(main->Ctl(L"SpeedButton47"));  // "Open drive"
  ASSERT_EQ(dialogs.Count(DialogKind::MessageDlg), 1u);
  EXPECT_EQ(dialogs.Last().text, L"Kein CDROM/DVD Laufwerk!");
  EXPECT_EQ(dialogs.Last().type, DlgType::Information);
  EXPECT_EQ(dialogs.Last().flags, static_cast<unsigned>(kBtnOk));
  SelectPage(TFormSysInfo::kMisc);
  Click(main->Ctl(L"SpeedButton42"));  // "English"
  SelectPage(TFormSysInfo::kSystem);
  ASSERT_TRUE(SelectDrive(L'C'));
  RecordDriveSteps(L"HD");
  Click(main->Ctl(L"SpeedButton48"));  // "Close drive"
  ASSERT_EQ(dialogs.Count(DialogKind::MessageDlg), 2u);
  EXPECT_EQ(dialogs.Last().text, L"No CDROM/DVD Drive!");
  EXPECT_TRUE(mci.empty());
  Close();
}

TEST_F(SystemPageTest, DoorCommandsGoToMciInOrder) {
  struct Case { const wchar_t* button; unsigned openResult; std::vector<std::wstring> sent; };
  const Case cases[] = {
      {L"SpeedButton47", 0, {L"open C: type cdaudio alias cdlw", L"set cdlw door open wait", L"close cdlw"}},
      {L"SpeedButton48", 0, {L"open C: type cdaudio alias cdlw", L"set cdlw door closed wait", L"close cdlw"}},
      {L"SpeedButton47", 263, {L"open C: type cdaudio alias cdlw"}},  // a failed open stops silently
  };
  Start();
  SelectPage(TFormSysInfo::kSystem);
  ASSERT_TRUE(SelectDrive(L'C'));
  for (const Case& c : cases) {
    mci.clear();
    RecordDriveSteps(L"CDROM", c.openResult);
    Click(main->Ctl(c.button));
    EXPECT_EQ(mci, c.sent);
  }
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(SystemPageTest, PropertiesOpensTheShellSheetOfTheCurrentDrive) {
  Start();
  SelectPage(TFormSysInfo::kSystem);
  ASSERT_TRUE(SelectDrive(L'C'));
  RecordDriveSteps(L"HD");
  Click(main->Ctl(L"SpeedButton43"));
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheetFiles[0], L"C:\\");
  EXPECT_EQ(sheetVerbs[0], L"properties");
  EXPECT_EQ(sheets[0].fMask, 0x44Cu);
  EXPECT_EQ(sheets[0].hwnd, main->hwnd());
  EXPECT_EQ(sheets[0].lpParameters, nullptr);
  EXPECT_EQ(sheets[0].cbSize, sizeof(SHELLEXECUTEINFOW));
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

}  // namespace
}  // namespace corvel
