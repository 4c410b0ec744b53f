#include <gtest/gtest.h>

#include "base/text.h"
#include "cleaner/options_logic.h"

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
      {{L"D:\\x", 1, L"*.log", true, L"", false}, RuleInputError::None, L"D:\\x\\*.log /d"},
      {{L"C:\\", 1, L"*.tmp", false, L"10", false}, RuleInputError::None, L"C:\\*.tmp"},
      {{L"   ", 1, L"*.tmp", false, L"10", false}, RuleInputError::NoPath, L""},
      {{L"D:\\x", 1, L"*.log", false, L"0", false}, RuleInputError::ZeroDays, L""},
      {{L"D:\\x", 1, L"  ", false, L"0", false}, RuleInputError::ZeroDays, L""},  // days checked first
      {{L"D:\\x", 1, L"  ", false, L"5", false}, RuleInputError::EmptyMask, L""},
  };
  for (const auto& c : cases) {
    std::wstring line;
    EXPECT_EQ(FormRuleLine(c.in, line), c.error) << Narrow(c.in.folder);
    EXPECT_EQ(line, c.line) << Narrow(c.in.folder);
  }
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
