#include "calc/calc_window.h"

#include <commctrl.h>

#include "win/folders.h"
#include "win/help.h"
#include "win/locale.h"
#include "base/errors.h"
#include "calc/calc_file.h"
#include "win/files.h"
#include "win/system_message.h"

namespace corvel {

namespace {

constexpr int kClientWidth = 261, kClientHeight = 257;
constexpr const wchar_t* kFilter = L"CLC|*.clc|All|*.*";

// Six columns of keys under the header and the display.
constexpr int Col(int c) { return 8 + c * 41; }
constexpr int Row(int r) { return 78 + r * 32; }
constexpr RECT Key(int c, int r, int columns = 1) { return {Col(c), Row(r), 38 + (columns - 1) * 41, 28}; }

const ControlSpec kControls[] = {
    {Kind::Value, L"Label5", L"Calculator", {10, 8, 200, 22}, kBold},
    {Kind::StatusYes, L"Image1", nullptr, {232, 10, 18, 18}, kHidden},
    {Kind::Edit, L"Edit1", L"", {8, 44, 245, 24}, kRight | kReadOnly},
    {Kind::Button, L"BitBtn7", L"7", Key(0, 0)},
    {Kind::Button, L"BitBtn8", L"8", Key(1, 0)},
    {Kind::Button, L"BitBtn9", L"9", Key(2, 0)},
    {Kind::Button, L"BitBtn14", L"/", Key(3, 0), 0, L"Division"},
    {Kind::Button, L"BitBtn16", L"CE", Key(4, 0), 0, L"Clear"},
    {Kind::Button, L"BitBtn25", L"M<-", Key(5, 0), 0, L"Memory in"},
    {Kind::Button, L"BitBtn4", L"4", Key(0, 1)},
    {Kind::Button, L"BitBtn5", L"5", Key(1, 1)},
    {Kind::Button, L"BitBtn6", L"6", Key(2, 1)},
    {Kind::Button, L"BitBtn15", L"*", Key(3, 1), 0, L"Multiplication"},
    {Kind::Button, L"BitBtn18", L"\u221a", Key(4, 1), 0, L"Square root"},
    {Kind::Button, L"BitBtn26", L"M->", Key(5, 1), 0, L"Memory out"},
    {Kind::Button, L"BitBtn1", L"1", Key(0, 2)},
    {Kind::Button, L"BitBtn2", L"2", Key(1, 2)},
    {Kind::Button, L"BitBtn3", L"3", Key(2, 2)},
    {Kind::Button, L"BitBtn12", L"-", Key(3, 2)},
    {Kind::Button, L"BitBtn13", L"%", Key(4, 2), 0, L"Percent"},
    {Kind::Button, L"BitBtn27", L"MC", Key(5, 2), 0, L"Memory clear"},
    {Kind::Button, L"BitBtn10", L"0", Key(0, 3)},
    {Kind::Button, L"BitBtn23", L".", Key(1, 3), 0, L"Decimal separator"},
    {Kind::Button, L"BitBtn20", L"+/-", Key(2, 3), 0, L"Vorzeichen umkehren"},
    {Kind::Button, L"BitBtn11", L"+", Key(3, 3)},
    {Kind::Button, L"BitBtn24", L"1/x", Key(4, 3), 0, L"1 over x"},
    {Kind::Button, L"BitBtn17", L"x\u207f", Key(5, 3), 0, L"x to the power of n"},
    {Kind::Button, L"BitBtn19", L"=", Key(0, 4, 3), 0, L"Calculate"},
    {Kind::Button, L"BitBtn22", L"Edit", Key(3, 4), 0, L"Enter calculation straight into the text field"},
    {Kind::Button, L"BitBtn21", L"Quit", Key(4, 4, 2), 0, L"Quit"},
};

const wchar_t* const kDigitKeys[] = {L"BitBtn1", L"BitBtn2", L"BitBtn3", L"BitBtn4", L"BitBtn5",
                                     L"BitBtn6", L"BitBtn7", L"BitBtn8", L"BitBtn9", L"BitBtn10",
                                     L"BitBtn23"};

void SetMenuText(HMENU menu, UINT item, bool byPosition, const wchar_t* text) {
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(text);
  SetMenuItemInfoW(menu, item, byPosition, &info);
}

std::wstring GetMenuText(HMENU menu, UINT item, bool byPosition) {
  wchar_t buf[128] = {};
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_STRING;
  info.dwTypeData = buf;
  info.cch = 127;
  GetMenuItemInfoW(menu, item, byPosition, &info);
  return buf;
}

}  // namespace

TFormRech::TFormRech(Dialogs& dialogs, const CodePage& codePage, ApplicationHelp& help)
    : TwoLanguageForm(dialogs, L"TFormRech"), codePage_(codePage), help_(help), calc_(dialogs) {}

void TFormRech::Create(HWND owner) {
  CreateForm(L"Calc", kClientWidth, kClientHeight, owner,
             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME, RGB(0xB6, 0xB6, 0xB6));
  AddControls(kControls);
  display_ = Ctl(L"Edit1");
  SetWindowSubclass(display_, DisplayProc, 1, reinterpret_cast<DWORD_PTR>(this));
  normalBrush_.reset(CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0)));
  editBrush_.reset(CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF)));

  // Owned here until the window takes them: a failure on the way leaks no menu.
  UniqueMenu file(CreatePopupMenu()), bar(CreateMenu());
  if (!file || !bar) throw Error(SystemMessage(GetLastError()));
  AppendMenuW(file.get(), MF_STRING, kMenuSave, L"Save calculation");
  AppendMenuW(file.get(), MF_STRING, kMenuLoad, L"Load calculation");
  AppendMenuW(file.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file.get(), MF_STRING, kMenuQuit, L"Quit");
  if (!AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file.get()), L"File"))
    throw Error(SystemMessage(GetLastError()));
  fileMenu_ = file.release();  // the bar's now
  if (!SetMenu(hwnd(), bar.get())) throw Error(SystemMessage(GetLastError()));
  menu_ = bar.release();  // the window's now, destroyed with it
  // The menu bar takes its height from the client area: grow the frame back.
  FitFrameToClient();
  OnCommand(kMenuSave, [this] { Savecalculation1Click(); });
  OnCommand(kMenuLoad, [this] { Loadcalculation1Click(); });
  OnCommand(kMenuQuit, [this] { BitBtn21Click(); });
  OnCommand(IDCANCEL, [this] { BitBtn21Click(); });  // Esc through dialog navigation

  for (int i = 0; i < 11; ++i) {
    const std::wstring caption = GetText(Ctl(kDigitKeys[i]));
    OnClick(kDigitKeys[i], [this, caption] { BitBtn1Click(caption); });
  }
  OnClick(L"BitBtn11", [this] { BitBtn11Click(); });
  OnClick(L"BitBtn12", [this] { BitBtn12Click(); });
  OnClick(L"BitBtn15", [this] { BitBtn15Click(); });
  OnClick(L"BitBtn14", [this] { BitBtn14Click(); });
  OnClick(L"BitBtn13", [this] { BitBtn13Click(); });
  OnClick(L"BitBtn16", [this] { BitBtn16Click(); });
  OnClick(L"BitBtn17", [this] { BitBtn17Click(); });
  OnClick(L"BitBtn18", [this] { BitBtn18Click(); });
  OnClick(L"BitBtn24", [this] { BitBtn24Click(); });
  OnClick(L"BitBtn20", [this] { BitBtn20Click(); });
  OnClick(L"BitBtn19", [this] { BitBtn19Click(); });
  OnClick(L"BitBtn22", [this] { BitBtn22Click(); });
  OnClick(L"BitBtn21", [this] { BitBtn21Click(); });
  OnClick(L"BitBtn25", [this] { BitBtn25Click(); });
  OnClick(L"BitBtn26", [this] { BitBtn26Click(); });
  OnClick(L"BitBtn27", [this] { BitBtn27Click(); });
  keyPreview = true;
}

std::wstring TFormRech::Hint(const std::wstring& component) const {
  return controls().Hint(component);
}

std::wstring TFormRech::MenuText(UINT id) const {
  if (id == 0) return GetMenuText(menu_, 0, true);
  return GetMenuText(fileMenu_, id, false);
}

void TFormRech::SyncIn() { calc_.display.text = GetText(display_); }

void TFormRech::SyncOut() {
  const CalcDisplay& d = calc_.display;
  if (GetText(display_) != d.text) SetText(display_, d.text);
  SendMessageW(display_, EM_SETREADONLY, d.readOnly, 0);
  SetVisible(Ctl(L"Image1"), d.markerVisible);
  InvalidateRect(display_, nullptr, TRUE);
  const CalcRequests r = calc_.TakeRequests();
  if (r.focusDisplay) SetFocus(display_);
  if (r.caretToEnd) {
    const int end = GetWindowTextLengthW(display_);
    SendMessageW(display_, EM_SETSEL, end, end);
  }
  if (r.helpContext) help_.Open(hwnd(), helpFile_, r.helpContext);
  if (r.simulateSpace) {
    keybd_event(VK_SPACE, 0, 0, 0);
    keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
  }
}

void TFormRech::Run(const std::function<void()>& handler) {
  SyncIn();
  try {
    handler();
  } catch (...) {
    SyncOut();
    throw;
  }
  SyncOut();
}

void TFormRech::SetLanguageTexts() {
  ApplyLanguage(CalcLanguageTable());
  DrawMenuBar(hwnd());
  helpFile_ = ProgramFolder() + CalcHelpFileName(language);
  help_.SetFile(helpFile_);
}

void TFormRech::ApplyOtherText(const std::wstring& component, const wchar_t* text) {
  if (component == L"File1") SetMenuText(menu_, 0, true, text);
  else if (component == L"Savecalculation1") SetMenuText(fileMenu_, kMenuSave, false, text);
  else if (component == L"Loadcalculation1") SetMenuText(fileMenu_, kMenuLoad, false, text);
  else if (component == L"quit1") SetMenuText(fileMenu_, kMenuQuit, false, text);
  else TwoLanguageForm::ApplyOtherText(component, text);
}

void TFormRech::FormShow() {
  SystemParametersInfoW(SPI_SETBEEP, FALSE, nullptr, 0);
  beepOff_ = true;
  calc_.decimalSeparator = fixedDecimalSeparator ? *fixedDecimalSeparator : UserDecimalSeparator();
  SetLanguageTexts();
  Run([this] { calc_.Show(language); });
}

void TFormRech::FormCloseRequested() { BitBtn21Click(); }

void TFormRech::BitBtn21Click() {
  SystemParametersInfoW(SPI_SETBEEP, TRUE, nullptr, 0);
  beepOff_ = false;
  EndModal(IDCANCEL);
}

void TFormRech::BitBtn1Click(const std::wstring& caption) { Run([&] { calc_.DigitKey(caption); }); }
void TFormRech::BitBtn11Click() { Run([this] { calc_.OperatorKey(L'+'); }); }
void TFormRech::BitBtn12Click() { Run([this] { calc_.OperatorKey(L'-'); }); }
void TFormRech::BitBtn15Click() { Run([this] { calc_.OperatorKey(L'*'); }); }
void TFormRech::BitBtn14Click() { Run([this] { calc_.OperatorKey(L'/'); }); }
void TFormRech::BitBtn13Click() { Run([this] { calc_.PercentKey(); }); }
void TFormRech::BitBtn16Click() { Run([this] { calc_.ClearKey(); }); }
void TFormRech::BitBtn17Click() { Run([this] { calc_.PowerKey(); }); }
void TFormRech::BitBtn18Click() { Run([this] { calc_.SquareRootKey(); }); }
void TFormRech::BitBtn24Click() { Run([this] { calc_.ReciprocalKey(); }); }
void TFormRech::BitBtn20Click() { Run([this] { calc_.SignKey(); }); }
void TFormRech::BitBtn19Click() { Run([this] { calc_.EqualsKey(); }); }
void TFormRech::BitBtn22Click() { Run([this] { calc_.EditKey(); }); }
void TFormRech::BitBtn25Click() { Run([this] { calc_.MemoryInKey(); }); }
void TFormRech::BitBtn26Click() { Run([this] { calc_.MemoryOutKey(); }); }
void TFormRech::BitBtn27Click() { Run([this] { calc_.MemoryClearKey(); }); }

void TFormRech::Edit1KeyDown(WPARAM vk) { Run([&] { calc_.DisplayKeyDown(static_cast<int>(vk)); }); }

bool TFormRech::PreviewKeyDown(WPARAM vk) {
  if (vk == VK_ESCAPE) {  // the quit key is the cancel button
    BitBtn21Click();
    return true;
  }
  // A single-line display never sees Enter (dialog navigation takes it), so
  // its key-down gets it from here in edit mode.
  if (calc_.calcMode == L"Edit" && vk == VK_RETURN && GetFocus() == display_) {
    Edit1KeyDown(vk);
    return true;
  }
  bool swallowed = false;
  const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  Run([&] { swallowed = calc_.KeyDown(static_cast<int>(vk), shift); });
  return swallowed;
}

bool TFormRech::PreviewChar(WPARAM ch) {
  Run([&] { calc_.KeyPress(static_cast<wchar_t>(ch)); });
  return false;
}

void TFormRech::Savecalculation1Click() {
  SyncIn();
  if (!calc_.CanSave()) {
    dialogs().MessageDlg(calc_.noCalculationText, DlgType::Information, kBtnOk);
    return;
  }
  memo_ = calc_.display.text;
  FileDialogOptions options;
  options.filter = kFilter;
  options.defaultExt = L"clc";
  std::wstring path;
  if (!dialogs().SaveFile(options, path)) return;
  WriteFileReplacing(path, EncodeCalcFile(memo_, codePage_));
}

void TFormRech::Loadcalculation1Click() {
  memo_.clear();
  FileDialogOptions options;
  options.filter = kFilter;
  std::wstring path;
  if (!dialogs().OpenFile(options, path)) return;
  const auto bytes = ReadWholeFile(path);
  if (!bytes) throw InOutError(2);
  if (bytes->size() > kMaxCalcFileBytes) {
    dialogs().MessageDlg(language.Pick(L"Die Datei ist zu groß für eine Berechnung.", L"The file is too large for a calculation."),
                         DlgType::Error, kBtnOk);
    return;
  }
  memo_ = DecodeCalcFile(*bytes, codePage_);
  SetText(display_, memo_);
}

LRESULT TFormRech::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == display_) {
        const bool edit = calc_.display.colour == kCalcEditColour;
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, edit ? RGB(0xFF, 0xFF, 0xFF) : RGB(0xF0, 0xF0, 0xF0));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(edit ? editBrush_.get() : normalBrush_.get());
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) {
        SetFocus(display_);
        return 0;
      }
      break;
  }
  return TwoLanguageForm::OnMessage(msg, wp, lp);
}

LRESULT CALLBACK TFormRech::DisplayProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TFormRech*>(data);
  if (msg == WM_KEYDOWN && wp == 220) {
    LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    self->Guarded([&] { self->Edit1KeyDown(wp); });
    return result;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace corvel
