// The calculator window in-process: key sequences through its buttons and
// key handlers, edit mode, memory, files and both languages.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/codepage.h"
#include "win/folders.h"
#include "base/text.h"
#include "calc/calc_window.h"
#include "doubles/recording_help.h"
#include "doubles/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "win/files.h"

namespace corvel {
namespace {

using testing::TempFolder;

class CalcWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    calc = std::make_unique<TFormRech>(dialogs, codePage, help);
    calc->fixedDecimalSeparator = L'.';
    calc->Create(nullptr);
    Open(1);
  }
  void TearDown() override {
    if (IsWindowVisible(calc->hwnd())) calc->BitBtn21Click();
    app::ProcessMessages();
  }
  void Open(int language) {
    calc->language = language;
    calc->Show();
    app::ProcessMessages();
  }
  HWND Display() { return calc->Ctl(L"Edit1"); }
  std::wstring Shown() { return GetText(Display()); }

  // Clicks the buttons named by their captions, separated by blanks.
  void Press(const std::wstring& keys) {
    static const std::pair<const wchar_t*, const wchar_t*> names[] = {
        {L"1", L"BitBtn1"}, {L"2", L"BitBtn2"}, {L"3", L"BitBtn3"}, {L"4", L"BitBtn4"},
        {L"5", L"BitBtn5"}, {L"6", L"BitBtn6"}, {L"7", L"BitBtn7"}, {L"8", L"BitBtn8"},
        {L"9", L"BitBtn9"}, {L"0", L"BitBtn10"}, {L".", L"BitBtn23"}, {L"+", L"BitBtn11"},
        {L"-", L"BitBtn12"}, {L"*", L"BitBtn15"}, {L"/", L"BitBtn14"}, {L"%", L"BitBtn13"},
        {L"CE", L"BitBtn16"}, {L"pow", L"BitBtn17"}, {L"sqrt", L"BitBtn18"}, {L"1/x", L"BitBtn24"},
        {L"+/-", L"BitBtn20"}, {L"=", L"BitBtn19"}, {L"Edit", L"BitBtn22"}, {L"M<-", L"BitBtn25"},
        {L"M->", L"BitBtn26"}, {L"MC", L"BitBtn27"},
    };
    std::wstring key;
    for (wchar_t ch : keys + L" ") {
      if (ch != L' ') { key += ch; continue; }
      if (key.empty()) continue;
      const wchar_t* name = nullptr;
      for (const auto& [caption, design] : names)
        if (key == caption) name = design;
      ASSERT_NE(name, nullptr) << Narrow(key);
      SendMessageW(calc->Ctl(name), BM_CLICK, 0, 0);
      key.clear();
    }
  }
  // A key as the message loop delivers it to the focused display.
  void Key(UINT vk) {
    MSG m{Display(), WM_KEYDOWN, vk, 0};
    app::DispatchOne(m);
    app::ProcessMessages();
  }
  void Char(wchar_t ch) {
    MSG m{Display(), WM_CHAR, ch, 0};
    app::DispatchOne(m);
  }
  void Type(const std::wstring& text) { SetText(Display(), GetText(Display()) + text); }

  ScriptedDialogs dialogs;
  Latin1CodePage codePage;
  RecordingHelp help;
  std::unique_ptr<TFormRech> calc;
};

TEST_F(CalcWindow, ButtonSequences) {
  struct Case { const wchar_t* keys; wchar_t sep; const wchar_t* shown; };
  const Case cases[] = {
      {L"1 + 2 =", L'.', L"3"},
      {L"7 / 2 =", L'.', L"3.5"},
      {L"7 / 2 =", L',', L"3,5"},
      {L"1 + 2 + 3 =", L'.', L"5"},
      {L"1 + 2 = =", L'.', L"24"},
      {L"2 pow 1 0 =", L'.', L"1024"},
      {L"2 pow 0 . 5 =", L'.', L"1.41421353816986"},
      {L"2 +/- pow 3 =", L'.', L"-8"},
      {L"2 0 0 + 5 %", L'.', L"210"},
      {L"2 0 0 * 5 %", L'.', L"10"},
      {L"2 0 0 - 5 %", L'.', L"190"},
      {L"2 0 0 / 5 %", L'.', L"20"},
      {L"2 sqrt", L'.', L"1.41421353816986"},
      {L"4 M<- CE M->", L'.', L"4"},
  };
  for (const auto& c : cases) {
    calc->fixedDecimalSeparator = c.sep;
    Open(1);
    Press(L"CE");
    Press(c.keys);
    EXPECT_EQ(Shown(), c.shown) << Narrow(c.keys);
  }
  EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(CalcWindow, ReciprocalOfNothingIsInvalidInput) {
  Press(L"CE 1/x");
  ASSERT_EQ(dialogs.Count(DialogKind::MessageDlg), 1u);
  EXPECT_EQ(dialogs.Last().text, L"Invalid input");
  EXPECT_EQ(dialogs.Last().type, DlgType::Error);
  EXPECT_EQ(Shown(), L"");
}

TEST_F(CalcWindow, MemoryKeys) {
  Press(L"CE 5 M->");
  EXPECT_EQ(Shown(), L"") << "memory starts as an empty text";
  Press(L"7 MC M->");
  EXPECT_EQ(Shown(), L"7") << "after MC nothing happens";
  Press(L"M<- Edit 1 M->");
  EXPECT_EQ(Shown(), L"17") << "a writable display gets the memory appended";
}

TEST_F(CalcWindow, EditModeWithItsColoursAndMarker) {
  EXPECT_TRUE(GetWindowLongW(Display(), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(IsWindowVisible(calc->Ctl(L"Image1")));
  Press(L"Edit");
  EXPECT_FALSE(GetWindowLongW(Display(), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(IsWindowVisible(calc->Ctl(L"Image1")));
  EXPECT_EQ(calc->State().display.colour, kCalcEditColour);
  SetFocus(Display());
  Type(L"2^10");
  Key(VK_RETURN);
  EXPECT_EQ(Shown(), L"1024");
  SetText(Display(), L"1+2*3");
  Key(VK_RETURN);
  EXPECT_EQ(Shown(), L"7");
  SetText(Display(), L"-2^3");
  Key(VK_RETURN);
  ASSERT_EQ(dialogs.Count(DialogKind::MsgBox), 1u);
  EXPECT_EQ(dialogs.Last().text, L"Ungültige Gleitkommaoperation.");
  EXPECT_EQ(Shown(), L"-2^3");
  Press(L"Edit");
  EXPECT_TRUE(GetWindowLongW(Display(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(calc->State().display.colour, kCalcNormalColour);
}

TEST_F(CalcWindow, PowerKeyInEditMode) {
  Press(L"Edit 3 pow");
  EXPECT_EQ(calc->State().calcMode, L"Power");
  EXPECT_FALSE(GetWindowLongW(Display(), GWL_STYLE) & ES_READONLY);
  Press(L"2 =");
  EXPECT_EQ(Shown(), L"9");
  EXPECT_EQ(calc->State().calcMode, L"");
  EXPECT_FALSE(GetWindowLongW(Display(), GWL_STYLE) & ES_READONLY);
  Press(L"Edit");
  EXPECT_TRUE(GetWindowLongW(Display(), GWL_STYLE) & ES_READONLY);
}

TEST_F(CalcWindow, KeyboardInNormalMode) {
  Press(L"CE");
  for (UINT vk : {UINT(0x31), UINT(VK_ADD), UINT(0x32), UINT(VK_RETURN)}) Key(vk);
  EXPECT_EQ(Shown(), L"3");
  Key(VK_DELETE);
  EXPECT_EQ(Shown(), L"");
  for (UINT vk : {UINT(VK_NUMPAD6), UINT(VK_MULTIPLY)}) Key(vk);
  Char(L'*');  // the pad's character after its key-down: no second operator
  Key('7');
  Char(L'/');
  Key('2');
  Key(VK_RETURN);
  EXPECT_EQ(Shown(), L"3.5") << "6* was replaced by 7/";
  Key(VK_BACK);
  for (UINT vk : {UINT(0x32), UINT(220), UINT(0x33), UINT(VK_RETURN)}) Key(vk);
  EXPECT_EQ(Shown(), L"8");
}

TEST_F(CalcWindow, SaveLoadRoundTrip) {
  TempFolder folder;
  const std::wstring file = folder / L"sum.clc";
  Press(L"1");
  calc->Savecalculation1Click();  // normal mode: refused
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.Last().type, DlgType::Information);
  EXPECT_EQ(dialogs.Last().text, L"No calculation found! Activate edit mode and enter a calculation.");
  Press(L"Edit");
  Type(L"2^10");
  dialogs.AnswerText(file);
  calc->Savecalculation1Click();
  EXPECT_EQ(dialogs.Last().kind, DialogKind::SaveFile);
  EXPECT_EQ(dialogs.Last().options.filter, L"CLC|*.clc|All|*.*");
  EXPECT_EQ(dialogs.Last().options.defaultExt, L"clc");
  EXPECT_EQ(ReadWholeFile(file), std::optional<std::string>("2^10\r\n"));
  SetText(Display(), L"");
  dialogs.AnswerText(file);
  calc->Loadcalculation1Click();
  EXPECT_EQ(Trim(Shown()), L"2^10");
  Press(L"=");
  EXPECT_EQ(Shown(), L"1024");
  // Cancelled dialogs change nothing.
  calc->Loadcalculation1Click();
  EXPECT_EQ(Shown(), L"1024");
}

TEST_F(CalcWindow, HugeAndBinaryFilesLoadWithoutHarm) {
  TempFolder folder;
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>(i * 37);
  testing::WriteBytes(folder / L"binary.clc", binary);
  testing::WriteBytes(folder / L"huge.clc", std::string(10 * 1024 * 1024, '9'));
  Press(L"Edit");
  Type(L"1+1");
  dialogs.AnswerText(folder / L"huge.clc");
  calc->Loadcalculation1Click();
  EXPECT_EQ(Shown(), L"1+1") << "a file too large is refused and loses nothing";
  EXPECT_EQ(dialogs.Last().type, DlgType::Error);
  dialogs.AnswerText(folder / L"binary.clc");
  calc->Loadcalculation1Click();
  Press(L"=");  // garbage in the display: an error message, no crash
  EXPECT_TRUE(IsWindow(calc->hwnd()));
}

TEST_F(CalcWindow, LanguageHelpFileAndBeep) {
  Open(0);
  const std::wstring appHelp = help.File();
  EXPECT_EQ(calc->MenuText(0), L"Datei");
  EXPECT_EQ(calc->MenuText(TFormRech::kMenuQuit), L"Beeenden");
  EXPECT_EQ(calc->Hint(L"BitBtn16"), L"Eingabe löschen");
  EXPECT_EQ(calc->HelpFile(), ProgramFolder() + L"ledgixhlp.chm");
  EXPECT_EQ(appHelp, calc->HelpFile());
  EXPECT_TRUE(calc->BeepSwitchedOff());
  Press(L"1/x");
  EXPECT_EQ(dialogs.Last().text, L"Ungültige Eingabe");
  calc->BitBtn21Click();
  EXPECT_FALSE(calc->BeepSwitchedOff());
  Open(1);
  EXPECT_EQ(calc->MenuText(0), L"File");
  EXPECT_EQ(calc->MenuText(TFormRech::kMenuSave), L"Save calculation");
  EXPECT_EQ(calc->Hint(L"BitBtn20"), L"Opposite sign");
  EXPECT_EQ(calc->HelpFile(), ProgramFolder() + L"ledgixhlpe.chm");
  EXPECT_EQ(GetText(calc->hwnd()), L"Calc");
}

TEST_F(CalcWindow, EscClosesAModalShowing) {
  calc->BitBtn21Click();
  static TFormRech* window;
  window = calc.get();
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(window->Ctl(L"Edit1"), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  ShowInLanguage(*calc, 1);
  EXPECT_FALSE(IsWindowVisible(calc->hwnd()));
  EXPECT_FALSE(calc->BeepSwitchedOff());
}

}  // namespace
}  // namespace corvel
