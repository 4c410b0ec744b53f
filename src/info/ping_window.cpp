#include "info/ping_window.h"

namespace corvel {

namespace {

constexpr int kClientWidth = 408, kClientHeight = 181;
constexpr COLORREF kGradientBottom = RGB(180, 215, 230);

const ControlSpec kPingForm[] = {
    {Kind::ListBox, L"ListBox1", nullptr, {8, 8, 392, 132}},
    {Kind::Button, L"BitBtn1", L"Close", {166, 148, 75, 25}},
};

}  // namespace

void TFormPing::Create(HWND owner) {
  CreateForm(L"Ping", kClientWidth, kClientHeight, owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
             kGradientBottom);
  AddControls(kPingForm);
  // The window's font is Tahoma 8 throughout.
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Fonts::Tahoma8()), FALSE);
  for (const ControlSpec& s : kPingForm)
    SendMessageW(Ctl(s.name), WM_SETFONT, reinterpret_cast<WPARAM>(Fonts::Tahoma8()), FALSE);
  OnClick(L"BitBtn1", [this] { BitBtn1Click(); });
  keyPreview = true;  // Escape is the cancel button
}

void TFormPing::FormShow() {
  SendMessageW(Ctl(L"ListBox1"), LB_RESETCONTENT, 0, 0);
  CentreOnOwner();
}

void TFormPing::CentreOnOwner() {
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  if (!owner) return;
  RECT o, w;
  GetWindowRect(owner, &o);
  GetWindowRect(hwnd(), &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  SetWindowPos(hwnd(), nullptr, o.left + (o.right - o.left - width) / 2, o.top + (o.bottom - o.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormPing::AddLine(const std::wstring& line) {
  SendMessageW(Ctl(L"ListBox1"), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

std::vector<std::wstring> TFormPing::Lines() const {
  HWND list = Ctl(L"ListBox1");
  std::vector<std::wstring> lines;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    lines.push_back(std::move(text));
  }
  return lines;
}

void TFormPing::BitBtn1Click() { EndModal(IDCANCEL); }  // hides the modeless window

bool TFormPing::PreviewKeyDown(WPARAM vk) {
  if (vk != VK_ESCAPE) return false;
  BitBtn1Click();
  return true;
}

}  // namespace corvel
