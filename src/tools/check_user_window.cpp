#include "tools/check_user_window.h"

namespace corvel {

namespace {

const ControlSpec kCheckUser[] = {
    {Kind::GroupBox, L"RadioGroup1", L"Add Entry to", {12, 8, 276, 116}},
    {Kind::Radio, L"RadioGroup1.Item0", kAutostartTargetCaptions[0], {24, 28, 256, 18}, kGroupStart},
    {Kind::Radio, L"RadioGroup1.Item1", kAutostartTargetCaptions[1], {24, 50, 256, 18}},
    {Kind::Radio, L"RadioGroup1.Item2", kAutostartTargetCaptions[2], {24, 72, 256, 18}},
    {Kind::Radio, L"RadioGroup1.Item3", kAutostartTargetCaptions[3], {24, 94, 256, 18}},
    {Kind::Button, L"BitBtn1", L"OK", {128, 136, 75, 25}},
    {Kind::Button, L"BitBtn2", L"Cancel", {213, 136, 75, 25}},
};
constexpr const wchar_t* kItems[] = {L"RadioGroup1.Item0", L"RadioGroup1.Item1", L"RadioGroup1.Item2",
                                     L"RadioGroup1.Item3"};

}  // namespace

void TFormCheckUser::Create(HWND owner) {
  CreateForm(L"New AutoRun Entry", 300, 172, owner);
  AddControls(kCheckUser);
  SetChecked(Ctl(kItems[0]), true);  // the first time, item 0
  OnClick(L"BitBtn1", [this] { EndModal(IDOK); });
  OnClick(L"BitBtn2", [this] { EndModal(IDCANCEL); });
  keyPreview = true;
}

void TFormCheckUser::FormShow() { CentreOnOwner(); }

bool TFormCheckUser::PreviewKeyDown(WPARAM vk) {
  if (vk != VK_RETURN && vk != VK_ESCAPE) return false;
  EndModal(vk == VK_RETURN ? IDOK : IDCANCEL);
  return true;
}

std::optional<AutostartTarget> TFormCheckUser::Choose() {
  if (ShowModal() != IDOK) return std::nullopt;
  for (int i = 0; i < 4; ++i)
    if (IsChecked(Ctl(kItems[i]))) return static_cast<AutostartTarget>(i);
  return std::nullopt;
}

}  // namespace corvel
