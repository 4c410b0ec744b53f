#include <gtest/gtest.h>

#include <pthread.h>

#include <algorithm>
#include <functional>
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

// Runs `work` on a thread of its own with a call stack of `bytes`.
void RunOnStack(std::size_t bytes, const std::function<void()>& work) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, bytes);
  pthread_t thread;
  auto run = [](void* w) -> void* {
    (*static_cast<const std::function<void()>*>(w))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&work)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

// A chain of levels "a" below `root`, the deepest last.
std::vector<std::wstring> Chain(const std::wstring& root, int levels) {
  std::vector<std::wstring> paths;
  std::wstring path = root;
  path.reserve(root.size() + 2 * levels);
  for (int i = 0; i < levels; ++i) paths.push_back(path += L"\\a");
  return paths;
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

TEST(CleanerEngine, ReadOnlyFileGoesByTheSecondWayAndCountsOnce) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\ro.tmp", 300).readOnly = true;
  CleanerEngine e(fs);
  RunRules(fs, {L"C:\\T\\*.tmp"}, &e);
  EXPECT_FALSE(fs.Exists(L"C:\\T\\ro.tmp"));
  EXPECT_EQ(e.counters().files, 1);
  EXPECT_EQ(e.counters().bytes, 300u);
  EXPECT_EQ(e.log(), (Lines{L"Deleted: C:\\T\\ro.tmp"}));
  EXPECT_EQ(fs.fallbacks, 1);
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

// A file whose last-write time cannot be read or converted is not known to
// be old: an age rule keeps it. Without an age it goes like any other.
TEST(CleanerEngine, UnknownTimesAreKept) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\unknown.tmp", 1, std::nullopt);
  fs.AddFile(L"C:\\T\\old.tmp", 1, kNow - 30);
  fs.AddFile(L"C:\\T\\sub\\unknown.tmp", 1, std::nullopt);
  fs.AddFile(L"C:\\U\\unknown.tmp", 1, std::nullopt);
  EXPECT_EQ(RunRules(fs, {L"C:\\T\\*.tmp /u /d7", L"C:\\T\\sub\\unknown.tmp /d0"}),
            (Lines{L"Deleted: C:\\T\\old.tmp"}));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\unknown.tmp"));
  EXPECT_TRUE(fs.Exists(L"C:\\T\\sub\\unknown.tmp"));
  EXPECT_EQ(RunRules(fs, {L"C:\\U\\*.tmp"}), (Lines{L"Deleted: C:\\U\\unknown.tmp"}));
}

// A locked file that the age test keeps is not reported: it was never to go.
TEST(CleanerEngine, LockedFileKeptByTheAgeTestIsNotReported) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\T\\new.tmp", 1, kNow).locked = true;
  fs.AddFile(L"C:\\T\\old.tmp", 1, kNow - 30).locked = true;
  EXPECT_EQ(RunRules(fs, {L"C:\\T\\*.tmp /d7"}), (Lines{L"Access denied: C:\\T\\old.tmp"}));
}

// Thousands of levels: walked with no call per level on the stack, in the
// designed order (shallower files first), the emptied levels removed and
// the levels above a kept file kept.
TEST(CleanerEngine, DeepChainIsWalkedToTheBottom) {
  constexpr int kLevels = 6500;
  FakeFileSystem fs;
  const std::vector<std::wstring> chain = Chain(L"C:\\R", kLevels);
  for (int level : {1, 1000, 4000, kLevels}) fs.AddFile(chain[level - 1] + L"\\f.tmp");
  fs.AddFile(chain[2999] + L"\\keep.txt");
  CleanerEngine e(fs);
  // On a call stack of 1 MiB, what a Windows program's main thread has: a
  // walk that took stack per level would end the program here.
  RunOnStack(1 << 20, [&] {
    e.StartRun();
    e.RunRuleList({L"C:\\R\\*.tmp /u"}, kNow);
  });
  EXPECT_TRUE(fs.violations.empty());
  EXPECT_EQ(e.log(), (Lines{L"Deleted: " + chain[0] + L"\\f.tmp", L"Deleted: " + chain[999] + L"\\f.tmp",
                            L"Deleted: " + chain[3999] + L"\\f.tmp", L"Deleted: " + chain[kLevels - 1] + L"\\f.tmp"}));
  EXPECT_TRUE(fs.Exists(chain[2999] + L"\\keep.txt"));
  EXPECT_FALSE(fs.Exists(chain[3000]));
  EXPECT_EQ(fs.removeAttempts, kLevels);
  EXPECT_EQ(e.recordedFolders(), 3000u);  // the levels that still hold the kept file
  EXPECT_GE(chain.back().size(), 13000u);
}

// Someone who may write in the cleaned folder swaps a folder (or a file) for
// a link to their own target at any moment: between the listing and the
// delete, between recording and descending, before the removal. Below the
// rule's folder no link is followed, so nothing outside it is touched.
TEST(CleanerEngine, LinkSwappedInBetweenLeadsNowhereOutsideTheTree) {
  using Op = FakeFileSystem::Op;
  // The swap comes right before the nth call of `op` on `at`.
  struct Case { Op op; const wchar_t* at; int nth; const wchar_t* swap; const char* what; };
  const Case cases[] = {
      {Op::List, L"C:\\T\\sub", 1, L"C:\\T\\sub", "before the subfolder's files are listed"},
      {Op::RemoveFile, L"C:\\T\\sub\\a.tmp", 1, L"C:\\T\\sub", "between the listing and the delete"},
      {Op::RemoveFile, L"C:\\T\\sub\\deep\\b.tmp", 1, L"C:\\T\\sub", "an upper folder, before a deeper delete"},
      {Op::List, L"C:\\T\\sub", 2, L"C:\\T\\sub", "after its files, before it is walked"},
      {Op::List, L"C:\\T\\sub\\deep", 2, L"C:\\T\\sub\\deep", "a deeper one, before it is walked"},
      {Op::RemoveFolder, L"C:\\T\\sub\\deep", 1, L"C:\\T\\sub\\deep", "before the removal"},
      {Op::RemoveFolder, L"C:\\T\\sub\\deep", 1, L"C:\\T\\sub", "its parent, before the removal"},
      {Op::RemoveFile, L"C:\\T\\x.tmp", 1, L"C:\\T\\x.tmp", "a file for a file link"},
  };
  for (const auto& c : cases) {
    FakeFileSystem fs;
    const Lines outside{L"C:\\Users\\me\\Documents\\a.tmp", L"C:\\Users\\me\\Documents\\deep\\b.tmp",
                        L"C:\\Users\\me\\Documents\\letter.tmp", L"C:\\Users\\me\\Documents\\x.tmp"};
    for (const auto& f : outside) fs.AddFile(f, 7, kNow - 30);
    fs.AddFolder(L"C:\\Users\\me\\Documents\\empty");
    for (const wchar_t* f : {L"C:\\T\\sub\\a.tmp", L"C:\\T\\sub\\deep\\b.tmp", L"C:\\T\\x.tmp", L"C:\\T\\z.tmp"})
      fs.AddFile(f, 1, kNow - 30);
    const std::wstring target = std::wstring(c.swap) == L"C:\\T\\x.tmp" ? outside[2] : L"C:\\Users\\me\\Documents";
    bool swapped = false;
    int seen = 0;
    fs.beforeCall = [&](FakeFileSystem& f, Op op, const std::wstring& path) {
      if (swapped || op != c.op || path != c.at || ++seen < c.nth) return;
      swapped = true;
      f.SwapForLink(c.swap, target, L"C:\\Attic\\moved");
    };
    const Lines before = fs.Paths();
    CleanerEngine e(fs);
    e.StartRun();
    e.RunRuleList({L"C:\\T\\*.tmp /u"}, kNow);
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(swapped);
    EXPECT_TRUE(fs.violations.empty()) << Narrow(fs.violations.front());
    for (const auto& f : outside) EXPECT_TRUE(fs.Exists(f)) << Narrow(f);
    EXPECT_TRUE(fs.Exists(L"C:\\Users\\me\\Documents\\empty"));
    for (const auto& p : fs.deleted) EXPECT_TRUE(std::find(before.begin(), before.end(), p) != before.end()) << Narrow(p);
    EXPECT_TRUE(fs.Exists(c.swap)) << "the link itself stays";
    for (const auto& line : e.log()) EXPECT_TRUE(line.starts_with(L"Deleted: C:\\T\\")) << Narrow(line);
  }
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

// The engine ends every tree as the table walk of the first design leaves
// it, with the same log. Seeds 1 to 150 are small trees; from 151 on, half
// of them hold a deep chain of folders (and files whose time cannot be read),
// the other half have a folder swapped for a link into a tree of canaries at
// a random moment of the run: then nothing of the canaries goes and the
// engine deletes nothing the table walk of the unchanged tree would not.
TEST(CleanerEngine, RandomTreesEndAsTheTableWalkLeavesThem) {
  const wchar_t* names[] = {L"a", L"B", L"c.tmp", L"D.TMP", L"e.log", L"f.txt", L"g", L"h.x"};
  const wchar_t* masks[] = {L"*.*", L"*.tmp", L"*.log;*.txt", L"*.", L"?.x", L"c*"};
  auto holds = [](const std::wstring& outer, const std::wstring& inner) {
    return inner == outer || inner.starts_with(outer + L"\\");
  };
  for (unsigned seed = 1; seed <= 350; ++seed) {
    const bool chain = seed > 150 && seed % 2 == 0, swap = seed > 150 && seed % 2 == 1;
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
        if (seed > 150 && pick(6) == 0) n.written.reset();
      }
    }
    if (chain) {
      std::wstring path = folders[pick(static_cast<int>(folders.size()))];
      for (int level = 10 + pick(40); level > 0; --level) {
        path += std::wstring(L"\\") + names[pick(2) * 6];  // "a" or "g"
        fs.AddFolder(path);
        if (pick(8) == 0) folders.push_back(path);
        if (pick(4) == 0) fs.AddFile(path + L"\\" + names[2 + pick(6)], 1 + pick(9), kNow - pick(20));
      }
    }
    Lines rules;
    const int ruleCount = 1 + pick(4);
    std::vector<std::wstring> ruleFolders;
    for (int i = 0; i < ruleCount; ++i) {
      ruleFolders.push_back(folders[pick(static_cast<int>(folders.size()))]);
      std::wstring line = ruleFolders.back() + L"\\" + masks[pick(6)];
      if (pick(3) != 0) line += L" /u";
      if (pick(4) == 0) line += L" /d" + IntToStr(pick(15));
      rules.push_back(line);
    }
    // The swap: a folder that is no rule's folder nor above one, at a
    // random call, for a link to canaries with the same names.
    std::wstring swapped;
    long long swapAt = 0, calls = 0;
    if (swap) {
      for (const wchar_t* n : names) fs.AddFile(std::wstring(L"C:\\O\\") + n, 5, kNow - 30);
      for (const wchar_t* n : names) fs.AddFile(std::wstring(L"C:\\O\\a\\") + n, 5, kNow - 30);
      std::vector<std::wstring> candidates;
      for (const auto& f : folders)
        if (f != L"C:\\R" && std::none_of(ruleFolders.begin(), ruleFolders.end(), [&](const std::wstring& r) { return holds(f, r); }))
          candidates.push_back(f);
      if (!candidates.empty()) {
        swapped = candidates[pick(static_cast<int>(candidates.size()))];
        swapAt = 1 + pick(60);
      }
      fs.beforeCall = [&](FakeFileSystem& f, FakeFileSystem::Op, const std::wstring&) {
        if (++calls == swapAt && !swapped.empty()) f.SwapForLink(swapped, L"C:\\O", L"C:\\Attic");
      };
    }
    const Lines canaries = swap ? fs.Paths() : Lines{};
    FakeFileSystem copy = fs;
    copy.beforeCall = nullptr;
    TableReference reference(copy, kNow);
    reference.Run(rules);
    CleanerEngine engine(fs);
    engine.RunRuleList(rules, kNow);
    SCOPED_TRACE("seed " + std::to_string(seed) + " swap " + Narrow(swapped) + " at call " + std::to_string(swapAt));
    EXPECT_TRUE(fs.violations.empty());
    if (!swap) {
      EXPECT_EQ(fs.Paths(), copy.Paths());
      EXPECT_EQ(engine.log(), reference.log);
      EXPECT_LE(fs.removeAttempts, copy.removeAttempts);
      continue;
    }
    const Lines after = fs.Paths();
    for (const auto& p : canaries) {
      if (!holds(L"C:\\O", p)) continue;
      EXPECT_TRUE(std::find(after.begin(), after.end(), p) != after.end()) << Narrow(p);
    }
    for (const auto& line : engine.log()) {
      if (!line.starts_with(L"Deleted: ")) continue;
      EXPECT_TRUE(std::find(reference.log.begin(), reference.log.end(), line) != reference.log.end()) << Narrow(line);
    }
  }
}

}  // namespace
}  // namespace corvel
