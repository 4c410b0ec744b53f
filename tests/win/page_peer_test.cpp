// The main window over Wine's real WMI: for a few fields of each page, the
// text shown is the one Wine's own wmic prints for the same property.
#include <gtest/gtest.h>

#include <objbase.h>

#include "win/locale.h"
#include "info/cpu_facts.h"
#include "info/wmi_win.h"
#include "win/support/main_window_fixture.h"
#include "win/support/wmic.h"

namespace corvel {
namespace {

using testing::WmicLast;

class PagesOverRealWmi : public MainWindow {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    MainWindow::SetUp();
    wmiPort = &real;
  }
  void TearDown() override {
    if (main && IsWindow(main->hwnd())) Close();
    MainWindow::TearDown();
    CoUninitialize();
  }
  Win32Wmi real;
};

struct Field {
  int page;
  const wchar_t* label;
  const wchar_t* alias;  // wmic's name for the class
  const wchar_t* property;
  // How the page turns wmic's text into its own; the text itself unless set.
  std::wstring (*shown)(const std::wstring& peer) = nullptr;
};

TEST_F(PagesOverRealWmi, FieldsShowWhatWmicPrints) {
  const Field fields[] = {
      {TFormSysInfo::kBios, L"LabelManufacturer", L"bios", L"Manufacturer"},
      {TFormSysInfo::kBios, L"LabelBiosName", L"bios", L"Name"},
      {TFormSysInfo::kBios, L"LabelSerial", L"bios", L"SerialNumber"},
      {TFormSysInfo::kBios, L"LabelSMVersion", L"bios", L"SMBIOSBIOSVersion"},
      {TFormSysInfo::kMainboard, L"LabelBManufacturer", L"baseboard", L"Manufacturer"},
      {TFormSysInfo::kMainboard, L"LabelBProduct", L"baseboard", L"Product"},
      {TFormSysInfo::kMainboard, L"LabelBSerial", L"baseboard", L"SerialNumber"},
      {TFormSysInfo::kApmSound, L"LabelSoundM", L"path Win32_SoundDevice", L"Manufacturer"},
      {TFormSysInfo::kCpu, L"LabelProcID", L"cpu", L"ProcessorId"},
      {TFormSysInfo::kCpu, L"LabelMaxSpeed", L"cpu", L"MaxClockSpeed",
       [](const std::wstring& v) { return MaxClockText(v, UserDecimalSeparator()); }},
      {TFormSysInfo::kDisplay, L"LabelGCard", L"path Win32_VideoController", L"Name"},
      {TFormSysInfo::kDisplay, L"LabelGDevice", L"path Win32_VideoController", L"DriverVersion"},
      {TFormSysInfo::kNetwork, L"LabelCName", L"computersystem", L"Name"},
  };
  Start();
  for (const Field& f : fields) {
    SelectPage(f.page);
    ASSERT_EQ(main->ActivePage(), f.page);
    const std::optional<std::wstring> peer = WmicLast(f.alias, f.property);
    if (!peer) {
      ADD_FAILURE() << "wmic " << Narrow(f.alias) << " get " << Narrow(f.property) << " gave nothing";
      continue;
    }
    EXPECT_EQ(GetText(main->Ctl(f.label)), f.shown ? f.shown(*peer) : *peer)
        << Narrow(f.label) << " / " << Narrow(f.property);
  }
  EXPECT_TRUE(dialogs.calls.empty()) << "no error box on any page";
}

// The load timer's tick asks Wine's WMI afresh and shows a number.
TEST_F(PagesOverRealWmi, LoadTickShowsAPercentage) {
  Start();
  SelectPage(TFormSysInfo::kCpu);
  SendMessageW(main->hwnd(), WM_TIMER, kTimer1, 0);
  const std::wstring load = GetText(main->Ctl(L"LabelPLoad"));
  ASSERT_GE(load.size(), 3u) << Narrow(load);
  EXPECT_EQ(load.substr(load.size() - 2), L" %");
  const int percent = StrToInt(load.substr(0, load.size() - 2));
  EXPECT_GE(percent, 0);
  EXPECT_LE(percent, 100);
  EXPECT_TRUE(dialogs.calls.empty()) << Narrow(dialogs.calls.empty() ? L"" : dialogs.Last().text);
}

}  // namespace
}  // namespace corvel
