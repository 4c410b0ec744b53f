// TAboutBox: product name, version and links.
#pragma once
#include "win/two_language_form.h"
#include "base/shell.h"

namespace corvel {

class TAboutBox : public TwoLanguageForm {
 public:
  TAboutBox(Dialogs& dialogs, Shell& shell) : TwoLanguageForm(dialogs, L"TAboutBox"), shell_(shell) {}
  void Create(HWND owner);
  void SetVersionText(const std::wstring& text);  // LabelVersion

  // Web addresses opened by the link and the picture.
  static const wchar_t* ProductPage(Language language);
  static const wchar_t* NewsPage(Language language);

 protected:
  void FormShow() override;
  bool PreviewKeyDown(WPARAM vk) override;

 private:
  void OpenPage(const wchar_t* address);
  Shell& shell_;
};

}  // namespace corvel
