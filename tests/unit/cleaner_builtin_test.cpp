#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "base/text.h"
#include "cleaner/builtin_rules.h"
#include "cleaner/rule.h"

namespace corvel {
namespace {

using Lines = std::vector<std::wstring>;

class FakeEnvironment : public BuiltInEnvironment {
 public:
  bool FolderExists(const std::wstring& p) override { return folders.count(p) != 0; }
  bool FileExists(const std::wstring& p) override { return files.count(p) != 0; }
  Lines Subfolders(const std::wstring& f) override { return subfolders.count(f) ? subfolders[f] : Lines{}; }
  std::wstring SecondFixedDrive() override { return secondDrive; }
  void ScheduleDeleteOnReboot(const std::wstring& p) override { scheduled.push_back(p); }
  std::wstring LongPath(const std::wstring& p) override { return longNames.count(p) ? longNames[p] : p; }
  std::set<std::wstring> folders, files;
  std::map<std::wstring, std::wstring> longNames;
  std::map<std::wstring, Lines> subfolders;
  std::wstring secondDrive;
  Lines scheduled;
};

const std::wstring kAnn = L"C:\\Users\\ann";
const std::wstring kLocal = kAnn + L"\\AppData\\Local";
const std::wstring kRoam = kAnn + L"\\AppData\\Roaming";

BuiltInBases Windows10() {
  return {.windows = L"C:\\Windows",
          .system = L"C:\\Windows\\system32\\",
          .temp = kLocal + L"\\Temp",
          .appData = kRoam,
          .profile = kAnn,
          .inetCache = kLocal + L"\\Microsoft\\Windows\\INetCache",
          .cookies = kLocal + L"\\Microsoft\\Windows\\INetCookies",
          .history = kLocal + L"\\Microsoft\\Windows\\History",
          .commonData = L"C:\\ProgramData",
          .commonFiles = L"C:\\Program Files\\Common Files",
          .programFiles = {L"C:\\Program Files", L"C:\\Program Files (x86)"}};
}

FakeEnvironment Windows10Env() {
  FakeEnvironment env;
  const std::wstring ffA = kRoam + L"\\Mozilla\\Firefox\\Profiles", ffB = kLocal + L"\\Mozilla\\Firefox\\Profiles";
  env.folders = {L"C:\\Windows", L"C:\\Windows\\Temp", L"C:\\Windows\\Logs", L"C:\\Windows\\Logs\\CBS",
                 L"C:\\Windows\\Prefetch", L"C:\\Windows\\SoftwareDistribution\\Download", kLocal + L"\\Temp", kRoam,
                 kLocal + L"\\Microsoft\\Windows\\INetCache", kLocal + L"\\Microsoft\\Windows\\INetCookies",
                 L"C:\\Windows\\system32\\LogFiles\\Scm", kLocal + L"\\Packages", ffA,
                 ffA + L"\\abc.default-release", ffA + L"\\abc.default-release\\Cache", ffB, ffB + L"\\p2\\Cache",
                 kLocal + L"\\Google\\Chrome\\User Data\\default"};
  env.subfolders[ffA] = {L"abc.default-release", L"xyz.default"};
  env.subfolders[ffB] = {L"p1", L"p2"};
  env.secondDrive = L"D:";
  env.files = {kLocal + L"\\Microsoft\\Windows\\INetCookies\\index.dat"};
  return env;
}

TEST(BuiltInRules, Windows10Profile) {
  FakeEnvironment env = Windows10Env();
  const std::wstring ffA = kRoam + L"\\Mozilla\\Firefox\\Profiles\\abc.default-release";
  const std::wstring chrome = kLocal + L"\\Google\\Chrome\\User Data\\default\\";
  const Lines expected{
      L"C:\\Windows\\Temp\\*.* /u", kRoam + L"\\*.tmp", kLocal + L"\\Temp\\*.* /u",
      L"C:\\Windows\\system32\\LogFiles\\Scm\\*.", kLocal + L"\\Microsoft\\Windows\\INetCache\\*.* /u",
      kLocal + L"\\Microsoft\\Windows\\INetCookies\\*.* /u", kLocal + L"\\Temp\\*.* /u",
      kAnn + L"\\AppData\\Local\\Temp\\*.* /u",  // the local temporary folder again, on a second drive's system
      L"C:\\Windows\\*.log", L"C:\\Windows\\*.dmp", L"C:\\Windows\\minidump\\*.dmp", L"C:\\Windows\\Logs\\*.log /u",
      L"C:\\Windows\\Logs\\*.etl /u", L"C:\\Windows\\Logs\\CBS\\*.log", L"C:\\Windows\\Logs\\CBS\\*.cab",
      kLocal + L"\\Packages\\*.log /u", L"C:\\Windows\\*.dmp",
      // Rows whose own condition stands in for the folder test.
      kLocal + L"\\Apple Computer\\Safari\\History\\*.*", kLocal + L"\\Apple Computer\\Safari\\Webpage Previews\\*.*", ffA + L"\\downloads.sqlite", ffA + L"\\cookies.sqlite",
      ffA + L"\\history.dat", ffA + L"\\Cache\\*.* /u", kLocal + L"\\Mozilla\\Firefox\\Profiles\\p2\\Cache\\*.* /u",
      chrome + L"History", chrome + L"Visited Links", chrome + L"Archived History", chrome + L"Cookies"};
  EXPECT_EQ(BuildBuiltInRules(Windows10(), env, false, false), expected);
  EXPECT_EQ(env.scheduled, (Lines{kLocal + L"\\Microsoft\\Windows\\INetCookies\\index.dat"}));

  // The switches add row 23 after the local temporary folder and row 98 at the end.
  Lines switched = expected;
  switched.insert(switched.begin() + 7, L"C:\\Windows\\SoftwareDistribution\\Download\\*.* /u");
  switched.push_back(L"C:\\Windows\\Prefetch\\*.*");
  EXPECT_EQ(BuildBuiltInRules(Windows10(), env, true, true), switched);

  // The local temporary folder on the second fixed drive: that row goes.
  env.secondDrive = L"C:";
  Lines sameDrive = expected;
  sameDrive.erase(sameDrive.begin() + 7);
  EXPECT_EQ(BuildBuiltInRules(Windows10(), env, false, false), sameDrive);
}

TEST(BuiltInRules, GermanXpProfile) {
  const std::wstring p = L"C:\\Dokumente und Einstellungen\\ann", app = p + L"\\Anwendungsdaten";
  const std::wstring lok = p + L"\\Lokale Einstellungen";
  const BuiltInBases xp{.windows = L"C:\\WINDOWS",
                        .system = L"C:\\WINDOWS\\system32\\",
                        .temp = L"C:\\DOKUME~1\\ann\\LOKALE~1\\Temp",
                        .appData = app,
                        .profile = p,
                        .inetCache = lok + L"\\Temporary Internet Files",
                        .cookies = p + L"\\Cookies",
                        .history = lok + L"\\Verlauf",
                        .commonData = L"C:\\Dokumente und Einstellungen\\All Users\\Anwendungsdaten",
                        .commonFiles = L"C:\\Programme\\Gemeinsame Dateien",
                        .programFiles = {L"C:\\Programme"}};
  const std::wstring ff = app + L"\\Mozilla\\Firefox\\Profiles", safari = app + L"\\Apple Computer\\Safari";
  const std::wstring chrome = lok + L"\\Anwendungsdaten\\Google\\Chrome\\User Data";
  FakeEnvironment env;
  env.folders = {L"C:\\WINDOWS", L"C:\\WINDOWS\\Temp", xp.temp, app, xp.inetCache, xp.cookies,
                 lok + L"\\Temporary Internet Files\\Content.IE5", safari, ff, chrome, chrome + L"\\Default",
                 chrome + L"\\Default\\Cache"};
  env.files = {lok + L"\\Temporary Internet Files\\Content.IE5\\index.dat"};
  const Lines expected{
      L"C:\\WINDOWS\\Temp\\*.* /u", app + L"\\*.tmp", L"C:\\DOKUME~1\\ann\\LOKALE~1\\Temp\\*.* /u",
      xp.inetCache + L"\\*.* /u", xp.cookies + L"\\*.* /u", lok + L"\\Temporary Internet Files\\Content.IE5\\*.* /u",
      L"C:\\WINDOWS\\*.log", L"C:\\WINDOWS\\*.dmp", L"C:\\WINDOWS\\minidump\\*.dmp", L"C:\\WINDOWS\\*.dmp",
      // AppData is Profile + "\Anwendungsdaten" here: both Safari rows name the same folder.
      safari + L"\\History.plist", safari + L"\\LastSession.plist", safari + L"\\Downloads.plist",
      safari + L"\\History.plist", safari + L"\\LastSession.plist", safari + L"\\Downloads.plist",
      safari + L"\\Cache.db",
      // No profile subfolder: the Profiles folder itself; profiles A and C are the same folder.
      ff + L"\\downloads.sqlite", ff + L"\\cookies.sqlite", ff + L"\\history.dat", ff + L"\\downloads.sqlite",
      ff + L"\\cookies.sqlite", chrome + L"\\Default\\Cache\\*.*", chrome + L"\\Default\\History",
      chrome + L"\\Default\\Last Session", chrome + L"\\Default\\Visited Links", chrome + L"\\Default\\Archived History",
      chrome + L"\\Default\\Cookies", chrome + L"\\*.tmp"};
  EXPECT_EQ(BuildBuiltInRules(xp, env, false, false), expected);
  // The Temporary Internet Files of the German profile are InetCache as well: asked twice.
  const std::wstring index = lok + L"\\Temporary Internet Files\\Content.IE5\\index.dat";
  EXPECT_EQ(env.scheduled, (Lines{index, index}));
}

// The Temp row (6) is there only for the user's real temporary folder: the
// value of TEMP, absolute, existing, written with backslashes, and no folder
// that holds what the system or the user keep. Otherwise it is left out;
// nothing takes its place (never the folder the program was started from).
TEST(BuiltInRules, TempBaseIsOnlyARealTemporaryFolder) {
  struct Case { std::wstring temp; const wchar_t* row; const char* what; };
  const Case cases[] = {
      {kLocal + L"\\Temp", L"C:\\Users\\ann\\AppData\\Local\\Temp\\*.* /u", "the usual folder (TMP plays no part)"},
      {kLocal + L"\\Temp\\", L"C:\\Users\\ann\\AppData\\Local\\Temp\\*.* /u", "with a trailing backslash"},
      {L"D:/dev/tmp", L"D:\\dev\\tmp\\*.* /u", "forward slashes, written with backslashes"},
      {L"", nullptr, "TEMP unset"},
      {L"C:\\", nullptr, "a drive root"},
      {L"C:/", nullptr, "a drive root with a slash"},
      {L"C:", nullptr, "a drive, relative"},
      {L"\\\\srv\\share", nullptr, "a share's root"},
      {kAnn, nullptr, "the profile"},
      {L"c:\\users\\ANN\\", nullptr, "the profile in other case"},
      {L"C:\\Users\\ann.", nullptr, "the profile with a dot Windows drops"},
      {L"C:\\Users\\ANN~1", nullptr, "the profile by its short name"},
      {L"C:\\Users", nullptr, "the profiles folder"},
      {L"C:\\Users\\bob", nullptr, "another profile"},
      {L"C:\\Windows", nullptr, "the Windows folder"},
      {L"C:\\Windows\\System32", nullptr, "the system folder"},
      {L"C:\\Program Files (x86)", nullptr, "a Program Files folder"},
      {kAnn + L"\\AppData", nullptr, "a folder holding the application data"},
      {kLocal, nullptr, "the local application data"},
      {L"C:\\ProgramData", nullptr, "the common application data"},
      {kLocal + L"\\NoTemp", nullptr, "a folder that does not exist"},
      {L"Temp", nullptr, "a relative folder"},
      {L"\\Temp", nullptr, "a folder on the current drive"},
      {kLocal + L"\\Temp\\..\\..", nullptr, "dot-dot names"},
      {L"\\\\?\\C:\\Temp", nullptr, "the extended form"},
  };
  for (const auto& c : cases) {
    FakeEnvironment env = Windows10Env();
    env.folders.insert({L"D:\\dev\\tmp", L"C:\\", L"C:\\Users", L"C:\\Users\\bob", L"C:\\Users\\ANN~1", kAnn,
                        kAnn + L"\\AppData", kLocal, L"C:\\ProgramData", L"C:\\Program Files (x86)", L"Temp", L"\\Temp",
                        L"C:\\Windows\\System32", L"\\\\srv\\share", L"C:\\Users\\ann.", L"C:", L"c:\\users\\ANN"});
    env.longNames[L"C:\\Users\\ANN~1"] = kAnn;
    BuiltInBases bases = Windows10();
    bases.temp = c.temp;
    Lines expected = BuildBuiltInRules(Windows10(), env, false, false);
    ASSERT_EQ(expected[2], kLocal + L"\\Temp\\*.* /u");
    expected.erase(expected.begin() + 2);
    if (c.row) expected.insert(expected.begin() + 2, c.row);
    EXPECT_EQ(BuildBuiltInRules(bases, env, false, false), expected) << c.what;
  }
}

TEST(BuiltInRules, ProtectedFolders) {
  const BuiltInBases b = Windows10();
  struct Case { const wchar_t* folder; bool guarded; };
  const Case cases[] = {
      {L"C:\\", true}, {L"D:", true}, {L"\\", true}, {L"", true}, {L"\\\\srv\\share\\", true},
      {L"C:\\Windows", true}, {L"c:/windows/", true}, {L"C:\\Windows.", true}, {L"C:\\Windows\\system32", true},
      {L"C:\\Program Files", true}, {L"C:\\Program Files (x86)\\", true}, {L"C:\\Users", true},
      {L"C:\\Users\\ann", true}, {L"C:\\Users\\Public", true}, {L"C:\\USERS\\ANN ", true},
      {L"C:\\Windows\\Temp", false}, {L"C:\\Users\\ann\\AppData\\Local\\Temp", false},
      {L"\\\\srv\\share\\x", false}, {L"C:\\Temp", false}, {L"C:\\Program Files\\x", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsProtectedFolder(c.folder, b), c.guarded) << Narrow(c.folder);
}

// Bases that resolve to a protected folder (a broken profile, redirected
// folders) give no rows on it; the Windows folder keeps its own log and dump
// rows, which never take subfolders.
TEST(BuiltInRules, NoRowRunsOnAProtectedFolder) {
  BuiltInBases b = Windows10();
  b.appData = kAnn;             // row 5 would clean the profile's *.tmp
  b.inetCache = L"C:\\";        // row 11: the whole drive
  b.cookies = L"C:\\Windows";   // row 19: the Windows folder with its subfolders
  b.history = L"C:\\Program Files";
  FakeEnvironment env = Windows10Env();
  env.folders.insert({kAnn, L"C:\\", L"C:\\Program Files", L"C:\\Program Files\\History.IE5"});
  const Lines lines = BuildBuiltInRules(b, env, false, false);
  for (const auto& line : lines) {
    const CleanRule rule = ReadCleanRule(line, 46000.5);
    const std::wstring folder = rule.isMask ? rule.folder : rule.file.substr(0, rule.file.rfind(L'\\'));
    if (folder == L"C:\\Windows") {
      EXPECT_FALSE(rule.subfolders) << Narrow(line);
      EXPECT_TRUE(rule.mask == L"*.log" || rule.mask == L"*.dmp") << Narrow(line);
    } else {
      EXPECT_FALSE(IsProtectedFolder(folder, b)) << Narrow(line);
    }
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L"C:\\Windows\\*.dmp"), 2);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L"C:\\Windows\\*.log"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L"C:\\Program Files\\History.IE5\\*.* /u"), 1);

  // A Windows folder that is a drive root gets no rows either.
  b = Windows10();
  b.windows = L"C:\\";
  env.folders.insert(L"C:\\Temp");
  for (const auto& line : BuildBuiltInRules(b, env, true, true)) {
    const CleanRule rule = ReadCleanRule(line, 46000.5);
    std::wstring folder = rule.isMask ? rule.folder : rule.file.substr(0, rule.file.rfind(L'\\'));
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    EXPECT_NE(folder, L"C:") << Narrow(line);
  }
}

// Row 9 names a folder of the system folder, whatever folder the program
// runs in.
TEST(BuiltInRules, ScmLogsAreTheSystemFolders) {
  FakeEnvironment env;
  env.folders = {L"C:\\Launch\\LogFiles\\Scm", L"D:\\Sys\\LogFiles\\Scm"};
  BuiltInBases b;
  b.system = L"D:\\Sys\\";
  EXPECT_EQ(BuildBuiltInRules(b, env, false, false), (Lines{L"D:\\Sys\\LogFiles\\Scm\\*."}));
  b.system = L"\\";  // not resolved: no row on the current drive
  EXPECT_EQ(BuildBuiltInRules(b, env, false, false), Lines{});
}

TEST(BuiltInRules, FirefoxProfileSelection) {
  FakeEnvironment env;
  const std::wstring f = L"C:\\P";
  EXPECT_EQ(FindFirefoxProfile(env, f), L"");
  env.folders = {f};
  EXPECT_EQ(FindFirefoxProfile(env, f), f);
  env.subfolders[f] = {L"a", L"b.Default", L"c"};  // exact case only
  EXPECT_EQ(FindFirefoxProfile(env, f), L"C:\\P\\c");
  env.subfolders[f] = {L"a", L"b.default", L"c.default"};
  EXPECT_EQ(FindFirefoxProfile(env, f), L"C:\\P\\b.default");
}

TEST(BuiltInRules, NothingResolvedGivesOnlyTheFixedFolders) {
  FakeEnvironment env;
  env.folders = {L"C:\\Temp"};
  EXPECT_EQ(BuildBuiltInRules(BuiltInBases{}, env, true, true), (Lines{L"C:\\Temp\\*.* /u"}));
}

}  // namespace
}  // namespace corvel
