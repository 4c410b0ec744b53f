// The Network page: identity, adapter and the network tools.
#include "app/sysinfo_window.h"

#include <commctrl.h>

#include "app/sysinfo_pages.h"

namespace corvel {

namespace {

const ControlSpec kNetworkPage[] = {
    {Kind::Caption, L"Label60", L"Adapter:", {16, 120, 90, 14}},
    {Kind::Value, L"LabelAdapter", L"", {110, 120, 330, 14}},
    {Kind::StatusYes, L"ImageNetY", nullptr, {450, 119, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageNetN", nullptr, {450, 119, 16, 16}, kHidden},
    {Kind::Caption, L"Label61", L"Type:", {16, 138, 90, 14}},
    {Kind::Value, L"LabelTransmit", L"", {110, 138, 330, 14}},
    {Kind::Caption, L"Label62", L"MAC address:", {16, 156, 90, 14}},
    {Kind::Value, L"LabelRecieve", L"", {110, 156, 330, 14}},
    {Kind::Caption, L"Label63", L"Manufacturer:", {16, 174, 90, 14}},
    {Kind::Value, L"LabelATypt", L"", {110, 174, 330, 14}},
    {Kind::Caption, L"LabelServer", L"Server", {16, 230, 160, 14}},
    {Kind::Edit, L"EditServer", L"", {16, 245, 160, 21}},
    {Kind::Caption, L"LabelUser", L"User", {186, 230, 130, 14}},
    {Kind::Edit, L"EditUser", L"", {186, 245, 130, 21}},
    {Kind::Caption, L"LabelPassword", L"Password", {326, 230, 130, 14}},
    {Kind::Edit, L"EditPassword", L"", {326, 245, 130, 21}},
    {Kind::CheckBox, L"CheckBox1", L"", {16, 276, 16, 16}},
    {Kind::Link, L"Label127", L"Anonymous", {36, 277, 100, 14}},
    {Kind::Caption, L"LabelFtpClient", L"FTP-Client (optional)", {16, 302, 200, 14}},
    {Kind::Edit, L"EditFtpClient", L"", {16, 317, 300, 21}},
};

}  // namespace

std::span<const ControlSpec> NetworkPageControls() { return kNetworkPage; }

void TFormSysInfo::BindNetworkPage() {
  OnClick(L"Label127", [this] { Label127Click(); });
}

void TFormSysInfo::FillNetworkPage() { StopTimer1(); }

// "Anonymous": the label toggles its check box.
void TFormSysInfo::Label127Click() { SetChecked(Ctl(L"CheckBox1"), !IsChecked(Ctl(L"CheckBox1"))); }

void TFormSysInfo::SetAdapterLabel(AdapterLabel label, const std::wstring& text) {
  static const wchar_t* const kNames[] = {L"LabelAdapter", L"LabelTransmit", L"LabelRecieve", L"LabelATypt"};
  SetText(Ctl(kNames[static_cast<int>(label)]), text);
}

void TFormSysInfo::SetAdapterStatus(bool ok) {
  SetVisible(Ctl(L"ImageNetY"), ok);
  SetVisible(Ctl(L"ImageNetN"), !ok);
}

}  // namespace corvel
