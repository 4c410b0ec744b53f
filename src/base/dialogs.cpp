#include "base/dialogs.h"

namespace corvel {

const wchar_t* DlgTitle(DlgType type) {
  switch (type) {
    case DlgType::Warning: return L"Warnung";
    case DlgType::Error: return L"Fehler";
    case DlgType::Information: return L"Informationen";
    case DlgType::Confirmation: return L"Bestätigen";
    case DlgType::Custom: break;
  }
  return Dialogs::ApplicationTitle();
}

const wchar_t* DlgButtonCaption(DlgButton button) {
  switch (button) {
    case kBtnYes: return L"&Ja";
    case kBtnNo: return L"&Nein";
    case kBtnOk: return L"OK";
    case kBtnCancel: return L"Abbrechen";
    case kBtnHelp: return L"&Hilfe";
  }
  return L"";
}

std::wstring Dialogs::StandardErrorText(const std::wstring& message) {
  if (!message.empty() && message.back() > L'.') return message + L".";
  return message;
}

void Dialogs::ShowError(const std::wstring& message) {
  ShowMessageBox(StandardErrorText(message), ApplicationTitle(), mb::kIconError | mb::kOk);
}

}  // namespace corvel
