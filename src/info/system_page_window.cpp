// The System page: operating system, machine and the drive list.
#include "info/system_page_window.h"

#include <mmsystem.h>

#include "info/system_facts.h"
#include "info/system_facts_win.h"
#include "win/control_wrappers.h"
#include "win/handles.h"

namespace corvel {

namespace {

constexpr int kDriveItemHeight = 38;
constexpr ULONG kPropertiesMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // 0x44C

const ControlSpec kSystemPage[] = {
    {Kind::Caption, L"Label1", L"Product Name:", {16, 16, 110, 14}},
    {Kind::Value, L"LabelName", L"Name", {130, 16, 330, 14}},
    {Kind::Caption, L"Label2", L"Product ID:", {16, 34, 110, 14}},
    {Kind::Value, L"LabelID", L"ID", {130, 34, 330, 14}},
    {Kind::Caption, L"LabelVMax", L"Version Major:", {16, 52, 110, 14}},
    {Kind::Value, L"LabelVersionM", L"Major", {130, 52, 330, 14}},
    {Kind::Caption, L"Label3", L"Version Minor:", {16, 70, 110, 14}},
    {Kind::Value, L"LabelVersionMin", L"Minor", {130, 70, 330, 14}},
    {Kind::Caption, L"Label4", L"Build:", {16, 88, 110, 14}},
    {Kind::Value, L"LabelBuild", L"Build", {130, 88, 330, 14}},
    {Kind::Caption, L"LabelServ", L"Servicepack:", {16, 106, 110, 14}},
    {Kind::Value, L"LabelPackName", L"____", {130, 106, 330, 14}},
    {Kind::Caption, L"Label5", L"SP Version:", {16, 124, 110, 14}},
    {Kind::Value, L"LabelSPVersion", L"____", {130, 124, 330, 14}},
    {Kind::Caption, L"Label7", L"IE Version:", {16, 142, 110, 14}},
    {Kind::Value, L"LabelIE", L"____", {130, 142, 330, 14}},
    {Kind::Caption, L"Label8", L"DirectX:", {16, 160, 110, 14}},
    {Kind::Value, L"LabelDirectX", L"____", {130, 160, 330, 14}},
    {Kind::Caption, L"Label39", L"Reg. Company:", {16, 178, 110, 14}},
    {Kind::Value, L"LabelCompany", L"____", {130, 178, 330, 14}},
    {Kind::Caption, L"Label40", L"Reg. Owner:", {16, 196, 110, 14}},
    {Kind::Value, L"LabelRegUser", L"____", {130, 196, 330, 14}},
    {Kind::Caption, L"Label59", L"Def. browser:", {16, 214, 110, 14}},
    {Kind::Value, L"LabelDefBrowser", L"____", {130, 214, 330, 14}},
    {Kind::Caption, L"Label110", L"PC type:", {16, 232, 110, 14}},
    {Kind::Value, L"LabelPType", L"____", {130, 232, 330, 14}},
    {Kind::Caption, L"Label112", L"Virtual Machine:", {16, 250, 110, 14}},
    {Kind::Value, L"Label113", L"____", {130, 250, 330, 14}},
    {Kind::Caption, L"Label130", L"Language:", {16, 268, 110, 14}},
    {Kind::Value, L"LabelSysLang", L"____", {130, 268, 330, 14}},
    {Kind::Caption, L"Label142", L"UAC enabled:", {16, 286, 110, 14}},
    {Kind::StatusYes, L"ImageUACy", nullptr, {130, 285, 16, 16}, kHidden},
    {Kind::StatusNo, L"ImageUACn", nullptr, {130, 285, 16, 16}, kHidden},
    {Kind::Caption, L"Label61", L"Drives", {480, 16, 200, 14}, kBold},
    {Kind::ListBox, L"JvDriveList1", nullptr, {480, 34, 200, 236}, kOwnerDraw},
    {Kind::Button, L"SpeedButton43", L"Properties", {480, 278, 200, 25}},
    {Kind::Button, L"SpeedButton47", L"Open drive", {480, 308, 200, 25}},
    {Kind::Button, L"SpeedButton48", L"Close drive", {480, 338, 200, 25}},
};

}  // namespace

unsigned SystemDriveSteps::Mci(const std::wstring& command) {
  return static_cast<unsigned>(mciSendStringW(command.c_str(), nullptr, 0, nullptr));
}

void SystemDriveSteps::Properties(SHELLEXECUTEINFOW& info) { ShellExecuteExW(&info); }

std::wstring SystemDriveSteps::TypeName(wchar_t letter) { return DriveTypeNameOf(letter); }

std::span<const ControlSpec> SystemPage::Layout() const { return kSystemPage; }

void SystemPage::Bind() {
  form().OnDrawItem(L"JvDriveList1", [this](const DRAWITEMSTRUCT& item) { DrawDriveItem(item); });
  form().OnClick(L"SpeedButton43", [this] { BitBtn10Click(); });
  form().OnClick(L"SpeedButton47", [this] { BitBtn28Click(); });
  form().OnClick(L"SpeedButton48", [this] { BitBtn29Click(); });
}

void SystemPage::FillSystemPage(const std::wstring& architecture) {
  // Drives come and go (sticks, network drives): the list is read at every entry.
  FillDriveList();
  const OsFacts os = ReadOsFacts();
  SetText(Ctl(L"LabelName"), os.productName + L" " + architecture);
  const std::pair<const wchar_t*, const std::wstring*> fields[] = {
      {L"LabelID", &os.productId},          {L"LabelVersionM", &os.major},      {L"LabelVersionMin", &os.minor},
      {L"LabelBuild", &os.build},           {L"LabelPackName", &os.servicePack}, {L"LabelSPVersion", &os.spMajor},
      {L"LabelIE", &os.ieVersion},          {L"LabelDirectX", &os.directXVersion}, {L"LabelCompany", &os.company},
      {L"LabelRegUser", &os.owner},
  };
  for (const auto& [label, text] : fields) SetText(Ctl(label), *text);
  SetText(Ctl(L"LabelDefBrowser"), DefaultBrowserPath());
  // A PC type that is no number ends the fill here.
  SetText(Ctl(L"LabelPType"), PcTypeName(wmi_.WmiQuery(L"Win32_ComputerSystem", L"PCSystemType")));
  SetText(Ctl(L"Label113"), VmVerdict(wmi_.WmiQuery(L"Win32_VideoController", L"Description")));
  SetText(Ctl(L"LabelSysLang"), SystemLanguageName());
}

void SystemPage::FillDriveList() {
  ListBox list(Ctl(L"JvDriveList1"));
  const wchar_t current = CurrentDrive();
  list.SetItemHeight(Scale(kDriveItemHeight, Dpi()));
  list.Clear();
  int select = 0;
  for (const DriveEntry& drive : ListDrives(&driveImages_)) {
    // Letter order, not the names' order: the list box does not sort.
    const int at = list.Add(drive.name);
    if (at < 0) continue;
    // The letter in the low word, the icon index (+1, 0 without) above it.
    list.SetData(at, MAKELPARAM(drive.letter, drive.icon + 1));
    if (drive.letter == current) select = at;
  }
  if (list.Count() > 0) list.Select(select);
}

void SystemPage::DrawDriveItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const ListBox list(item.hwndItem);
  const auto data = static_cast<DWORD>(list.Data(static_cast<int>(item.itemID)));
  const int icon = static_cast<int>(HIWORD(data)) - 1;
  const int iconSize = GetSystemMetrics(SM_CXSMICON);
  const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - iconSize) / 2;
  if (driveImages_ && icon >= 0)
    ImageList_Draw(driveImages_, icon, dc, item.rcItem.left + 4, top, selected ? ILD_SELECTED : ILD_NORMAL);
  const std::wstring name = list.Item(static_cast<int>(item.itemID));
  RECT text = item.rcItem;
  text.left += 4 + iconSize + 6;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  {
    const SelectedObject font(dc, Fonts::Arial8(Dpi()));
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

wchar_t SystemPage::CurrentDrive() const {
  const ListBox list(Ctl(L"JvDriveList1"));
  const int at = list.Selected();
  return at < 0 ? 0 : static_cast<wchar_t>(LOWORD(list.Data(at)));
}

void SystemPage::BitBtn10Click() {
  const wchar_t letter = CurrentDrive();
  if (!letter) return;  // an empty list has no drive to show
  const std::wstring root = std::wstring(1, letter) + L":\\";
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = kPropertiesMask;
  info.hwnd = form().hwnd();
  info.lpVerb = L"properties";
  info.lpFile = root.c_str();
  info.lpParameters = nullptr;
  info.nShow = SW_SHOW;
  drives_.Properties(info);
  const UniqueHandle process(info.hProcess);  // asked for by the mask, not needed
}

void SystemPage::BitBtn28Click() { DriveDoorClick(true); }

void SystemPage::BitBtn29Click() { DriveDoorClick(false); }

void SystemPage::DriveDoorClick(bool open) {
  const wchar_t letter = CurrentDrive();
  if (!letter || drives_.TypeName(letter) != L"CDROM") {
    dialogs().MessageDlg(messages_[Msg::NoCdDrive], DlgType::Information, kBtnOk);
    return;
  }
  SetDriveDoor(letter, open);
}

void SystemPage::SetDriveDoor(wchar_t letter, bool open) {
  // A failed open (no driver, drive busy) leaves the door as it is, silently.
  if (drives_.Mci(L"open " + std::wstring(1, letter) + L": type cdaudio alias cdlw") != 0) return;
  drives_.Mci(std::wstring(L"set cdlw door ") + (open ? L"open" : L"closed") + L" wait");
  drives_.Mci(L"close cdlw");
}

}  // namespace corvel
