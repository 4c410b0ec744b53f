// The real Dialogs: MessageBoxW and the common dialogs, owned by the window set with SetOwner.
#pragma once
#include <windows.h>

#include "base/dialogs.h"

namespace corvel {

class Win32Dialogs : public Dialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  int ShowMessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
  DlgResult MessageDlg(const std::wstring& text, DlgType type, unsigned buttons) override;
  bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) override;
  bool OpenFile(const FileDialogOptions& options, std::wstring& path) override;
  bool SaveFile(const FileDialogOptions& options, std::wstring& path) override;
  bool SelectFolder(const std::wstring& title, std::wstring& folder) override;

 private:
  HWND Owner() const;
  HWND owner_ = nullptr;
};

}  // namespace corvel
