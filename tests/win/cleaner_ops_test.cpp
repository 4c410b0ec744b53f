// The cleaner's small system operations in the test prefix.
#include "cleaner/cleaner_ops_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "win/support/temp_folder.h"

namespace corvel {
namespace {

TEST(CleanerOps, IsProcessRunningKnowsThisProcessByItsFileName) {
  wchar_t self[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::wstring name = self;
  name = name.substr(name.find_last_of(L"\\/") + 1);
  EXPECT_TRUE(IsProcessRunning(name));
  for (auto& c : name) c = static_cast<wchar_t>(towupper(c));
  EXPECT_TRUE(IsProcessRunning(name));
  EXPECT_FALSE(IsProcessRunning(L"no-such-program-7c1f.exe"));
}

TEST(CleanerOps, FileVersionOfThisProgramAndOfAFileWithout) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(GetFileVersionMS(self), 0x00010000u);  // 1.0 from the program's version resource
  testing::TempFolder folder;
  testing::WriteBytes(folder / L"plain.txt", "no version");
  EXPECT_EQ(GetFileVersionMS(folder / L"plain.txt"), 0u);
  EXPECT_EQ(GetFileVersionMS(folder / L"missing.dll"), 0u);
}

TEST(CleanerOps, DeleteOnRebootIsRequestedForAnNtSystem) {
  testing::TempFolder folder;
  testing::WriteBytes(folder / L"later.dat", "x");
  EXPECT_TRUE(ScheduleDeleteOnReboot(folder / L"later.dat"));
  EXPECT_FALSE(ScheduleDeleteOnReboot(L""));
}

TEST(CleanerOps, RecycleBinQueryAnswersWithoutFailing) {
  CoInitialize(nullptr);
  {
    Win32CleanerPlatform platform;
    const RecycleBinInfo bin = platform.QueryRecycleBin();
    EXPECT_LT(bin.items, 1u << 30);
  }
  CoUninitialize();
}

}  // namespace
}  // namespace corvel

#include "cleaner/builtin_rules_win.h"

namespace corvel {
namespace {

// Only reads the system: the lines are built, nothing is run.
TEST(CleanerOps, BuiltInRulesResolveOnThisSystem) {
  CoInitialize(nullptr);
  const BuiltInBases b = ResolveBuiltInBases();
  EXPECT_FALSE(b.windows.empty());
  EXPECT_EQ(b.system.back(), L'\\');
  EXPECT_FALSE(b.appData.empty());
  Win32BuiltInEnvironment env;
  const auto lines = BuildBuiltInRules(b, env, false, false);
  EXPECT_LE(lines.size(), 98u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), b.windows + L"\\Temp\\*.* /u"), lines.end());
  CoUninitialize();
}

}  // namespace
}  // namespace corvel
