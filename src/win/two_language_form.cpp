#include "win/two_language_form.h"

#include "base/errors.h"

namespace corvel {

void TwoLanguageForm::ApplyLanguage(std::span<const LanguageText> table) {
  for (const LanguageText& row : table) {
    const std::wstring component = row.component;
    const wchar_t* text = row.In(language);
    if (component.empty())
      SetText(hwnd(), text);
    else if (!controls().Has(component))
      ApplyOtherText(component, text);
    else if (row.what == TextOf::Hint)
      controls().SetHint(component, text);
    else
      SetText(Ctl(component), text);
  }
}

void TwoLanguageForm::ApplyOtherText(const std::wstring& component, const wchar_t*) {
  throw Error(L"Komponente nicht gefunden: " + component);
}

}  // namespace corvel
