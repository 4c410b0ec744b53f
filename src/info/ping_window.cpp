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
  SetFontFace(L"Tahoma");  // the window's font is Tahoma 8 throughout
  AddControls(kPingForm);
  OnClick(L"BitBtn1", [this] { BitBtn1Click(); });
  keyPreview = true;  // Escape is the cancel button
}

void TFormPing::FormShow() {
  ListBox(Ctl(L"ListBox1")).Clear();
  CentreOnOwner();
}

void TFormPing::AddLine(const std::wstring& line) {
  ListBox(Ctl(L"ListBox1")).Add(line);
}

std::vector<std::wstring> TFormPing::Lines() const { return ListBox(Ctl(L"ListBox1")).Items(); }

void TFormPing::BitBtn1Click() { EndModal(IDCANCEL); }  // hides the modeless window

bool TFormPing::PreviewKeyDown(WPARAM vk) {
  if (vk != VK_ESCAPE) return false;
  BitBtn1Click();
  return true;
}

}  // namespace corvel
