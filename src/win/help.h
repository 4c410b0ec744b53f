// Opening the HTML help files next to the program.
#pragma once
#include <windows.h>

#include <string>
#include <utility>

namespace corvel {

// Opens a help context of an HTML help file; nothing happens when the help
// system or the file is missing.
void ShowHelpContext(HWND owner, const std::wstring& helpFile, unsigned context);

// The application's help file: the main window chooses it by its language,
// the calculator replaces it when it is shown, and the windows whose F1 opens
// the application's help read it. One per program, handed to those windows.
class ApplicationHelp {
 public:
  virtual ~ApplicationHelp() = default;
  const std::wstring& File() const { return file_; }
  void SetFile(std::wstring file) { file_ = std::move(file); }
  // Opens a context of a help file; ShowHelpContext unless a test listens.
  virtual void Open(HWND owner, const std::wstring& helpFile, unsigned context) {
    ShowHelpContext(owner, helpFile, context);
  }

 private:
  std::wstring file_;
};

}  // namespace corvel
