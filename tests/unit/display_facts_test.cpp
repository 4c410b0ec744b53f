// The Display page's conversions and the resolution check on activation.
#include "info/display_facts.h"

#include <gtest/gtest.h>

#include <deque>

#include "base/errors.h"
#include "base/text.h"

namespace corvel {
namespace {

TEST(DisplayFacts, ColourDepthNames) {
  const std::pair<int, const wchar_t*> named[] = {{4, L"16 Colors (4 Bit)"},
                                                  {8, L"256 Colors (8 Bit)"},
                                                  {16, L"64K Colors, High Color (16 Bit)"},
                                                  {24, L"16M Colors, True Color (24 Bit)"},
                                                  {32, L"16M Colors, True Color (32 Bit)"}};
  for (const auto& [bits, name] : named) EXPECT_EQ(ColourDepthName(bits), name) << bits;
  for (int bits : {0, 1, 2, 15, 30, 64, -1}) EXPECT_FALSE(ColourDepthName(bits)) << bits << " keeps the old text";
}

TEST(DisplayFacts, RefreshRateZeroAndOneMeanSixty) {
  const std::pair<int, int> cases[] = {{0, 60}, {1, 60}, {2, 2}, {59, 59}, {75, 75}, {144, 144}};
  for (const auto& [hz, shown] : cases) EXPECT_EQ(RefreshRateShown(hz), shown) << hz;
}

TEST(DisplayFacts, AdapterRamIsSignedAndCutTowardsZero) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"-1", L"0 MB"},                // 4 GB reported as 0xFFFFFFFF
      {L"-2147483648", L"-2048 MB"},   // 2 GB
      {L"-1048577", L"-1 MB"},         // towards zero, not down
      {L"268435456", L"256 MB"},
      {L"1048575", L"0 MB"},
      {L"2147483647", L"2047 MB"},
      {L"0", L"0 MB"},
  };
  for (const auto& [ram, text] : cases) EXPECT_EQ(AdapterRamText(ram), text) << Narrow(ram);
  for (const wchar_t* bad : {L"", L"4294967295", L"abc", L"12 MB"}) {
    try {
      AdapterRamText(bad);
      ADD_FAILURE() << Narrow(bad) << " must not convert";
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.text(), L"'" + std::wstring(bad) + L"' ist kein gültiger ganzzahliger Wert");
    }
  }
}

TEST(DisplayFacts, PnpPrefixIsThreeCharacters) {
  EXPECT_EQ(PnpPrefix(L"PCI\\VEN_10DE&DEV_1234"), L"PCI");
  EXPECT_EQ(PnpPrefix(L"PC"), L"PC");
  EXPECT_EQ(PnpPrefix(L""), L"");
}

TEST(DisplayFacts, DefaultIconLosesPlaceholderAndIndex) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"%SystemRoot%\\System32\\shell32.dll,-152", L"%SystemRoot%\\System32\\shell32.dll"},
      {L"C:\\Windows\\system32\\imageres.dll,2", L"C:\\Windows\\system32\\imageres.dll"},
      {L"%1", L""},
      {L"\"%1\"", L""},
      {L"\"C:\\Program Files\\App\\app.exe\",0", L"C:\\Program Files\\App\\app.exe"},
      {L"C:\\icons\\plain.ico", L"C:\\icons\\plain.ico"},
      {L"C:\\a,b\\file.ico", L"C:\\a,b\\file.ico"},  // a comma inside the path is no index
      {L"", L""},
  };
  for (const auto& [entry, file] : cases) EXPECT_EQ(IconFileOfDefaultIcon(entry), file) << Narrow(entry);
}

struct CheckCase {
  const char* name;
  const wchar_t* width;
  const wchar_t* height;
  ScreenSize screen;
  std::deque<bool> answers;
  // Expected:
  std::vector<Msg> asked;
  std::optional<ScreenSize> setTo;
  const wchar_t* widthAfter;
  const wchar_t* heightAfter;
};

TEST(ResolutionCheck, QuestionsAndAnswers) {
  using enum Msg;
  const CheckCase cases[] = {
      {"changed, restore", L"1024", L"768", {800, 600}, {true}, {ResolutionChanged}, ScreenSize{1024, 768}, L"1024", L"768"},
      {"changed, keep the new one", L"1024", L"768", {800, 600}, {false, true}, {ResolutionChanged, KeepNewResolution},
       std::nullopt, L"800", L"600"},
      {"changed, neither", L"1024", L"768", {800, 600}, {false, false}, {ResolutionChanged, KeepNewResolution},
       std::nullopt, L"1024", L"768"},
      {"too small to restore", L"600", L"400", {1024, 768}, {true}, {ResolutionChanged}, std::nullopt, L"600", L"400"},
      {"height too small", L"800", L"479", {1024, 768}, {true}, {ResolutionChanged}, std::nullopt, L"800", L"479"},
      {"smallest restored", L"640", L"480", {1024, 768}, {true}, {ResolutionChanged}, ScreenSize{640, 480}, L"640", L"480"},
      // The empty width takes the screen's, yet counts as 0: Yes changes nothing.
      {"width empty", L"", L"768", {1280, 1024}, {true}, {ResolutionChanged}, std::nullopt, L"1280", L"768"},
      {"width empty, keep", L"", L"768", {1280, 1024}, {false, true}, {ResolutionChanged, KeepNewResolution},
       std::nullopt, L"1280", L"1024"},
      // After "Clear": the current size is adopted without a question.
      {"both empty", L"", L"", {1280, 1024}, {}, {}, std::nullopt, L"1280", L"1024"},
      {"blank edits", L"  ", L" ", {800, 600}, {}, {}, std::nullopt, L"800", L"600"},
      {"unchanged", L"1280", L"1024", {1280, 1024}, {}, {}, std::nullopt, L"1280", L"1024"},
      {"unchanged, blanks around", L" 1280 ", L"1024 ", {1280, 1024}, {}, {}, std::nullopt, L" 1280 ", L"1024 "},
      // One empty edit and the other matching: nothing has changed, nothing is asked.
      {"height empty, width matches", L"1280", L"", {1280, 1024}, {}, {}, std::nullopt, L"1280", L"1024"},
      {"only width differs", L"1024", L"1024", {1280, 1024}, {true}, {ResolutionChanged}, ScreenSize{1024, 1024},
       L"1024", L"1024"},
  };
  for (const CheckCase& c : cases) {
    std::deque<bool> answers = c.answers;
    std::vector<Msg> put;
    const ResolutionCheck r = CheckResolution(c.width, c.height, c.screen, [&](Msg m) {
      put.push_back(m);
      if (answers.empty()) {
        ADD_FAILURE() << c.name << ": one question too many";
        return false;
      }
      const bool yes = answers.front();
      answers.pop_front();
      return yes;
    });
    EXPECT_FALSE(r.failure) << c.name;
    EXPECT_EQ(put, c.asked) << c.name;
    EXPECT_EQ(r.asked, c.asked) << c.name;
    EXPECT_EQ(r.setTo, c.setTo) << c.name;
    EXPECT_EQ(r.editWidth, c.widthAfter) << c.name;
    EXPECT_EQ(r.editHeight, c.heightAfter) << c.name;
    EXPECT_TRUE(answers.empty()) << c.name << ": a question was not asked";
  }
}

TEST(ResolutionCheck, TextThatIsNoNumberEndsTheCheck) {
  struct Bad {
    const wchar_t* width;
    const wchar_t* height;
    const wchar_t* error;
    const wchar_t* widthAfter;
  };
  const Bad cases[] = {
      {L"1024x", L"768", L"'1024x' ist kein gültiger ganzzahliger Wert", L"1024x"},
      // The width edit was already given the screen's width when the height fails.
      {L"", L"high", L"'high' ist kein gültiger ganzzahliger Wert", L"1280"},
  };
  for (const Bad& c : cases) {
    int questions = 0;
    const ResolutionCheck r = CheckResolution(c.width, c.height, {1280, 1024}, [&](Msg) { return ++questions, true; });
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(*r.failure, c.error);
    EXPECT_EQ(questions, 0);
    EXPECT_FALSE(r.setTo);
    EXPECT_EQ(r.editWidth, c.widthAfter);
  }
}

}  // namespace
}  // namespace corvel
