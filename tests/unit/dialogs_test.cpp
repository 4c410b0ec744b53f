// The standard error box text and the run-time's German dialog texts.
#include <gtest/gtest.h>

#include "base/dialogs.h"

namespace corvel {
namespace {

TEST(StandardErrorText, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  const struct { const wchar_t* message; const wchar_t* shown; } cases[] = {
      {L"E/A-Fehler 5", L"E/A-Fehler 5."},
      {L"'x' ist kein gültiger Gleitkommawert", L"'x' ist kein gültiger Gleitkommawert."},
      {L"Done.", L"Done."},
      {L"Stop!", L"Stop!"},        // '!' sorts before '.'
      {L"(see above)", L"(see above)"},
      {L"a-", L"a-"},
      {L"path/", L"path/."},       // '/' sorts right after '.'
      {L"Über", L"Über."},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(Dialogs::StandardErrorText(c.message), c.shown) << c.message;
}

TEST(RunTimeDialogs, GermanTitlesAndButtonsInEveryLanguage) {
  EXPECT_STREQ(DlgTitle(DlgType::Information), L"Informationen");
  EXPECT_STREQ(DlgTitle(DlgType::Warning), L"Warnung");
  EXPECT_STREQ(DlgTitle(DlgType::Error), L"Fehler");
  EXPECT_STREQ(DlgTitle(DlgType::Confirmation), L"Bestätigen");
  EXPECT_STREQ(DlgButtonCaption(kBtnOk), L"OK");
  EXPECT_STREQ(DlgButtonCaption(kBtnCancel), L"Abbrechen");
  EXPECT_STREQ(DlgButtonCaption(kBtnYes), L"&Ja");
  EXPECT_STREQ(DlgButtonCaption(kBtnNo), L"&Nein");
  EXPECT_STREQ(DlgButtonCaption(kBtnHelp), L"&Hilfe");
}

}  // namespace
}  // namespace corvel
