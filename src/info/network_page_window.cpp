// The Network page: identity, adapter and the network tools.
#include "info/network_page_window.h"

#include "base/errors.h"
#include "base/text.h"
#include "info/network_tools.h"
#include "info/network_tools_win.h"
#include "info/ping_window.h"
#include "win/clipboard.h"

namespace corvel {

namespace {

// The labelled edits' captions are named after their edit ("EditServer.Label").
const ControlSpec kNetworkPage[] = {
    {Kind::Caption, L"Label34", L"IP Address:", {16, 16, 130, 14}},
    {Kind::Value, L"LabelIP", L"", {150, 16, 200, 14}},
    {Kind::Caption, L"Label35", L"Local Computername:", {16, 34, 130, 14}},
    {Kind::Value, L"LabelCName", L"", {150, 34, 200, 14}},
    {Kind::Caption, L"Label36", L"Local Workgroup:", {16, 52, 130, 14}},
    {Kind::Value, L"LabelWorkgroup", L"", {150, 52, 200, 14}},
    {Kind::Caption, L"Label37", L"Local Username:", {16, 70, 130, 14}},
    {Kind::Value, L"LabelUser", L"", {150, 70, 200, 14}},
    {Kind::Caption, L"Label38", L"Online:", {16, 88, 130, 14}},
    {Kind::StatusYes, L"ImageOnline", nullptr, {150, 87, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageOffline", nullptr, {150, 87, 16, 16}, kHidden},

    {Kind::Caption, L"Label133", L"Network adapter", {16, 124, 200, 14}, kBold},
    {Kind::Value, L"LabelAdapter", L"-", {16, 142, 330, 14}},
    {Kind::Caption, L"LabelTrans", L"Type:", {16, 160, 130, 14}},
    {Kind::Value, L"LabelTransmit", L"_", {150, 160, 196, 14}},
    {Kind::Caption, L"Label134", L"MACAddress:", {16, 178, 130, 14}},
    {Kind::Value, L"LabelRecieve", L"_", {150, 178, 196, 14}},
    {Kind::Caption, L"Label135", L"Manufacturer:", {16, 196, 130, 14}},
    {Kind::Value, L"LabelATypt", L"_", {150, 196, 196, 14}},
    {Kind::Caption, L"Label136", L"Status:", {16, 214, 130, 14}},
    {Kind::StatusYes, L"ImageNetY", nullptr, {150, 213, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageNetN", nullptr, {150, 213, 16, 16}, kHidden},

    {Kind::Caption, L"Label123", L"FTP", {370, 16, 100, 14}, kBold},
    {Kind::Caption, L"EditServer.Label", L"Server", {370, 36, 300, 14}},
    {Kind::Edit, L"EditServer", L"", {370, 50, 300, 21}},
    {Kind::Caption, L"EditUser.Label", L"User", {370, 78, 145, 14}},
    {Kind::Edit, L"EditUser", L"", {370, 92, 145, 21}},
    {Kind::Caption, L"EditPassword.Label", L"Password", {525, 78, 145, 14}},
    {Kind::Edit, L"EditPassword", L"", {525, 92, 145, 21}},
    {Kind::CheckBox, L"CheckBox1", L"", {370, 122, 16, 16}},
    {Kind::Link, L"Label127", L"Anonymous", {390, 123, 100, 14}},
    {Kind::Caption, L"EditFtpClient.Label", L"FTP-Client (optional)", {370, 146, 270, 14}},
    {Kind::Edit, L"EditFtpClient", L"", {370, 160, 270, 21}},
    {Kind::Button, L"BitBtn42", L"...", {646, 159, 24, 23}, 0, L"FTP-Client"},
    {Kind::Button, L"SpeedButton34", L"Connect", {370, 190, 120, 25}},

    {Kind::Edit, L"EditUrl", L"www.example.com", {16, 290, 250, 21}},
    {Kind::Caption, L"EditUrl.Label", L"Url", {272, 293, 40, 14}},
    {Kind::Edit, L"LabelWebIP", L"", {16, 318, 250, 21}},
    {Kind::Caption, L"LabelWebIP.Label", L"IP", {272, 321, 40, 14}},
    {Kind::Button, L"SpeedButton35", L"Get IP  ", {330, 288, 110, 25}},
    {Kind::Button, L"SpeedButton36", L"Open IP", {450, 288, 110, 25}},
    {Kind::Button, L"SpeedButton40", L"Get IP info", {330, 318, 110, 25}},
    {Kind::Button, L"ButtonPing", L"Ping", {450, 318, 110, 25}},
};

}  // namespace

std::span<const ControlSpec> NetworkPage::Layout() const { return kNetworkPage; }

void NetworkPage::Bind() {
  form().OnClick(L"Label127", [this] { Label127Click(); });
  form().OnClick(L"BitBtn42", [this] { BitBtn42Click(); });
  form().OnClick(L"SpeedButton34", [this] { BitBtn37Click(); });
  form().OnClick(L"SpeedButton35", [this] { BitBtn30Click(); });
  form().OnClick(L"SpeedButton36", [this] { BtnCopyIPClick(); });
  form().OnClick(L"SpeedButton40", [this] { BitBtn43Click(); });
  form().OnClick(L"ButtonPing", [this] { ButtonPingClick(); });
}

void NetworkPage::FillNetworkPage() {
  // Asked only for the adapter fields the walk writes.
  wmi_.WmiQuery(L"Win32_NetworkAdapter", L"AdapterType");
  SetText(Ctl(L"LabelIP"), LocalAddress());
  SetText(Ctl(L"LabelCName"), LocalComputerName());
  SetText(Ctl(L"LabelWorkgroup"), LocalWorkgroup());
  SetText(Ctl(L"LabelUser"), LocalUserName());
  const bool online = IsOnline();
  SetVisible(Ctl(L"ImageOnline"), online);
  SetVisible(Ctl(L"ImageOffline"), !online);
}

// "Anonymous": the label toggles its check box.
void NetworkPage::Label127Click() { SetChecked(Ctl(L"CheckBox1"), !IsChecked(Ctl(L"CheckBox1"))); }

void NetworkPage::SetAdapterLabel(AdapterLabel label, const std::wstring& text) {
  static const wchar_t* const kNames[] = {L"LabelAdapter", L"LabelTransmit", L"LabelRecieve", L"LabelATypt"};
  SetText(Ctl(kNames[static_cast<int>(label)]), text);
}

void NetworkPage::SetAdapterStatus(bool ok) {
  SetVisible(Ctl(L"ImageNetY"), ok);
  SetVisible(Ctl(L"ImageNetN"), !ok);
}

// "Get IP  ": a failed look-up empties the field.
void NetworkPage::BitBtn30Click() { SetText(Ctl(L"LabelWebIP"), ResolveHostAddress(GetText(Ctl(L"EditUrl")), codePage_)); }

// "Open IP": opens the address in the browser and copies it.
void NetworkPage::BtnCopyIPClick() {
  const std::wstring address = GetText(Ctl(L"LabelWebIP"));
  auto invalid = [this] { dialogs().MessageDlg(messages_[Msg::InvalidIp], DlgType::Information, kBtnOk); };
  if (Trim(address).empty()) {
    invalid();
    return;
  }
  try {
    ops_.ShellOpenUrl(L"http://" + address);
    SetClipboardText(form().hwnd(), address);
  } catch (const Error&) {
    invalid();
  }
}

// "Get IP info": the geolocation page of the address; nothing without one.
void NetworkPage::BitBtn43Click() {
  if (const auto page = GeolocationAddress(GetText(Ctl(L"LabelWebIP")))) ops_.ShellOpenUrl(*page);
}

void NetworkPage::ButtonPingClick() {
  // A click while the requests run (messages are processed between them)
  // would empty the list and mix two runs.
  if (pinging_) return;
  pingSession_.SetHost(GetText(Ctl(L"EditUrl")));
  if (pingWindow_) pingWindow_->Show();
  pinging_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{pinging_};
  for (int i = 0; i < kPingRequests; ++i) {
    IdIcmpClient1Reply(pingSession_.Request(echo_));
    app::ProcessMessages();
  }
}

void NetworkPage::IdIcmpClient1Reply(const std::wstring& line) {
  if (pingWindow_) pingWindow_->AddLine(line);
}

// FTP "Connect": Explorer or the user's FTP program; start failures are not reported.
void NetworkPage::BitBtn37Click() {
  FtpInputs in;
  in.server = GetText(Ctl(L"EditServer"));
  in.user = GetText(Ctl(L"EditUser"));
  in.password = GetText(Ctl(L"EditPassword"));
  in.ftpClient = GetText(Ctl(L"EditFtpClient"));
  in.anonymous = IsChecked(Ctl(L"CheckBox1"));
  if (const auto launch = BuildFtpLaunch(in)) ops_.ShellOpen(launch->program, launch->parameters);
}

// Browse for the FTP program.
void NetworkPage::BitBtn42Click() {
  FileDialogOptions options;
  options.filter = L"EXE/Scripts|*.exe;*.bat;*.cmd;*.vbs|All|*.*";
  options.defaultExt = L"exe";
  std::wstring path;
  if (dialogs().OpenFile(options, path)) SetText(Ctl(L"EditFtpClient"), path);
}

}  // namespace corvel
