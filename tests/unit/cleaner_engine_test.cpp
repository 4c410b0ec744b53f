#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "base/errors.h"
#include "base/text.h"
#include "cleaner/engine.h"
#include "unit/cleaner_fake_fs.h"
#include "unit/cleaner_table_reference.h"

namespace corvel {
namespace {

using fake::FakeFileSystem;
using fake::TableReference;
using Lines = std::vector<std::wstring>;

constexpr double kNow = 46000.5;  // noon

Lines RunRules(FakeFileSystem& fs, const Lines& rules, CleanerEngine* engine = nullptr) {
  CleanerEngine local(fs);
  CleanerEngine& e = engine ? *engine : local;
  e.StartRun();
  e.RunRuleList(rules, kNow);
  EXPECT_TRUE(fs.violations.empty()) << Narrow(fs.violations.front());
  return e.log();
}

TEST(CleanerEngine, AgeTestKeepsFilesWrittenAfterTheCutOff) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\old.tmp", 1, kNow - 8);
  fs.AddFile(L"C:\\T\\today.tmp", 1, 46000.1);
  fs.AddFile(L"C:\\T\\cutoff.tmp", 1, 45993.0);         // midnight, 7 days back
  fs.AddFile(L"C:\\T\\after.tmp", 1, 45993.0 + 1e-6);  // just after it
  const Lines log = RunRules(fs, {L"C:\\T\\*.tmp /d7"});
  EXPECT_EQ(log, (Lines{L"Deleted: C:\\T\\cutoff.tmp", L"Deleted: C:\\T\\old.tmp"}));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\today.tmp"));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\after.tmp"));
}

TEST(CleanerEngine, ZeroDaysMeansBeforeTodaysMidnightAndHugeCountsKeepEverything) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\yesterday.tmp", 1, 45999.9);
  fs.AddFile(L"C:\\T\\today.tmp", 1, 46000.0 + 1e-6);
  fs.AddFile(L"C:\\U\\ancient.tmp", 1, 2.0);
  EXPECT_EQ(RunRules(fs, {L"C:\\T\\*.tmp /d00", L"C:\\U\\*.tmp /d65535"}), (Lines{L"Deleted: C:\\T\\yesterday.tmp"}));
  // 65535 days reach back before 1899: the cut-off is negative, the test stays.
  EXPECT_TRUE(fs.Exists(L"C:\\U\\ancient.tmp"));
}

TEST(CleanerEngine, ReadOnlyFileGoesByTheShellAndCountsOnce) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\ro.tmp", 300).readOnly = true;
  CleanerEngine e(fs);
  RunRules(fs, {L"C:\\T\\*.tmp"}, &e);
  EXPECT_FALSE(fs.Exists(L"C:\\T\\ro.tmp"));
  EXPECT_EQ(e.counters().files, 1);
  EXPECT_EQ(e.counters().bytes, 300u);
  EXPECT_EQ(e.log(), (Lines{L"Deleted: C:\\T\\ro.tmp"}));
  EXPECT_EQ(fs.shellCalls, 1);
}

TEST(CleanerEngine, LockedFileIsLoggedAndTheRunGoesOn) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\a.tmp").locked = true;
  fs.AddFile(L"C:\\T\\b.tmp");
  fs.AddFile(L"C:\\V\\c.log");
  CleanerEngine e(fs);
  EXPECT_EQ(RunRules(fs, {L"C:\\T\\*.tmp", L"C:\\V\\c.log"}, &e),
            (Lines{L"Access denied: C:\\T\\a.tmp", L"Deleted: C:\\T\\b.tmp", L"Deleted: C:\\V\\c.log"}));
  EXPECT_EQ(e.counters().files, 2);
}

TEST(CleanerEngine, EmptySubfoldersGoButTheRulesOwnFolderStays) {
  FakeFileSystem fs;
  fs.AddFolder(L"C:\\T\\a");
  fs.AddFolder(L"C:\\T\\b\\c\\d");
  fs.AddFile(L"C:\\T\\e\\keep.txt");
  fs.AddFile(L"C:\\T\\f\\x.tmp");
  fs.AddFolder(L"C:\\Empty\\sub");
  RunRules(fs, {L"C:\\T\\*.tmp /u", L"C:\\Empty\\*.* /u"});
  EXPECT_EQ(fs.Paths(), (Lines{L"C:\\", L"C:\\Empty", L"C:\\T", L"C:\\T\\e", L"C:\\T\\e\\keep.txt"}));
}

TEST(CleanerEngine, FolderRecordedByAnEarlierWalkIsRemovedOnceEmpty) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\x\\keep.dat");
  fs.AddFolder(L"C:\\Other");
  CleanerEngine e(fs);
  RunRules(fs, {L"C:\\T\\*.tmp /u"}, &e);
  EXPECT_TRUE(fs.Exists(L"C:\\T\\x"));
  EXPECT_EQ(e.recordedFolders(), 1u);
  // Without "/u" nothing is removed; the next walk, anywhere, removes it.
  RunRules(fs, {L"C:\\T\\x\\*.dat"}, &e);
  EXPECT_TRUE(fs.Exists(L"C:\\T\\x"));
  RunRules(fs, {L"C:\\Other\\*.zzz /u"}, &e);
  EXPECT_FALSE(fs.Exists(L"C:\\T\\x"));
  EXPECT_TRUE(fs.Exists(L"C:\\T"));
  EXPECT_EQ(e.recordedFolders(), 0u);
}

TEST(CleanerEngine, FolderThatCannotBeEnteredEndsTheRuleWithOneLine) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\a\\f.tmp");
  fs.AddFolder(L"C:\\T\\b").unlisted = true;
  fs.AddFile(L"C:\\T\\c\\g.tmp");
  fs.AddFile(L"C:\\N\\n.tmp");
  fs.AddFolder(L"C:\\D").unlisted = true;
  EXPECT_EQ(RunRules(fs, {L"C:\\T\\*.tmp /u", L"C:\\D\\*.tmp", L"C:\\N\\*.tmp"}),
            (Lines{L"Deleted: C:\\T\\a\\f.tmp",
                   L"Access denied! Run Scourix as admin to get access to folder: C:\\T",
                   L"Access denied! Run Scourix as admin to get access to folder: C:\\D",
                   L"Deleted: C:\\N\\n.tmp"}));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\c\\g.tmp"));
}

TEST(CleanerEngine, DirectSubfoldersAreCleanedBeforeAnyIsEntered) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\a\\x.tmp");
  fs.AddFile(L"C:\\T\\a\\sub\\y.tmp");
  fs.AddFile(L"C:\\T\\B\\z.tmp");
  fs.AddFile(L"C:\\T\\top.tmp");
  EXPECT_EQ(RunRules(fs, {L"C:\\T\\*.tmp /u"}),
            (Lines{L"Deleted: C:\\T\\top.tmp", L"Deleted: C:\\T\\a\\x.tmp", L"Deleted: C:\\T\\B\\z.tmp",
                   L"Deleted: C:\\T\\a\\sub\\y.tmp"}));
}

TEST(CleanerEngine, LinksAreNeitherFollowedNorDeletedNorRemoved) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\Users\\me\\Documents\\letter.tmp");
  fs.AddLink(L"C:\\T\\docs", true);       // junction to the documents
  fs.AddLink(L"C:\\T\\link.tmp", false);  // symbolic link to a file
  fs.AddFile(L"C:\\T\\real.tmp");
  EXPECT_EQ(RunRules(fs, {L"C:\\T\\*.* /u", L"C:\\T\\docs\\*.tmp /u", L"C:\\T\\link.tmp"}),
            (Lines{L"Deleted: C:\\T\\real.tmp"}));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\docs"));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\link.tmp"));
  EXPECT_TRUE(fs.Exists(L"C:\\Users\\me\\Documents\\letter.tmp"));
}

TEST(CleanerEngine, SingleFileRulesAndDriveRoots) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\a.tmp");
  fs.AddFile(L"C:\\T\\one.txt");
  fs.AddFolder(L"C:\\T\\folder.txt");
  EXPECT_EQ(RunRules(fs, {L"C:\\*.tmp", L"C:\\T\\one.txt", L"C:\\T\\missing.txt", L"C:\\T\\folder.txt", L""}),
            (Lines{L"Deleted: C:\\a.tmp", L"Deleted: C:\\T\\one.txt"}));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\folder.txt"));
}

TEST(CleanerEngine, FilesOver4GiBCountInFull) {
  FakeFileSystem fs;
  const std::uint64_t big = (5ull << 32) + 7;
  fs.AddFile(L"C:\\T\\a.iso", big);
  fs.AddFile(L"C:\\T\\b.iso", 3);
  CleanerEngine e(fs);
  RunRules(fs, {L"C:\\T\\*.iso"}, &e);
  EXPECT_EQ(e.counters().bytes, big + 3);
}

TEST(CleanerEngine, ByteTotalDoesNotDriftLikeAFloat) {
  FakeFileSystem fs;
  // 2^24 + 1 bytes: a single-precision sum would lose the last byte.
  for (int i = 0; i < 3; ++i) fs.AddFile(L"C:\\T\\f" + IntToStr(i) + L".x", i == 0 ? (1u << 24) : 1);
  CleanerEngine e(fs);
  RunRules(fs, {L"C:\\T\\*.x"}, &e);
  EXPECT_EQ(e.counters().bytes, (1u << 24) + 2);
}

TEST(CleanerEngine, BadDayCountEndsTheRunAtThatRule) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\a.tmp");
  fs.AddFile(L"C:\\U\\b.tmp");
  CleanerEngine e(fs);
  e.StartRun();
  EXPECT_THROW(e.RunRuleList({L"C:\\T\\*.tmp", L"C:\\X\\*.tmp /u /d", L"C:\\U\\*.tmp"}, kNow), ConvertError);
  EXPECT_EQ(e.log(), (Lines{L"Deleted: C:\\T\\a.tmp"}));
  EXPECT_TRUE(fs.Exists(L"C:\\U\\b.tmp"));
}

TEST(CleanerEngine, ProgressRunsOverTheLines) {
  FakeFileSystem fs;
  std::vector<std::pair<int, int>> seen;
  CleanerEngine e(fs, {[&](int p, int m) { seen.push_back({p, m}); }, {}});
  e.RunRuleList({L"C:\\a", L"C:\\b", L"C:\\c"}, kNow);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 3}}));
  seen.clear();
  e.RunRuleList({}, kNow);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}}));
}

TEST(CleanerEngine, NoCapOnSubfoldersAndRemovalGrowsWithRecordedFolders) {
  FakeFileSystem fs;
  for (int i = 0; i < 1500; ++i) fs.AddFile(L"C:\\T\\d" + IntToStr(i) + L"\\f.tmp");
  CleanerEngine e(fs);
  RunRules(fs, {L"C:\\T\\*.tmp /u"}, &e);
  EXPECT_EQ(e.counters().files, 1500);
  EXPECT_EQ(fs.Paths(), (Lines{L"C:\\", L"C:\\T"}));
  EXPECT_EQ(fs.removeAttempts, 1500);
}

TEST(CleanerTotals, Formatting) {
  struct Case { std::uint64_t bytes; const wchar_t *freed, *bin; };
  const Case cases[] = {
      {0, L"0,0 Kb", L"0 Kb"},
      {512, L"0,5 Kb", L"0 Kb"},             // half: away from zero / to even
      {1536, L"1,5 Kb", L"2 Kb"},
      {2560, L"2,5 Kb", L"2 Kb"},
      {1048576, L"1024,0 Kb", L"1024 Kb"},   // not greater than 1 MiB
      {1048577, L"1,0 MB", L"1 MB"},
      {3 * 1048576 + 524288, L"3,5 MB", L"4 MB"},
      {5ull << 40, L"5242880,0 MB", L"5242880 MB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFreedBytes(c.bytes, L','), c.freed) << c.bytes;
    EXPECT_EQ(FormatBinSize(c.bytes), c.bin) << c.bytes;
  }
  EXPECT_EQ(FormatFreedBytes(1024 * 1024 + 104858, L'.'), L"1.1 MB");
}

TEST(CleanerEngine, RandomTreesEndAsTheTableWalkLeavesThem) {
  const wchar_t* names[] = {L"a", L"B", L"c.tmp", L"D.TMP", L"e.log", L"f.txt", L"g", L"h.x"};
  const wchar_t* masks[] = {L"*.*", L"*.tmp", L"*.log;*.txt", L"*.", L"?.x", L"c*"};
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    FakeFileSystem fs;
    std::vector<std::wstring> folders{L"C:\\R"};
    fs.AddFolder(L"C:\\R");
    const int count = 5 + pick(40);
    for (int i = 0; i < count; ++i) {
      const std::wstring parent = folders[pick(static_cast<int>(folders.size()))];
      const std::wstring path = parent + L"\\" + names[pick(8)];
      if (fs.Exists(path) || std::count(path.begin(), path.end(), L'\\') > 6) continue;
      if (pick(3) == 0) {
        fs.AddFolder(path);
        folders.push_back(path);
      } else {
        auto& n = fs.AddFile(path, 1 + pick(100), kNow - pick(20));
        n.readOnly = pick(5) == 0;
        n.locked = pick(9) == 0;
      }
    }
    Lines rules;
    const int ruleCount = 1 + pick(4);
    for (int i = 0; i < ruleCount; ++i) {
      std::wstring line = folders[pick(static_cast<int>(folders.size()))] + L"\\" + masks[pick(6)];
      if (pick(3) != 0) line += L" /u";
      if (pick(4) == 0) line += L" /d" + IntToStr(pick(15));
      rules.push_back(line);
    }
    FakeFileSystem copy = fs;
    TableReference reference(copy, kNow);
    reference.Run(rules);
    CleanerEngine engine(fs);
    engine.RunRuleList(rules, kNow);
    SCOPED_TRACE("seed " + std::to_string(seed));
    EXPECT_EQ(fs.Paths(), copy.Paths());
    EXPECT_EQ(engine.log(), reference.log);
    EXPECT_LE(fs.removeAttempts, copy.removeAttempts);
  }
}

}  // namespace
}  // namespace corvel
