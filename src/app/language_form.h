// A tool window that speaks both languages: the main window hands it the
// interface language just before showing it, and its show handler picks its
// captions and messages from that value.
#pragma once
#include "win/form.h"

namespace corvel {

class TwoLanguageForm : public Form {
 public:
  using Form::Form;
  int language = 0;  // 0 German, anything else English
  bool English() const { return language != 0; }
};

// Copies the language into the window, then shows it modally.
inline int ShowInLanguage(TwoLanguageForm& window, int uiLanguage) {
  window.language = uiLanguage;
  return window.ShowModal();
}

}  // namespace corvel
