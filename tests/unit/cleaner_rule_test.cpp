#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/text.h"
#include "cleaner/rule.h"

namespace corvel {
namespace {

constexpr double kNow = 46000.75;  // 18:00 on some day

TEST(CleanRuleRead, LinesGiveKindFolderMaskAndOptions) {
  struct Case {
    const wchar_t* line;
    bool isMask, sub, age;
    int days;
    const wchar_t *file, *folder, *mask;
  };
  const Case cases[] = {
      {L"C:\\Temp\\*.tmp /u /d10", true, true, true, 10, L"", L"C:\\Temp", L"*.tmp"},
      {L"C:\\Temp\\*.tmp /d10 /u", true, true, true, 10, L"", L"C:\\Temp", L"*.tmp"},
      {L"  C:\\Temp\\*.* /u  ", true, true, false, 0, L"", L"C:\\Temp", L"*.*"},
      {L"C:\\*.tmp", true, false, false, 0, L"", L"C:\\", L"*.tmp"},
      {L"C:*.tmp", true, false, false, 0, L"", L"C:", L"*.tmp"},
      {L"\\*.tmp", true, false, false, 0, L"", L"\\", L"*.tmp"},
      {L"D:\\a\\b\\*.log;*.bak;x?.txt", true, false, false, 0, L"", L"D:\\a\\b", L"*.log;*.bak;x?.txt"},
      // Upper case is no option: it stays in the mask or the file name.
      {L"C:\\Temp\\*.tmp /U", true, false, false, 0, L"", L"C:\\Temp", L"*.tmp /U"},
      {L"C:\\Temp\\*.tmp /D3", true, false, false, 0, L"", L"C:\\Temp", L"*.tmp /D3"},
      // Only the first "/u" goes.
      {L"C:\\T\\*.x /u /u", true, true, false, 0, L"", L"C:\\T", L"*.x  /u"},
      {L"C:\\Temp\\old.txt", false, false, false, 0, L"C:\\Temp\\old.txt", L"", L""},
      {L"C:\\Temp\\old.txt /d00", false, false, true, 0, L"C:\\Temp\\old.txt", L"", L""},
      {L"C:\\T\\*.tmp /d65536", true, false, true, 0, L"", L"C:\\T", L"*.tmp"},
      {L"C:\\T\\*.tmp /d65537", true, false, true, 1, L"", L"C:\\T", L"*.tmp"},
      {L"C:\\T\\*.tmp /d4294967297", true, false, true, 1, L"", L"C:\\T", L"*.tmp"},
      {L"C:\\T\\*.tmp /d 7", true, false, true, 7, L"", L"C:\\T", L"*.tmp"},
      {L"", false, false, false, 0, L"", L"", L""},
  };
  for (const auto& c : cases) {
    const CleanRule r = ReadCleanRule(c.line, kNow);
    SCOPED_TRACE(Narrow(c.line));
    EXPECT_EQ(r.isMask, c.isMask);
    EXPECT_EQ(r.subfolders, c.sub);
    EXPECT_EQ(r.hasAge, c.age);
    EXPECT_EQ(r.ageDays, c.days);
    EXPECT_EQ(r.file, c.file);
    EXPECT_EQ(r.folder, c.folder);
    EXPECT_EQ(r.mask, c.mask);
    if (c.age) EXPECT_EQ(r.cutoff, 46000.0 - c.days);
    else EXPECT_EQ(r.cutoff, 0);
  }
}

TEST(CleanRuleRead, DaysThatAreNoWholeNumberRaiseTheConversionError) {
  for (const wchar_t* line : {L"C:\\T\\*.tmp /d", L"C:\\T\\*.tmp /dx", L"C:\\T\\*.tmp /d7 x",
                              L"C:\\T\\a.txt /d1.5", L"C:\\T\\*.tmp /d12345678901", L"C:\\T\\*.tmp /d00000000001"}) {
    EXPECT_THROW(ReadCleanRule(line, kNow), ConvertError) << Narrow(line);
  }
}

TEST(Wildcards, PatternsMatchLikeTheWindowsSearchWithoutShortNames) {
  struct Case { const wchar_t *pattern, *name; bool match; };
  const Case cases[] = {
      {L"*.*", L"a.txt", true},       {L"*.*", L"noext", true},      {L"*.*", L".hidden", true},
      {L"*", L"x.y.z", true},         {L"*.", L"noext", true},       {L"*.", L"a.txt", false},
      {L"readme.", L"readme", true},  {L"*.tmp", L"A.TMP", true},    {L"*.TMP", L"a.tmp", true},
      {L"*.tmp", L"a.tmp.bak", false},{L"*.tmp", L"atmp", false},    {L"?.log", L"1.log", true},
      {L"?.log", L"12.log", false},   {L"?.log", L".log", false},    {L"a*b*c", L"aXbYc", true},
      {L"a*b*c", L"aXbYcd", false},   {L"~*", L"~WRL0001.tmp", true},{L"*.tmp", L"\xC4.TMP", true},
      {L"\xE4*", L"\xC4rger", true},  {L"a*.*", L"abc", true},       {L"*.txt", L"txt", false},
      {L"", L"a", false},             {L"old.txt", L"OLD.TXT", true},{L"old.txt", L"old.txt2", false},
      // Short aliases are not considered: "LONGFI~1.TXT" is not "longfilename.txt".
      {L"longfi~1.txt", L"longfilename.txt", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesPattern(c.pattern, c.name), c.match) << Narrow(c.pattern) << " / " << Narrow(c.name);
}

TEST(Wildcards, MasksJoinPatternsWithSemicolons) {
  EXPECT_TRUE(MatchesMask(L"*.log;*.bak", L"x.bak"));
  EXPECT_TRUE(MatchesMask(L"*.log;*.bak", L"x.LOG"));
  EXPECT_FALSE(MatchesMask(L"*.log;*.bak", L"x.tmp"));
  EXPECT_FALSE(MatchesMask(L";", L"x"));
  EXPECT_TRUE(MatchesMask(L";*.x;", L"a.x"));
}

TEST(Wildcards, JoinPathKeepsOneBackslash) {
  EXPECT_EQ(JoinPath(L"C:\\", L"a"), L"C:\\a");
  EXPECT_EQ(JoinPath(L"C:\\T", L"a"), L"C:\\T\\a");
  EXPECT_EQ(JoinPath(L"C:", L"a"), L"C:a");
}

}  // namespace
}  // namespace corvel
