#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/text.h"
#include "cleaner/options_logic.h"
#include "cleaner/rule.h"

namespace corvel {
namespace {

TEST(RuleOptions, LinesFromTheInputs) {
  struct Case {
    RuleInputs in;
    RuleInputError error;
    const wchar_t* line;
  };
  const Case cases[] = {
      {{L"C:\\Temp", 1, L"*.tmp", false, L"10", false}, RuleInputError::None, L"C:\\Temp\\*.tmp"},
      {{L"  C:\\Temp\\ ", 1, L" *.tmp ", false, L"10", false}, RuleInputError::None, L"C:\\Temp\\*.tmp"},
      {{L"C:\\Temp", 0, L"*.tmp", true, L"7", true}, RuleInputError::None, L"C:\\Temp\\*.* /u /d7"},
      {{L"D:\\x", 1, L"*.log", true, L"30", false}, RuleInputError::None, L"D:\\x\\*.log /d30"},
      {{L"D:\\x", 1, L"*.log", true, L"00", false}, RuleInputError::None, L"D:\\x\\*.log /d00"},
      {{L"D:\\x", 1, L"old.txt", false, L"10", false}, RuleInputError::None, L"D:\\x\\old.txt"},
      // An age without a day count would stop every later run: refused like "0".
      {{L"D:\\x", 1, L"*.log", true, L"", false}, RuleInputError::BadDays, L""},
      {{L"D:\\x", 1, L"*.log", true, L" ", false}, RuleInputError::BadDays, L""},
      {{L"D:\\x", 1, L"*.log", true, L"1x", false}, RuleInputError::BadDays, L""},
      {{L"D:\\x", 1, L"  ", true, L"", false}, RuleInputError::BadDays, L""},  // days checked first
      {{L"D:\\x", 1, L"*.log", false, L"", false}, RuleInputError::None, L"D:\\x\\*.log"},
      // Folders typed with "/" are written with "\": "/u" and "/d" in a
      // folder would read as options.
      {{L"C:/users/me/temp", 1, L"*.tmp", false, L"10", false}, RuleInputError::None, L"C:\\users\\me\\temp\\*.tmp"},
      {{L"D:/data", 1, L"*.log", false, L"10", false}, RuleInputError::None, L"D:\\data\\*.log"},
      {{L"C:/", 1, L"*.tmp", false, L"10", true}, RuleInputError::None, L"C:\\*.tmp /u"},
      {{L"C:\\Temp\\\\", 1, L"*.tmp", false, L"10", false}, RuleInputError::None, L"C:\\Temp\\*.tmp"},
      // No file name holds "/": in the mask it would be an option.
      {{L"D:\\x", 1, L"*.x /u", false, L"10", false}, RuleInputError::InvalidMask, L""},
      {{L"D:\\x", 1, L"a/b", false, L"10", false}, RuleInputError::InvalidMask, L""},
      {{L"C:\\", 1, L"*.tmp", false, L"10", false}, RuleInputError::None, L"C:\\*.tmp"},
      {{L"   ", 1, L"*.tmp", false, L"10", false}, RuleInputError::NoPath, L""},
      {{L"D:\\x", 1, L"*.log", false, L"0", false}, RuleInputError::ZeroDays, L""},
      {{L"D:\\x", 1, L"  ", false, L"0", false}, RuleInputError::ZeroDays, L""},  // days checked first
      {{L"D:\\x", 1, L"  ", false, L"5", false}, RuleInputError::InvalidMask, L""},
  };
  for (const auto& c : cases) {
    std::wstring line;
    EXPECT_EQ(FormRuleLine(c.in, line), c.error) << Narrow(c.in.folder);
    EXPECT_EQ(line, c.line) << Narrow(c.in.folder);
  }
}

// Whatever the user types, a line the window writes reads back as the rule
// the inputs meant: the same folder (with backslashes), mask, subfolder flag
// and day count. Folders are drawn from pieces with "/", "u" and "d" in them.
TEST(RuleOptions, WrittenLinesReadBackAsTheInputs) {
  const wchar_t* folderPieces[] = {L"C:", L"/", L"\\", L"users", L"u", L"d", L"data", L" ", L"me", L".", L"D:"};
  const wchar_t* maskPieces[] = {L"*", L"?", L".", L"a", L"u", L"d", L" ", L";", L"tmp", L"/"};
  const wchar_t* days[] = {L"", L"0", L"00", L"7", L"10", L" 5", L"x", L"99"};
  int accepted = 0;
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    RuleInputs in;
    in.folder.clear();
    for (int i = 1 + pick(6); i > 0; --i) in.folder += folderPieces[pick(11)];
    in.maskChoice = pick(3) == 0 ? 0 : 1;
    in.mask.clear();
    for (int i = 1 + pick(4); i > 0; --i) in.mask += maskPieces[pick(pick(4) == 0 ? 10 : 9)];
    in.ageOn = pick(2) == 0;
    in.days = days[pick(8)];
    in.subfolders = pick(2) == 0;
    std::wstring line;
    if (FormRuleLine(in, line) != RuleInputError::None) continue;
    ++accepted;
    SCOPED_TRACE(Narrow(L"[" + in.folder + L"] [" + in.mask + L"] -> " + line));
    std::wstring folder = ReplaceAll(Trim(in.folder), L"/", L"\\");
    while (folder.size() > 1 && folder.back() == L'\\' && folder[folder.size() - 2] == L'\\') folder.pop_back();
    if (folder.back() != L'\\') folder += L'\\';
    const std::wstring mask = in.maskChoice == 0 ? std::wstring(L"*.*") : Trim(in.mask);
    const CleanRule rule = ReadCleanRule(line, 46000.5);
    EXPECT_EQ(std::count(line.begin(), line.end(), L'/'), int{in.subfolders} + int{in.ageOn}) << "only options";
    EXPECT_EQ(rule.subfolders, in.subfolders);
    EXPECT_EQ(rule.hasAge, in.ageOn);
    if (in.ageOn) {
      EXPECT_EQ(rule.ageDays, StrToInt(in.days));
    }
    EXPECT_EQ(rule.isMask, mask.find(L'*') != std::wstring::npos);
    if (rule.isMask) {
      // The rule's folder is the text before the last backslash; a root keeps it.
      std::wstring expected = folder.substr(0, folder.size() - 1);
      if (expected.empty() || expected.back() == L':' || expected.back() == L'\\') expected = folder;
      EXPECT_EQ(rule.folder, expected);
      EXPECT_EQ(rule.mask, mask);
    } else {
      EXPECT_EQ(rule.file, folder + mask);
    }
  }
  EXPECT_GT(accepted, 500);
}

TEST(RuleOptions, EditTakesTheLineBackAndAddingGivesItAgain) {
  RuleInputs in;
  in.days = L"3";
  TakeRuleBack(L"C:\\Temp\\*.tmp /u /d10", in);
  EXPECT_EQ(in.folder, L"C:\\Temp\\");
  EXPECT_EQ(in.maskChoice, 1);
  EXPECT_EQ(in.mask, L"*.tmp");
  EXPECT_TRUE(in.subfolders);
  EXPECT_TRUE(in.ageOn);
  EXPECT_EQ(in.days, L"10");
  std::wstring line;
  ASSERT_EQ(FormRuleLine(in, line), RuleInputError::None);
  EXPECT_EQ(line, L"C:\\Temp\\*.tmp /u /d10");

  RuleInputs all;
  TakeRuleBack(L"D:\\a\\*.* /u", all);
  EXPECT_EQ(all.maskChoice, 0);
  EXPECT_TRUE(all.subfolders);
  EXPECT_FALSE(all.ageOn);
  EXPECT_EQ(all.mask, L"*.tmp");  // untouched

  // Boxes are never cleared by a line without options.
  RuleInputs ticked;
  ticked.subfolders = ticked.ageOn = true;
  TakeRuleBack(L"D:\\a\\old.txt", ticked);
  EXPECT_TRUE(ticked.subfolders && ticked.ageOn);
  EXPECT_EQ(ticked.mask, L"old.txt");

  // "/d" before "/u": the day text is the 4 characters at "/d".
  RuleInputs swapped;
  TakeRuleBack(L"D:\\a\\*.log /d7 /u", swapped);
  EXPECT_TRUE(swapped.subfolders);
  EXPECT_EQ(swapped.days, L"7");
  EXPECT_EQ(swapped.mask, L"*.log");
}

}  // namespace
}  // namespace corvel
