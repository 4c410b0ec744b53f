#include "win/dialogs_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "win/form.h"

namespace corvel {

namespace {

// Gives the buttons of the next message box the run-time's German captions.
thread_local HHOOK captionHook = nullptr;

LRESULT CALLBACK GermanButtonsHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wp);
    const struct { int id; DlgButton button; } names[] = {
        {IDOK, kBtnOk}, {IDCANCEL, kBtnCancel}, {IDYES, kBtnYes}, {IDNO, kBtnNo}, {IDHELP, kBtnHelp}};
    for (auto n : names)
      if (HWND b = GetDlgItem(box, n.id)) SetWindowTextW(b, DlgButtonCaption(n.button));
    HHOOK hook = captionHook;
    captionHook = nullptr;
    UnhookWindowsHookEx(hook);
    return 0;
  }
  return CallNextHookEx(captionHook, code, wp, lp);
}

std::vector<wchar_t> FilterList(const std::wstring& filter) {
  std::vector<wchar_t> out(filter.begin(), filter.end());
  for (wchar_t& c : out)
    if (c == L'|') c = L'\0';
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

class InputQueryForm : public Form {
 public:
  explicit InputQueryForm(Dialogs& d) : Form(d, L"TInputQueryForm") {}
  bool Run(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
    CreateForm(caption, 300, 100, owner);
    const ControlSpec table[] = {
        {Kind::Caption, L"Prompt", prompt.c_str(), {8, 10, 284, 14}},
        {Kind::Edit, L"Value", value.c_str(), {8, 28, 284, 21}},
        {Kind::Button, L"OKButton", L"OK", {136, 66, 75, 25}},
        {Kind::Button, L"CancelButton", L"Abbrechen", {217, 66, 75, 25}},
    };
    AddControls(table);
    OnClick(L"OKButton", [this] {
      answer_ = GetText(Ctl(L"Value"));
      EndModal(IDOK);
    });
    OnClick(L"CancelButton", [this] { EndModal(IDCANCEL); });
    SetFocus(Ctl(L"Value"));
    if (ShowModal() != IDOK) return false;
    value = answer_;
    return true;
  }

 private:
  std::wstring answer_;
};

}  // namespace

HWND Win32Dialogs::Owner() const { return owner_ ? owner_ : GetActiveWindow(); }

int Win32Dialogs::ShowMessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) {
  return MessageBoxW(Owner(), text.c_str(), caption.c_str(), flags);
}

DlgResult Win32Dialogs::MessageDlg(const std::wstring& text, DlgType type, unsigned buttons) {
  UINT flags = 0;
  switch (type) {
    case DlgType::Warning: flags |= MB_ICONWARNING; break;
    case DlgType::Error: flags |= MB_ICONERROR; break;
    case DlgType::Information: flags |= MB_ICONINFORMATION; break;
    case DlgType::Confirmation: flags |= MB_ICONQUESTION; break;
    case DlgType::Custom: break;
  }
  bool yes = buttons & kBtnYes, no = buttons & kBtnNo, cancel = buttons & kBtnCancel;
  if (yes && no) flags |= cancel ? MB_YESNOCANCEL : MB_YESNO;
  else if (cancel) flags |= MB_OKCANCEL;
  if (buttons & kBtnHelp) flags |= MB_HELP;
  if (!captionHook) captionHook = SetWindowsHookExW(WH_CBT, GermanButtonsHook, nullptr, GetCurrentThreadId());
  int r = MessageBoxW(Owner(), text.c_str(), DlgTitle(type), flags);
  switch (r) {
    case IDOK: return DlgResult::Ok;
    case IDYES: return DlgResult::Yes;
    case IDNO: return DlgResult::No;
    case IDCANCEL: return DlgResult::Cancel;
  }
  return DlgResult::None;
}

bool Win32Dialogs::InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
  InputQueryForm form(*this);
  return form.Run(Owner(), caption, prompt, value);
}

static bool RunFileDialog(HWND owner, const FileDialogOptions& options, std::wstring& path, bool save) {
  std::vector<wchar_t> filter = FilterList(options.filter);
  std::vector<wchar_t> buffer(32768, L'\0');
  options.fileName.copy(buffer.data(), std::min(options.fileName.size(), buffer.size() - 1));
  OPENFILENAMEW ofn{sizeof ofn};
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = options.filter.empty() ? nullptr : filter.data();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = options.initialDir.empty() ? nullptr : options.initialDir.c_str();
  ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
  ofn.lpstrDefExt = options.defaultExt.empty() ? nullptr : options.defaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return false;
  path = buffer.data();
  return true;
}

bool Win32Dialogs::OpenFile(const FileDialogOptions& options, std::wstring& path) {
  return RunFileDialog(Owner(), options, path, false);
}

bool Win32Dialogs::SaveFile(const FileDialogOptions& options, std::wstring& path) {
  return RunFileDialog(Owner(), options, path, true);
}

bool Win32Dialogs::SelectFolder(const std::wstring& title, std::wstring& folder) {
  BROWSEINFOW bi{};
  bi.hwndOwner = Owner();
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  const UniqueCoTaskMem<ITEMIDLIST> pidl(SHBrowseForFolderW(&bi));
  if (!pidl) return false;
  wchar_t path[MAX_PATH] = L"";
  const bool ok = SHGetPathFromIDListW(pidl.get(), path) != FALSE;
  if (ok) folder = path;
  return ok;
}

}  // namespace corvel
