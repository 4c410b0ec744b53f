// The window toolkit: the one handler guard, modal showing, key preview, and
// the run-time message dialogs' German buttons.
#include <gtest/gtest.h>

#include <stdexcept>

#include "base/errors.h"
#include "doubles/scripted_dialogs.h"
#include "win/dialogs_win.h"
#include "win/form.h"

#include <commctrl.h>

namespace corvel {
namespace {

class TestForm : public Form {
 public:
  explicit TestForm(Dialogs& d) : Form(d, L"TTestForm") {
    CreateForm(L"Test", 200, 100, nullptr);
    const ControlSpec table[] = {
        {Kind::Button, L"Button1", L"Go", {10, 10, 80, 25}},
        {Kind::Edit, L"Edit1", L"", {10, 50, 80, 21}},
    };
    AddControls(table);
  }
  bool PreviewKeyDown(WPARAM vk) override {
    previewed.push_back(vk);
    return vk == VK_F1;
  }
  std::vector<WPARAM> previewed;
};

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

TEST(HandlerGuard, EscapingErrorsBecomeTheStandardErrorBoxAndTheProgramGoesOn) {
  const struct { std::function<void()> raise; const wchar_t* shown; } cases[] = {
      {[] { throw ConvertError(L"'x' ist kein gültiger ganzzahliger Wert"); },
       L"'x' ist kein gültiger ganzzahliger Wert."},
      {[] { throw InOutError(5); }, L"E/A-Fehler 5."},
      {[] { throw std::runtime_error("Zugriff verweigert!"); }, L"Zugriff verweigert!"},
      {[] { throw 42; }, L"Unbekannter Fehler."},
  };
  ScriptedDialogs dialogs;
  TestForm form(dialogs);
  int calls = 0;
  for (const auto& c : cases) {
    form.OnClick(L"Button1", [&] { ++calls; c.raise(); });
    Click(form.Ctl(L"Button1"));
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.Last().kind, DialogKind::MsgBox);
    EXPECT_EQ(dialogs.Last().text, c.shown);
    EXPECT_EQ(dialogs.Last().caption, L"Corvel");
    EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
  }
  EXPECT_EQ(calls, 4);
  EXPECT_TRUE(IsWindow(form.hwnd()));
}

TEST(Form, ShowModalDisablesTheOwnerUntilEndModal) {
  ScriptedDialogs dialogs;
  TestForm owner(dialogs);
  class Tool : public Form {
   public:
    explicit Tool(Dialogs& d, HWND owner) : Form(d, L"TToolForm") { CreateForm(L"Tool", 100, 50, owner); }
    void FormShow() override { ++shown; }
    int shown = 0;
  } tool(dialogs, owner.hwnd());
  static Tool* current;
  static HWND ownerHwnd;
  static bool ownerDisabledWhileModal;
  current = &tool;
  ownerHwnd = owner.hwnd();
  ownerDisabledWhileModal = false;
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ownerDisabledWhileModal = !IsWindowEnabled(ownerHwnd);
    current->EndModal(IDOK);
  });
  EXPECT_EQ(tool.ShowModal(), IDOK);
  EXPECT_TRUE(ownerDisabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  EXPECT_FALSE(IsWindowVisible(tool.hwnd()));
  EXPECT_EQ(tool.shown, 1);
  // Shown again, the same window comes back (tool windows are never re-created).
  HWND before = tool.hwnd();
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(current->hwnd(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(tool.ShowModal(), IDCANCEL);
  EXPECT_EQ(tool.hwnd(), before);
  EXPECT_EQ(tool.shown, 2);
}

TEST(Form, KeyPreviewSeesKeysOfAnyControlFirst) {
  ScriptedDialogs dialogs;
  TestForm form(dialogs);
  form.Show();
  auto press = [&](WPARAM vk) {
    PostMessageW(form.Ctl(L"Edit1"), WM_KEYDOWN, vk, 1);
    app::ProcessMessages();
  };
  press(VK_F1);
  EXPECT_TRUE(form.previewed.empty()) << "key preview is off by default";
  form.keyPreview = true;
  press(VK_F1);
  press('A');
  EXPECT_EQ(form.previewed, (std::vector<WPARAM>{VK_F1, 'A'}));
}

TEST(Form, BindingAPagesControlWaitsUntilThePageIsBuilt) {
  ScriptedDialogs dialogs;
  TestForm form(dialogs);
  const ControlSpec table[] = {{Kind::Button, L"PageButton", L"Page", {10, 10, 80, 25}}};
  Page& page = form.AddPage(L"TabSheetTest", RGB(200, 200, 200), RECT{0, 0, 200, 100}, table);
  int clicks = 0;
  form.OnClick(L"PageButton", [&] { ++clicks; });
  EXPECT_FALSE(page.Built()) << "binding alone builds nothing";
  Click(form.Ctl(L"PageButton"));  // asking for the control builds the page and binds
  EXPECT_TRUE(page.Built());
  EXPECT_EQ(clicks, 1);
  form.OnClick(L"PageButton", [&] { clicks += 10; });  // a built page binds at once
  Click(form.Ctl(L"PageButton"));
  EXPECT_EQ(clicks, 11);
  EXPECT_THROW(form.OnClick(L"NoSuchControl", [] {}), Error);
}

// The run-time's message dialogs carry German button captions in every language.
TEST(Win32Dialogs, MessageDlgButtonsAreGerman) {
  static std::vector<std::wstring> captions;
  captions.clear();
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM p) -> BOOL {
      wchar_t cls[16];
      GetClassNameW(w, cls, 16);
      if (std::wstring(cls) != L"#32770") return TRUE;
      *reinterpret_cast<HWND*>(p) = w;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    KillTimer(nullptr, id);
    wchar_t text[64];
    GetWindowTextW(box, text, 64);
    captions.push_back(text);
    for (int b : {IDYES, IDNO, IDCANCEL}) {
      GetDlgItemTextW(box, b, text, 64);
      captions.push_back(text);
    }
    PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  });
  Win32Dialogs dialogs;
  EXPECT_EQ(dialogs.MessageDlg(L"Weiter?", DlgType::Confirmation, kBtnYes | kBtnNo | kBtnCancel), DlgResult::No);
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"Bestätigen", L"&Ja", L"&Nein", L"Abbrechen"}));
}

}  // namespace
}  // namespace corvel

namespace corvel {
namespace {

TEST(Controls, HintsBecomeTooltipsOfTheirControls) {
  ScriptedDialogs dialogs;
  class HintForm : public Form {
   public:
    explicit HintForm(Dialogs& d) : Form(d, L"THintForm") {
      CreateForm(L"Hints", 200, 100, nullptr);
      const ControlSpec table[] = {
          {Kind::Button, L"WithHint", L"A", {10, 10, 80, 25}, 0, L"Select folder"},
          {Kind::Button, L"NoHint", L"B", {10, 50, 80, 25}},
      };
      AddControls(table);
    }
    using Form::controls;
  } form(dialogs);
  HWND tips = form.controls().Tooltips();
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[80] = L"";
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = form.hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(form.Ctl(L"WithHint"));
  ti.lpszText = text;
  SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"Select folder");
}

}  // namespace
}  // namespace corvel
