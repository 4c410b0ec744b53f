// The Dialogs port: every message box and standard dialog goes through it, so
// window tests can script the answers. Portable header (no <windows.h>).
#pragma once
#include <deque>
#include <string>
#include <vector>

namespace corvel {

// MessageBoxW flags and results, with the system's values.
namespace mb {
constexpr unsigned kOk = 0x0, kOkCancel = 0x1, kYesNoCancel = 0x3, kYesNo = 0x4;
constexpr unsigned kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40;
constexpr int kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;
}  // namespace mb

// The run-time's message dialogs: German titles and button captions whatever
// the interface language.
enum class DlgType { Warning, Error, Information, Confirmation, Custom };
enum DlgButton : unsigned {
  kBtnYes = 1u << 0, kBtnNo = 1u << 1, kBtnOk = 1u << 2, kBtnCancel = 1u << 3, kBtnHelp = 1u << 4,
};
enum class DlgResult { None, Ok, Cancel, Yes, No };

// The German title of a message dialog type ("Warnung", "Fehler", ...).
const wchar_t* DlgTitle(DlgType type);
// Caption of a message dialog button ("OK", "Abbrechen", "&Ja", "&Nein", "&Hilfe").
const wchar_t* DlgButtonCaption(DlgButton button);

struct FileDialogOptions {
  std::wstring title;
  std::wstring filter;        // "Text|*.txt|All|*.*"
  std::wstring defaultExt;    // without the dot
  std::wstring initialDir;
  std::wstring fileName;      // preset name
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // MessageBoxW with the owner window chosen by the adapter; returns the IDxxx result.
  virtual int ShowMessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) = 0;
  virtual DlgResult MessageDlg(const std::wstring& text, DlgType type, unsigned buttons) = 0;
  // InputQuery: false when cancelled; value holds the preset and receives the answer.
  virtual bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) = 0;
  virtual bool OpenFile(const FileDialogOptions& options, std::wstring& path) = 0;
  virtual bool SaveFile(const FileDialogOptions& options, std::wstring& path) = 0;
  virtual bool SelectFolder(const std::wstring& title, std::wstring& folder) = 0;

  // The application's standard error box: the message with a full stop added
  // when its last character sorts after ".", the application title, error icon, OK.
  void ShowError(const std::wstring& message);
  static std::wstring StandardErrorText(const std::wstring& message);
  static const wchar_t* ApplicationTitle() { return L"Corvel"; }
};

}  // namespace corvel
