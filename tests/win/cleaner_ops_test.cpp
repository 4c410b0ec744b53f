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

#include <algorithm>
#include <optional>

#include "base/text.h"

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

// The Temp base on this system, by the environment: never the folder the
// program was started from, never a drive root or the profile.
TEST(CleanerOps, TempRowFollowsTempOnly) {
  testing::TempFolder temp(L"corvel-temp-"), launch(L"corvel-launch-");
  // The process's environment and current folder, put back at the end.
  struct Restore {
    static std::optional<std::wstring> Get(const wchar_t* name) {
      std::wstring value(32768, L'\0');
      const DWORD n = GetEnvironmentVariableW(name, value.data(), 32768);
      return n ? std::optional<std::wstring>(value.c_str()) : std::nullopt;
    }
    std::optional<std::wstring> tmp = Get(L"TMP"), temp = Get(L"TEMP");
    wchar_t folder[MAX_PATH] = L"", temporary[MAX_PATH] = L"";
    Restore() {
      GetCurrentDirectoryW(MAX_PATH, folder);
      GetTempPathW(MAX_PATH, temporary);
      CoInitialize(nullptr);
    }
    ~Restore() {
      SetEnvironmentVariableW(L"TMP", tmp ? tmp->c_str() : nullptr);
      SetEnvironmentVariableW(L"TEMP", temp ? temp->c_str() : nullptr);
      // Started from a host folder no drive reaches, the old one cannot be
      // set again; anywhere but the launch folder will do.
      if (!SetCurrentDirectoryW(folder)) SetCurrentDirectoryW(temporary);
      CoUninitialize();
    }
  } restore;  // before the folders go: the launch folder is current until then
  ASSERT_TRUE(SetCurrentDirectoryW(launch.path().c_str()));
  Win32BuiltInEnvironment env;
  const BuiltInBases b = ResolveBuiltInBases();
  auto hasRowOn = [&](const std::wstring& folder) {
    const auto lines = BuildBuiltInRules(ResolveBuiltInBases(), env, false, false);
    return std::find(lines.begin(), lines.end(), folder + L"\\*.* /u") != lines.end();
  };
  auto anyRowUnder = [&](const std::wstring& folder) {
    for (const auto& line : BuildBuiltInRules(ResolveBuiltInBases(), env, false, false))
      if (line.starts_with(folder)) return true;
    return false;
  };
  struct Case { const wchar_t* tmp; std::wstring temp; bool row; const char* what; };
  const std::wstring slashed = ReplaceAll(temp.Folder(), L"\\", L"/");
  const Case cases[] = {
      {nullptr, temp.Folder(), true, "TMP unset, TEMP set"},
      {L"X:\\x", slashed, true, "TEMP with forward slashes"},
      {nullptr, L"", false, "both unset"},
      {temp.path().c_str(), L"", false, "TMP set, TEMP unset"},
      {nullptr, L"C:\\", false, "TEMP a drive root"},
      {nullptr, b.profile, false, "TEMP the profile"},
      {nullptr, temp.Folder() + L"\\missing", false, "TEMP not existing"},
  };
  for (const auto& c : cases) {
    SetEnvironmentVariableW(L"TMP", c.tmp);
    SetEnvironmentVariableW(L"TEMP", c.temp.empty() ? nullptr : c.temp.c_str());
    EXPECT_EQ(hasRowOn(temp.Folder()), c.row) << c.what;
    EXPECT_FALSE(anyRowUnder(launch.Folder())) << c.what << ": the launch folder is never cleaned";
    EXPECT_FALSE(hasRowOn(L"C:")) << c.what;
    if (!b.profile.empty()) EXPECT_FALSE(hasRowOn(b.profile)) << c.what;
  }
}

}  // namespace
}  // namespace corvel
