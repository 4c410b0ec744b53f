// The real Shell: ShellExecuteW with the main window as owner.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "base/shell.h"

namespace corvel {

class Win32Shell : public Shell {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::uintptr_t Execute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                         int show) override {
    // An empty verb is the file type's default one.
    return reinterpret_cast<std::uintptr_t>(ShellExecuteW(owner_, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                                          parameters.c_str(), nullptr, show));
  }

 private:
  HWND owner_ = nullptr;
};

}  // namespace corvel
