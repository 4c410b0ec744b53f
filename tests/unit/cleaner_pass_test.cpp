#include <gtest/gtest.h>

#include "base/errors.h"
#include "cleaner/engine.h"
#include "cleaner/rule_list.h"
#include "unit/cleaner_fake_fs.h"

namespace corvel {
namespace {

using Lines = std::vector<std::wstring>;

TEST(RuleListFile, PathAndLines) {
  EXPECT_EQ(RuleListPath(L"C:\\ProgramData"), L"C:\\ProgramData\\lgxdata\\cleaner.lst");
  EXPECT_EQ(RuleListPath(L"C:\\ProgramData\\"), L"C:\\ProgramData\\lgxdata\\cleaner.lst");
  const Latin1CodePage ansi;
  struct Case { std::string bytes; Lines lines; };
  const Case cases[] = {
      {"", {}},
      {"\r\n", {L""}},
      {"C:\\T\\*.tmp /u\r\nD:\\x.txt\r\n", {L"C:\\T\\*.tmp /u", L"D:\\x.txt"}},
      {"a\nb\rc", {L"a", L"b", L"c"}},
      {"a\r\n\r\nb", {L"a", L"", L"b"}},
      {"C:\\\xC4rger\\*.tmp", {L"C:\\\xC4rger\\*.tmp"}},
      {"\xEF\xBB\xBF" "C:\\\xC3\x84\\*.x\r\n", {L"C:\\\xC4\\*.x"}},
      {std::string("\xFF\xFE" "a\0\r\0\n\0b\0", 10), {L"a", L"b"}},
      {std::string("\xFE\xFF\0a", 4), {L"a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeRuleList(c.bytes, ansi), c.lines) << c.bytes;
}

TEST(RuleListFile, WrittenLinesReadBackTheSame) {
  const Latin1CodePage ansi;
  struct Case { Lines lines; std::string bytes; };
  const Case cases[] = {
      {{}, ""},
      {{L"C:\\T\\*.tmp /u /d10", L"D:\\x.txt"}, "C:\\T\\*.tmp /u /d10\r\nD:\\x.txt\r\n"},
      {{L"C:\\\xC4rger\\*.*"}, "C:\\\xC4rger\\*.*\r\n"},
      // A name the code page cannot hold: UTF-8, not question marks.
      {{L"a", L"C:\\\x65E5\\*.*"}, "\xEF\xBB\xBF" "a\r\nC:\\\xE6\x97\xA5\\*.*\r\n"},
      // A first line that begins like a byte-order mark in ANSI: UTF-8 with its mark.
      {{L"\xFF\xFE" L"x\\*.*"}, "\xEF\xBB\xBF" "\xC3\xBF\xC3\xBE" "x\\*.*\r\n"},
      {{L"\xFE\xFF" L"x"}, "\xEF\xBB\xBF" "\xC3\xBE\xC3\xBF" "x\r\n"},
      {{L"\xEF\xBB\xBF" L"C:\\*.tmp", L"b"}, "\xEF\xBB\xBF" "\xC3\xAF\xC2\xBB\xC2\xBF" "C:\\*.tmp\r\nb\r\n"},
      {{L"\xEF\xBB" L"x"}, "\xEF\xBB" "x\r\n"},  // no mark: two of its three bytes
      {{L"a", L"\xFF\xFE"}, "a\r\n\xFF\xFE\r\n"},  // only the file's start counts
      {{L"\xFF"}, "\xFF\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeRuleList(c.lines, ansi), c.bytes);
    EXPECT_EQ(DecodeRuleList(EncodeRuleList(c.lines, ansi), ansi), c.lines);
  }
}

class FakePlatform : public CleanerPlatform {
 public:
  RecycleBinInfo QueryRecycleBin() override { steps.push_back(L"query"); return bin; }
  void ClearInternetCache() override { steps.push_back(L"cache"); }
  void ClearUrlHistory() override { steps.push_back(L"history"); }
  void EmptyRecycleBin() override {
    steps.push_back(L"empty");
    if (missing) throw Error(L"missing");
  }
  RecycleBinInfo bin{2097152, 3};
  bool missing = false;
  Lines steps;
};

TEST(CleaningPass, StepsInOrderAndTheBinAddedToTheTotals) {
  fake::FakeFileSystem fs;
  fs.AddFile(L"C:\\B\\built.tmp", 100);
  fs.AddFile(L"C:\\U\\user.tmp", 20);
  FakePlatform platform;
  CleanerEngine engine(fs);
  auto build = [&] { platform.steps.push_back(L"build"); return Lines{L"C:\\B\\*.tmp"}; };
  const CleaningResult r = RunCleaningPass(engine, platform, build, {L"C:\\U\\user.tmp"}, 46000.5);
  EXPECT_EQ(platform.steps, (Lines{L"query", L"build", L"cache", L"history", L"empty"}));
  EXPECT_EQ(r.totals.files, 5);
  EXPECT_EQ(r.totals.bytes, 2097152u + 120u);
  EXPECT_EQ(FormatBinSize(r.bin.size), L"2 MB");
  EXPECT_EQ(engine.log(), (Lines{L"Deleted: C:\\B\\built.tmp", L"Deleted: C:\\U\\user.tmp"}));
  // A second pass starts from zero.
  const CleaningResult again = RunCleaningPass(engine, platform, build, {}, 46000.5);
  EXPECT_EQ(again.totals.files, 3);
  EXPECT_TRUE(engine.log().empty());
}

TEST(CleaningPass, BadRuleEndsThePassBeforeCacheHistoryAndBin) {
  fake::FakeFileSystem fs;
  FakePlatform platform;
  CleanerEngine engine(fs);
  EXPECT_THROW(RunCleaningPass(engine, platform, {}, {L"C:\\x\\*.tmp /d"}, 46000.5), ConvertError);
  EXPECT_EQ(platform.steps, (Lines{L"query"}));
  platform.steps.clear();
  platform.missing = true;
  EXPECT_THROW(RunCleaningPass(engine, platform, {}, {}, 46000.5), Error);
  EXPECT_EQ(platform.steps, (Lines{L"query", L"cache", L"history", L"empty"}));
}

}  // namespace
}  // namespace corvel

#include "cleaner/reboot_delete.h"

namespace corvel {
namespace {

TEST(WininitDeletion, NulLineAfterEveryRenameSection) {
  using L = std::vector<std::wstring>;
  EXPECT_EQ(AddWininitDeletion({}, L"C:\\TEMP\\A~1.DAT"), (L{L"[rename]", L"NUL=C:\\TEMP\\A~1.DAT"}));
  EXPECT_EQ(AddWininitDeletion({L"[Rename]", L"x=y", L"[RENAME]"}, L"F"),
            (L{L"[Rename]", L"NUL=F", L"x=y", L"[RENAME]", L"NUL=F"}));
  EXPECT_EQ(AddWininitDeletion({L"[other]", L" [rename]"}, L"F"), (L{L"[other]", L" [rename]"}));
}

}  // namespace
}  // namespace corvel
