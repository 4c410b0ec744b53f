// The layout at 150 % scaling: this program runs with the prefix at 144 DPI
// (run-wine-dpi.sh). Every rectangle and font of a layout table comes out
// 1.5 times its design, the main window's tabs and pages with it, and no
// caption of any window is cut.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/about_window.h"
#include "calc/calc_window.h"
#include "cleaner/cloptions_window.h"
#include "doubles/recording_help.h"
#include "doubles/recording_shell.h"
#include "win/dpi.h"
#include "win/form.h"
#include "win/support/captions.h"
#include "win/support/main_window_fixture.h"

namespace corvel {
namespace {

constexpr UINT kDpi = 144;

RECT PlaceOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "x" +
         std::to_string(r.bottom);
}

int FontHeight(HWND window) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "\n  " + line;
  return out;
}

TEST(Dpi, TheProgramRunsAt144) {
  ASSERT_EQ(SystemDpi(), kDpi) << "run-wine-dpi.sh sets the prefix's LogPixels for this program";
}

TEST(Dpi, AFormBuiltAt144IsOneAndAHalfTimesItsDesign) {
  const ControlSpec table[] = {
      {Kind::Caption, L"Label1", L"Product Name:", {16, 40, 90, 14}},
      {Kind::Value, L"Value1", L"Microsoft", {110, 40, 300, 14}, kBold},
      {Kind::Button, L"Button1", L"Properties", {16, 60, 75, 25}},
      {Kind::Edit, L"Edit1", L"", {16, 90, 121, 21}},
      {Kind::CheckBox, L"Check1", L"Anonymous", {16, 116, 120, 17}},
      {Kind::ListBox, L"List1", nullptr, {150, 60, 200, 80}},
      {Kind::ListView, L"View1", nullptr, {16, 150, 300, 80}},
      {Kind::Progress, L"Bar1", nullptr, {16, 240, 128, 16}},
      {Kind::StatusYes, L"Image1", nullptr, {160, 240, 16, 16}},
      {Kind::Icon, L"Icon1", nullptr, {200, 240, 32, 32}},
      {Kind::Caption, L"TooNarrow", L"Free Pagefile Memory:", {250, 240, 60, 14}},
  };
  ScriptedDialogs dialogs;
  class Table : public Form {
   public:
    Table(Dialogs& d, std::span<const ControlSpec> table) : Form(d, L"TDpiForm") {
      CreateForm(L"DPI", 400, 300, nullptr);
      AddControls(table);
    }
  } form(dialogs, table);
  EXPECT_EQ(form.Dpi(), kDpi);
  RECT client;
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 450);
  for (const ControlSpec& s : table) {
    const RECT want = ScaleLayout(s.rect, kDpi), got = PlaceOf(form.Ctl(s.name));
    EXPECT_TRUE(EqualRect(&want, &got)) << Narrow(s.name) << ": " << Text(got) << " instead of " << Text(want);
  }
  const RECT label = PlaceOf(form.Ctl(L"Label1")), wantLabel{24, 60, 135, 21};
  EXPECT_TRUE(EqualRect(&label, &wantLabel)) << "16, 40, 90 x 14 at 96 DPI";
  EXPECT_EQ(FontHeight(form.Ctl(L"Label1")), -17) << "Arial -11 at 96 DPI";
  EXPECT_EQ(FontHeight(form.Ctl(L"Value1")), -17);
  ListView view(form.Ctl(L"View1"));
  const ListView::Column columns[] = {{L"User", 120}};
  view.SetColumns(columns);
  EXPECT_EQ(view.ColumnWidth(0), 180);
  ICONINFO icon{};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(form.Ctl(L"Icon1"), STM_GETICON, 0, 0)), &icon));
  BITMAP bm{};
  GetObjectW(icon.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 48) << "the program icon drawn from its 48-pixel picture";
  DeleteObject(icon.hbmColor);
  DeleteObject(icon.hbmMask);
  // The caption check below finds what is cut, and only that.
  const std::vector<std::string> cut = testing::CutCaptions(form.hwnd());
  ASSERT_EQ(cut.size(), 1u) << Joined(cut);
  EXPECT_EQ(cut[0].rfind("TooNarrow ", 0), 0u) << cut[0];
}

TEST_F(MainWindow, TabsAndPagesScaleWithTheMainWindow) {
  Start();
  RECT client;
  GetClientRect(main->hwnd(), &client);
  EXPECT_EQ(client.right, 1050) << "700 x 421 at 96 DPI";
  EXPECT_EQ(client.bottom, 632);
  HWND tabs = main->Ctl(L"PageControl1");
  const RECT tabPlace = PlaceOf(tabs), all{0, 0, 1050, 632};
  EXPECT_TRUE(EqualRect(&tabPlace, &all));
  EXPECT_EQ(FontHeight(tabs), -17);
  RECT firstTab{};
  TabCtrl_GetItemRect(tabs, 0, &firstTab);
  RECT lastTab{};
  TabCtrl_GetItemRect(tabs, TFormSysInfo::kPageCount - 1, &lastTab);
  EXPECT_EQ(firstTab.top, lastTab.top) << "all thirteen captions on one row";
  EXPECT_LE(lastTab.right, client.right);
  const RECT area = TabControl(tabs).DisplayArea();
  for (int i = 0; i < TFormSysInfo::kPageCount; ++i) {
    SelectPage(i);
    HWND page = FindWindowExW(main->hwnd(), nullptr, L"CorvelPage", TFormSysInfo::kPages[i].sheet);
    ASSERT_NE(page, nullptr) << i;
    const RECT place = PlaceOf(page), want{area.left, area.top, area.right - area.left, area.bottom - area.top};
    EXPECT_TRUE(EqualRect(&place, &want)) << Narrow(TFormSysInfo::kPages[i].sheet) << ": " << Text(place);
  }
  const RECT cpu = PlaceOf(main->Ctl(L"LabelCPU")), wantCpu{195, 24, 390, 21};
  EXPECT_TRUE(EqualRect(&cpu, &wantCpu)) << Text(cpu);
  const RECT yes = PlaceOf(main->Ctl(L"Image64bit1")), wantYes{195, 239, 24, 24};
  EXPECT_TRUE(EqualRect(&yes, &wantYes)) << "status pictures drawn at 24 pixels: " << Text(yes);
  Close();
}

TEST_F(MainWindow, NoCaptionIsCutOnAnyPageInEitherLanguage) {
  Start();
  for (int language : {0, 1}) {
    if (language) main->BitBtn36Click();
    for (int i = 0; i < TFormSysInfo::kPageCount; ++i) {
      SelectPage(i);
      dialogs.calls.clear();  // what the fills report is not this test's business
    }
    const std::vector<std::string> cut = testing::CutCaptions(main->hwnd());
    EXPECT_TRUE(cut.empty()) << (language ? "English" : "German") << ":" << Joined(cut);
  }
  Close();
}

TEST(Dpi, NoCaptionIsCutInTheToolWindows) {
  ScriptedDialogs dialogs;
  RecordingShell shell;
  RecordingHelp help;
  Latin1CodePage codePage;
  TAboutBox about(dialogs, shell);
  about.Create(nullptr);
  TFormRech calc(dialogs, codePage, help);
  calc.Create(nullptr);
  calc.fixedDecimalSeparator = L',';
  TFormClOptions options(dialogs, codePage, help);
  options.Create(nullptr);
  const struct { TwoLanguageForm* window; SIZE client; } windows[] = {
      {&about, {426, 228}},    // 284 x 152 at 96 DPI
      {&calc, {392, 386}},     // 261 x 257 under its menu bar
      {&options, {600, 477}},  // 400 x 318
  };
  for (const auto& [window, size] : windows) {
    RECT client;
    GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(client.right, size.cx);
    EXPECT_EQ(client.bottom, size.cy);
    for (Language language : {Language::kGerman, Language::kEnglish}) {
      window->language = language;
      window->Show();
      app::ProcessMessages();
      const std::vector<std::string> cut = testing::CutCaptions(window->hwnd());
      wchar_t cls[64] = L"";
      GetClassNameW(window->hwnd(), cls, 64);
      EXPECT_TRUE(cut.empty()) << Narrow(cls) << (language.English() ? " English" : " German") << ":" << Joined(cut);
      ShowWindow(window->hwnd(), SW_HIDE);
    }
  }
  SystemParametersInfoW(SPI_SETBEEP, TRUE, nullptr, 0);  // the calculator's show switched it off
}

}  // namespace
}  // namespace corvel
