// The window toolkit: the one handler guard, modal showing, key preview, the
// run-time message dialogs' German buttons, the control views, the event
// bindings, tool bars, the handle owners and the layout at another DPI.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <stdexcept>

#include "base/errors.h"
#include "base/text.h"
#include "doubles/scripted_dialogs.h"
#include "win/dialogs_win.h"
#include "win/form.h"

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

// ---- control views, bindings, tool bars, DPI changes ----

namespace corvel {
namespace {

// One form with every kind the views and bindings serve.
const ControlSpec kKinds[] = {
    {Kind::ToolBar, L"ToolBar1", nullptr, {0, 0, 300, 30}},
    {Kind::ToolButton, L"ToolButton1", L"Open", {0, 0, 25, 25}, 0, L"Open a file"},
    {Kind::ToolSeparator, L"ToolButton2", nullptr, {0, 0, 8, 0}},
    {Kind::ToolButton, L"ToolButton3", L"Save", {0, 0, 25, 25}, kDisabled, L"Save the file"},
    {Kind::ListBox, L"Plain", nullptr, {10, 40, 120, 80}},
    {Kind::ListBox, L"Sorted", nullptr, {140, 40, 120, 80}, kSorted},
    {Kind::ComboBox, L"Combo1", nullptr, {10, 130, 120, 21}},
    {Kind::ListView, L"ListView1", nullptr, {140, 130, 250, 90}},
    {Kind::Progress, L"Progress1", nullptr, {10, 160, 120, 16}},
    {Kind::Edit, L"Edit1", L"", {10, 185, 120, 21}},
    {Kind::Caption, L"Label1", L"Caption", {10, 215, 100, 14}},
    {Kind::Value, L"Value1", L"Value", {10, 235, 100, 14}, kBold},
    {Kind::Icon, L"Icon1", nullptr, {270, 40, 32, 32}},
};

class KindsForm : public Form {
 public:
  explicit KindsForm(Dialogs& d) : Form(d, L"TKindsForm") {
    CreateForm(L"Kinds", 400, 260, nullptr);
    AddControls(kKinds);
  }
  using Form::controls;
};

class ToolkitForm : public ::testing::Test {
 protected:
  ScriptedDialogs dialogs;
  KindsForm form{dialogs};
};

TEST_F(ToolkitForm, ListBoxesKeepTheirOrderOrSortAndRefuseIndicesOutside) {
  struct Case { const wchar_t* name; std::vector<std::wstring> items; };
  const Case cases[] = {
      {L"Plain", {L"pear", L"Apple", L"fig"}},
      {L"Sorted", {L"Apple", L"fig", L"pear"}},  // letter case aside, as the system sorts
  };
  for (const Case& c : cases) {
    ListBox list(form.Ctl(c.name));
    for (const wchar_t* item : {L"pear", L"Apple", L"fig"}) list.Add(item);
    EXPECT_EQ(list.Items(), c.items) << Narrow(c.name);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Selected(), -1);
    list.Select(1);
    EXPECT_EQ(list.Selected(), 1);
    list.SetData(1, 4711);
    EXPECT_EQ(list.Data(1), 4711);
    list.Insert(0, L"zero");  // an insertion goes where it is told, sorted or not
    EXPECT_EQ(list.Item(0), L"zero");
    list.Delete(0);
    EXPECT_EQ(list.Items(), c.items);
    for (int bad : {-1, 3}) {
      try {
        list.Item(bad);
        ADD_FAILURE() << "no error for item " << bad;
      } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Listenindex \u00fcberschreitet das Maximum (" + IntToStr(bad) + L")");
      }
      EXPECT_THROW(list.Delete(bad), Error);
    }
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
  }
}

TEST_F(ToolkitForm, ComboProgressBarAndListViewViews) {
  Combo combo(form.Ctl(L"Combo1"));
  for (const wchar_t* item : {L"BANK 1", L"BANK 2"}) combo.Add(item);
  combo.Select(1);
  EXPECT_EQ(combo.Count(), 2);
  EXPECT_EQ(combo.Item(1), L"BANK 2");
  EXPECT_EQ(combo.Selected(), 1);
  EXPECT_THROW(combo.Item(2), Error);
  combo.Clear();
  EXPECT_EQ(combo.Selected(), -1);

  ProgressBar bar(form.Ctl(L"Progress1"));
  bar.SetRange(0, 4);
  bar.SetStep(3);
  bar.StepIt();
  EXPECT_EQ(bar.Position(), 3);
  bar.SetPosition(2);
  EXPECT_EQ(bar.Position(), 2);
  EXPECT_EQ(bar.Minimum(), 0);
  EXPECT_EQ(bar.Maximum(), 4);

  ListView view(form.Ctl(L"ListView1"));
  const ListView::Column columns[] = {{L"User", 120}, {L"Status", 80}, {L"Privilege", 60}};
  view.SetColumns(columns);
  view.SetColumns(columns);  // replaces, never adds
  ASSERT_EQ(view.ColumnCount(), 3);
  EXPECT_EQ(view.ColumnCaption(1), L"Status");
  EXPECT_EQ(view.ColumnWidth(0), 120);
  view.SetColumnCaption(1, L"Zustand");
  EXPECT_EQ(view.ColumnCaption(1), L"Zustand");
  const std::wstring longText(700, L'x');  // longer than any fixed buffer
  EXPECT_EQ(view.AddRow({L"Admin", L"Logged in", L"Administrator"}), 0);
  EXPECT_EQ(view.AddRow({L"Guest"}), 1);
  view.SetCell(1, 2, longText);
  EXPECT_EQ(view.Count(), 2);
  EXPECT_EQ(view.Cell(0, 1), L"Logged in");
  EXPECT_EQ(view.Cell(1, 1), L"");
  EXPECT_EQ(view.Cell(1, 2), longText);
  EXPECT_EQ(view.Selected(), -1);
  view.Select(1);
  EXPECT_EQ(view.Selected(), 1);
  view.Select(-1);
  EXPECT_EQ(view.Selected(), -1);
  EXPECT_THROW(view.Cell(2, 0), Error);
  EXPECT_THROW(view.Select(2), Error);
  view.DeleteRow(0);
  EXPECT_EQ(view.Cell(0, 0), L"Guest");
  view.Clear();
  EXPECT_EQ(view.Count(), 0);
}

TEST_F(ToolkitForm, ToolButtonsGoByDesignName) {
  int opened = 0;
  form.OnClick(L"ToolButton1", [&] { ++opened; });
  form.OnClick(L"ToolButton3", [&] { opened += 10; });
  const auto open = form.ToolButton(L"ToolButton1");
  const auto save = form.ToolButton(L"ToolButton3");
  EXPECT_EQ(open.bar.hwnd(), form.Ctl(L"ToolBar1"));
  EXPECT_EQ(open.bar.ButtonCount(), 3) << "two buttons and a separator";
  EXPECT_EQ(open.bar.ButtonText(open.command), L"Open");
  EXPECT_TRUE(open.bar.Click(open.command));
  EXPECT_FALSE(save.bar.ButtonEnabled(save.command)) << "kDisabled in the table";
  EXPECT_FALSE(save.bar.Click(save.command)) << "a disabled button takes no click";
  form.SetCtlEnabled(L"ToolButton3", true);
  EXPECT_TRUE(save.bar.Click(save.command));
  EXPECT_EQ(opened, 11);
  form.SetCtlVisible(L"ToolButton1", false);
  EXPECT_FALSE(open.bar.ButtonVisible(open.command));
  EXPECT_THROW(form.ToolButton(L"Plain"), Error);

  // The tooltip asks the bar, the bar asks its window: the hint, also after a language switch.
  auto tip = [&](const wchar_t* name) {
    const auto button = form.ToolButton(name);
    HWND tips = reinterpret_cast<HWND>(SendMessageW(button.bar.hwnd(), TB_GETTOOLTIPS, 0, 0));
    NMTTDISPINFOW info{};
    info.hdr = {tips, static_cast<UINT_PTR>(button.command), TTN_GETDISPINFOW};
    info.lpszText = info.szText;  // as the tooltip hands it over
    SendMessageW(button.bar.hwnd(), WM_NOTIFY, button.command, reinterpret_cast<LPARAM>(&info));
    return std::wstring(info.lpszText ? info.lpszText : info.szText);
  };
  EXPECT_EQ(tip(L"ToolButton1"), L"Open a file");
  EXPECT_EQ(form.controls().Hint(L"ToolButton3"), L"Save the file");
  form.controls().SetHint(L"ToolButton3", L"Datei speichern");
  EXPECT_EQ(tip(L"ToolButton3"), L"Datei speichern");
  EXPECT_EQ(form.controls().Hint(L"ToolButton3"), L"Datei speichern");
}

TEST(Form, ToolButtonsOfAPageNotBuiltYetWaitForIt) {
  ScriptedDialogs dialogs;
  TestForm form(dialogs);
  const ControlSpec table[] = {
      {Kind::ToolBar, L"PageBar", nullptr, {0, 0, 200, 30}},
      {Kind::ToolButton, L"PageTool", L"Go", {0, 0, 25, 25}},
  };
  Page& page = form.AddPage(L"TabSheetTools", RGB(200, 200, 200), RECT{0, 0, 200, 100}, table);
  int clicks = 0;
  form.OnClick(L"PageTool", [&] { ++clicks; });
  form.SetCtlEnabled(L"PageTool", false);
  EXPECT_FALSE(page.Built());
  const auto tool = form.ToolButton(L"PageTool");  // builds the page
  EXPECT_FALSE(tool.bar.ButtonEnabled(tool.command)) << "the waiting state went to the button";
  EXPECT_TRUE(IsWindowEnabled(tool.bar.hwnd())) << "not to its bar";
  form.SetCtlEnabled(L"PageTool", true);
  EXPECT_TRUE(tool.bar.Click(tool.command));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ToolkitForm, ToolPicturesAreMadeForEachDpi) {
  std::vector<UINT> made;
  form.SetToolImages(L"ToolBar1", [&](UINT dpi) {
    made.push_back(dpi);
    const int size = Scale(25, dpi);
    return UniqueImageList(ImageList_Create(size, size, ILC_COLOR32, 2, 0));
  });
  HWND bar = form.Ctl(L"ToolBar1");
  auto imageSize = [&] {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0)), &cx, &cy);
    return cx;
  };
  EXPECT_EQ(imageSize(), 25);
  RECT suggested{0, 0, 900, 700};
  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(made, (std::vector<UINT>{96, 192}));
  EXPECT_EQ(imageSize(), 50);
}

TEST_F(ToolkitForm, ChangeNotifyDoubleClickAndCommandBindings) {
  std::vector<std::wstring> seen;
  form.OnChange(L"Edit1", [&] { seen.push_back(L"change " + GetText(form.Ctl(L"Edit1"))); });
  form.OnDoubleClick(L"Plain", [&] { seen.push_back(L"list " + IntToStr(ListBox(form.Ctl(L"Plain")).Selected())); });
  form.OnDoubleClick(L"ListView1", [&] { seen.push_back(L"view"); });
  form.OnNotify(L"ListView1", LVN_ITEMCHANGED, [&](const NMHDR& h) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(h);
    if (change.uNewState & LVIS_SELECTED) seen.push_back(L"selected " + IntToStr(change.iItem));
  });
  form.OnCommand(4711, [&] { seen.push_back(L"menu"); });

  SetText(form.Ctl(L"Edit1"), L"abc");  // the edit reports its own change
  ListBox(form.Ctl(L"Plain")).Add(L"only");
  ListBox(form.Ctl(L"Plain")).Select(0);
  SendMessageW(form.Ctl(L"Plain"), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ListView view(form.Ctl(L"ListView1"));
  const ListView::Column columns[] = {{L"A", 100}};
  view.SetColumns(columns);
  view.AddRow({L"row"});
  view.Select(0);  // the list view notifies the change
  NMITEMACTIVATE dbl{};
  dbl.hdr = {view.hwnd(), static_cast<UINT_PTR>(GetDlgCtrlID(view.hwnd())), static_cast<UINT>(NM_DBLCLK)};
  SendMessageW(form.hwnd(), WM_NOTIFY, dbl.hdr.idFrom, reinterpret_cast<LPARAM>(&dbl));
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(4711, 0), 0);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"change abc", L"list 0", L"selected 0", L"view", L"menu"}));
}

TEST_F(ToolkitForm, TimersStartStopAndTickByMessage) {
  constexpr UINT_PTR kTimer = 7;
  int ticks = 0;
  form.OnTimer(kTimer, [&] { ++ticks; });
  EXPECT_FALSE(form.TimerRunning(kTimer));
  form.StartTimer({kTimer, 2500});
  EXPECT_TRUE(form.TimerRunning(kTimer));
  SendMessageW(form.hwnd(), WM_TIMER, kTimer, 0);
  SendMessageW(form.hwnd(), WM_TIMER, kTimer + 1, 0);  // another timer's tick is not this one's
  EXPECT_EQ(ticks, 1);
  form.StopTimer(kTimer);
  EXPECT_FALSE(form.TimerRunning(kTimer));
  EXPECT_FALSE(KillTimer(form.hwnd(), kTimer)) << "the system timer is gone too";
  // A tick that fails goes to the error box like any handler.
  form.OnTimer(kTimer, [] { throw Error(L"Tick failed"); });
  SendMessageW(form.hwnd(), WM_TIMER, kTimer, 0);
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.Last().text, L"Tick failed.");
}

// A drop as the shell hands it over: DROPFILES, then the paths, each ended
// by a zero, and one more zero. The receiver finishes (frees) it.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& p : paths) list += p + L'\0';
  list += L'\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(ToolkitForm, DroppedFilesArriveAsFullPathsOfAnyLength) {
  std::vector<std::vector<std::wstring>> drops;
  form.OnDropFiles([&](const std::vector<std::wstring>& paths) { drops.push_back(paths); });
  EXPECT_TRUE(GetWindowLongPtrW(form.hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\" + std::wstring(300, L'e') + L".txt";
  const std::vector<std::vector<std::wstring>> cases = {
      {L"C:\\a.txt"},
      {deep, L"S:\\\u00e4\u00f6\u00fc.bin", L"C:\\x"},  // beyond MAX_PATH, non-ASCII, more than one
  };
  for (const auto& paths : cases) SendMessageW(form.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
  EXPECT_EQ(drops, cases);
}

TEST(Handles, OwnersReleaseAndRestore) {
  const WindowDc screen(nullptr);
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 4, 4));
  HDC dc = CreateCompatibleDC(screen.get());
  const HGDIOBJ before = GetCurrentObject(dc, OBJ_BITMAP);
  {
    const SelectedObject selected(dc, bitmap.get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap.get());
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), before) << "the previous bitmap is selected again";
  DeleteDC(dc);

  HMENU raw = CreatePopupMenu();
  { const UniqueMenu menu(raw); }
  EXPECT_FALSE(IsMenu(raw));

  const UniqueBstr text = MakeBstr(std::wstring(L"a\0b", 3));
  EXPECT_EQ(SysStringLen(text.get()), 3u) << "embedded zeros kept";
}

TEST(Dpi, LayoutTablesScaleFromDesignPixels) {
  const struct { UINT dpi; RECT design, scaled; } cases[] = {
      {96, {16, 40, 90, 14}, {16, 40, 90, 14}},
      {144, {16, 40, 90, 14}, {24, 60, 135, 21}},
      {144, {11, 1, 7, 3}, {17, 2, 11, 5}},  // halves away from zero
      {192, {16, 40, 90, 14}, {32, 80, 180, 28}},
      {120, {700, 421, 25, 25}, {875, 526, 31, 31}},
  };
  for (const auto& c : cases) {
    const RECT r = ScaleLayout(c.design, c.dpi);
    EXPECT_TRUE(EqualRect(&r, &c.scaled)) << c.dpi << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

// The rectangle of a control in its parent's client coordinates, as x, y, width, height.
RECT PlaceOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int FontHeight(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight;
}

TEST_F(ToolkitForm, DpiChangeLaysEveryControlOutAgain) {
  const UINT start = form.Dpi();  // the prefix's (96 in this program)
  ListView view(form.Ctl(L"ListView1"));
  const ListView::Column columns[] = {{L"A", 100}};
  view.SetColumns(columns);
  for (UINT dpi : {192u, 120u, start}) {
    RECT suggested{10, 20, 10 + Scale(420, dpi), 20 + Scale(300, dpi)};
    SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form.Dpi(), dpi);
    RECT frame;
    GetWindowRect(form.hwnd(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested)) << "the system's suggested rectangle, at " << dpi;
    for (const ControlSpec& s : kKinds) {
      if (s.kind == Kind::ToolButton || s.kind == Kind::ToolSeparator || s.kind == Kind::ComboBox) continue;
      const RECT want = ScaleLayout(s.rect, dpi), got = PlaceOf(form.Ctl(s.name));
      EXPECT_TRUE(EqualRect(&want, &got)) << Narrow(s.name) << " at " << dpi;
    }
    EXPECT_EQ(FontHeight(form.Ctl(L"Label1")), Scale(-11, dpi));
    EXPECT_EQ(FontHeight(form.Ctl(L"Value1")), Scale(-11, dpi));
    EXPECT_EQ(view.ColumnWidth(0), Scale(100, dpi));
    const auto open = form.ToolButton(L"ToolButton1");
    const RECT button = open.bar.ButtonRect(open.command);
    EXPECT_EQ(button.right - button.left, Scale(25, dpi));
    ICONINFO icon{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(form.Ctl(L"Icon1"), STM_GETICON, 0, 0)), &icon));
    BITMAP bm{};
    GetObjectW(icon.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, Scale(32, dpi)) << "the picture is loaded at its size, not stretched";
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
  }
}

TEST(Dpi, PagesFollowTheirTabControl) {
  ScriptedDialogs dialogs;
  TestForm form(dialogs);
  const std::vector<std::wstring> captions = {L"One", L"Two"};
  HWND tabs = form.AddTabControl(L"PageControl1", {0, 0, 200, 100}, captions, {2, 3});
  const ControlSpec table[] = {{Kind::Button, L"PageButton", L"Page", {10, 10, 80, 25}}};
  Page& built = form.AddPage(L"TabSheet1", RGB(200, 200, 200), tabs, table);
  const ControlSpec other[] = {{Kind::Button, L"LaterButton", L"Later", {10, 10, 80, 25}}};
  Page& later = form.AddPage(L"TabSheet2", RGB(200, 200, 200), tabs, other);
  EXPECT_EQ(TabControl(tabs).Count(), 2);
  EXPECT_EQ(TabControl(tabs).Caption(1), L"Two");
  built.Build();
  RECT suggested{0, 0, 600, 400};
  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  const RECT tabPlace = PlaceOf(tabs), wantTabs{0, 0, 400, 200};
  EXPECT_TRUE(EqualRect(&tabPlace, &wantTabs));
  later.Build();  // built after the change: at the new DPI
  for (Page* page : {&built, &later}) {
    const RECT area = TabControl(tabs).DisplayArea(), place = PlaceOf(page->hwnd());
    EXPECT_EQ(place.left, area.left);
    EXPECT_EQ(place.top, area.top);
    EXPECT_EQ(place.right, area.right - area.left);
    EXPECT_EQ(place.bottom, area.bottom - area.top);
  }
  const RECT button = PlaceOf(form.Ctl(L"LaterButton")), wantButton{20, 20, 160, 50};
  EXPECT_TRUE(EqualRect(&button, &wantButton));
}

}  // namespace
}  // namespace corvel
