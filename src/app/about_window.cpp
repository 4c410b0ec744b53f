#include "app/about_window.h"

namespace corvel {

namespace {
const ControlSpec kAboutBox[] = {
    {Kind::Icon, L"ProgramIcon", nullptr, {16, 16, 32, 32}},
    {Kind::Value, L"ProductName", L"Corvel", {64, 16, 200, 16}, kBold},
    {Kind::Caption, L"LabelRelease", L"Version", {64, 40, 60, 14}},
    {Kind::Value, L"LabelVersion", L"", {128, 40, 140, 14}},
    {Kind::Link, L"LabelLink", L"corvel.example", {64, 64, 200, 14}},
    {Kind::Link, L"ImageNews", L"News", {64, 86, 200, 14}},
    {Kind::Button, L"BitBtn1", L"OK", {104, 116, 75, 25}},
};

const LanguageText kTexts[] = {
    {L"", TextOf::Caption, L"Über...", L"About..."},
    {L"LabelRelease", TextOf::Caption, L"Version", L"Release"},
};
}  // namespace

const wchar_t* TAboutBox::ProductPage(Language language) {
  return language.Pick(L"https://corvel.example/de/", L"https://corvel.example/en/");
}

const wchar_t* TAboutBox::NewsPage(Language language) {
  return language.Pick(L"https://corvel.example/de/news", L"https://corvel.example/en/news");
}

void TAboutBox::Create(HWND owner) {
  CreateForm(L"About...", 284, 152, owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, RGB(214, 228, 246));
  AddControls(kAboutBox);
  OnClick(L"BitBtn1", [this] { EndModal(IDOK); });
  OnClick(L"LabelLink", [this] { OpenPage(ProductPage(language)); });
  OnClick(L"ImageNews", [this] { OpenPage(NewsPage(language)); });
  keyPreview = true;
}

void TAboutBox::SetVersionText(const std::wstring& text) { SetText(Ctl(L"LabelVersion"), text); }

void TAboutBox::FormShow() { ApplyLanguage(kTexts); }

bool TAboutBox::PreviewKeyDown(WPARAM vk) {
  if (vk != VK_ESCAPE && vk != VK_RETURN) return false;
  EndModal(vk == VK_RETURN ? IDOK : IDCANCEL);
  return true;
}

void TAboutBox::OpenPage(const wchar_t* address) { shell_.Execute(L"open", address, L"", sw::kShow); }

}  // namespace corvel
