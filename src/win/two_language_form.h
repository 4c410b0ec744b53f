// A tool window that speaks both languages: the main window hands it the
// interface language just before showing it, and its show handler picks its
// captions and messages from that value.
#pragma once
#include <span>

#include "base/language.h"
#include "win/form.h"

namespace corvel {

class TwoLanguageForm : public Form {
 public:
  using Form::Form;
  Language language;

 protected:
  // Sets every caption and hint of the table in the window's language.
  void ApplyLanguage(std::span<const LanguageText> table);
  // A row whose component is neither the window nor one of its controls (a
  // menu item, say); such windows override this.
  virtual void ApplyOtherText(const std::wstring& component, const wchar_t* text);
};

// Copies the language into the window, then shows it modally.
inline int ShowInLanguage(TwoLanguageForm& window, Language language) {
  window.language = language;
  return window.ShowModal();
}

}  // namespace corvel
