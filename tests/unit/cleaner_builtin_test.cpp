#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/text.h"
#include "cleaner/builtin_rules.h"

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
  std::set<std::wstring> folders, files;
  std::map<std::wstring, Lines> subfolders;
  std::wstring secondDrive;
  Lines scheduled;
};

const std::wstring kAnn = L"C:\\Users\\ann";
const std::wstring kLocal = kAnn + L"\\AppData\\Local";
const std::wstring kRoam = kAnn + L"\\AppData\\Roaming";

BuiltInBases Windows10() {
  return {L"C:\\Windows", L"C:\\Windows\\system32\\", kLocal + L"\\Temp", kRoam, kAnn,
          kLocal + L"\\Microsoft\\Windows\\INetCache", kLocal + L"\\Microsoft\\Windows\\INetCookies",
          kLocal + L"\\Microsoft\\Windows\\History", L"C:\\ProgramData", L"C:\\Program Files\\Common Files",
          L"C:\\Windows\\system32"};
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
  const BuiltInBases xp{L"C:\\WINDOWS", L"C:\\WINDOWS\\system32\\", L"C:\\DOKUME~1\\ann\\LOKALE~1\\Temp", app, p,
                        lok + L"\\Temporary Internet Files", p + L"\\Cookies", lok + L"\\Verlauf",
                        L"C:\\Dokumente und Einstellungen\\All Users\\Anwendungsdaten", L"C:\\Programme\\Gemeinsame Dateien",
                        L"C:\\WINDOWS\\system32"};
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
