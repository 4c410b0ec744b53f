#include "cleaner/builtin_rules.h"

#include "base/text.h"

namespace corvel {

std::wstring FindFirefoxProfile(BuiltInEnvironment& env, const std::wstring& profilesFolder) {
  if (!env.FolderExists(profilesFolder)) return {};
  const std::vector<std::wstring> subs = env.Subfolders(profilesFolder);
  if (subs.empty()) return profilesFolder;
  for (const auto& name : subs) {
    const std::wstring path = profilesFolder + L"\\" + name;
    if (path.find(L".default") != std::wstring::npos) return path;
  }
  return profilesFolder + L"\\" + subs.back();
}

std::vector<std::wstring> BuildBuiltInRules(const BuiltInBases& b, BuiltInEnvironment& env, bool updateBackups,
                                            bool prefetch) {
  std::vector<std::wstring> lines;
  // A mask row; `exists` false means the row's own condition replaces the
  // existence test of its folder.
  auto mask = [&](const std::wstring& folder, const wchar_t* m, bool sub = false, bool condition = true,
                  bool exists = true) {
    if (!condition) return;
    if (exists && (folder.empty() || !env.FolderExists(folder))) return;
    lines.push_back(folder + L"\\" + m + (sub ? L" /u" : L""));
  };
  auto files = [&](const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
    if (folder.empty() || !env.FolderExists(folder)) return;
    for (const wchar_t* n : names) lines.push_back(folder + L"\\" + n);
  };

  const std::wstring local = b.profile + L"\\AppData\\Local";
  const std::wstring profileA = FindFirefoxProfile(env, b.appData + L"\\Mozilla\\Firefox\\Profiles");
  const std::size_t ms = Pos(L"\\Microsoft", b.history);
  const std::wstring profileB =
      ms >= 2 ? FindFirefoxProfile(env, Copy(b.history, 1, static_cast<long long>(ms)) + L"Mozilla\\Firefox\\Profiles")
              : profileA;
  const std::wstring profileC = FindFirefoxProfile(env, b.profile + L"\\Anwendungsdaten\\Mozilla\\Firefox\\Profiles");

  mask(b.windows + L"\\security\\logs", L"*.old");                                   // 1
  mask(b.commonData + L"\\Microsoft\\Windows\\WER\\ReportQueue", L"*.*", true);
  mask(L"C:\\Temp", L"*.*", true);
  mask(b.windows + L"\\Temp", L"*.*", true);
  mask(b.appData, L"*.tmp");                                                         // 5
  mask(b.temp, L"*.*", true);
  mask(local + L"\\Downloaded Installations", L"*.*", true);
  mask(b.profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent", L"*.*");
  mask(b.current + L"\\LogFiles\\Scm", L"*.");
  mask(Copy(b.profile, 1, 8) + L"\\Default\\AppData\\Roaming\\Microsoft\\Windows\\Recent", L"*.*");  // 10
  mask(b.inetCache, L"*.*", true);
  mask(local + L"\\Microsoft\\Windows\\Temporary Internet Files\\Content.IE5", L"*.*", true);
  mask(b.appData + L"\\Macromedia\\Flash Player\\#SharedObjects", L"*.*", true);
  mask(b.windows + L"\\Offline Web Pages", L"*.*");
  mask(b.profile + L"\\AppData\\LocalLow\\Microsoft\\CryptnetUrlCache\\Content", L"*.*");  // 15
  mask(b.profile + L"\\AppData\\LocalLow\\Microsoft\\CryptnetUrlCache\\MetaData", L"*.*");
  mask(b.profile + L"\\AppData\\LocalLow\\Microsoft\\Internet Explorer\\DOMStore", L"*.*", true);
  mask(b.history + L"\\History.IE5", L"*.*", true);
  mask(b.cookies, L"*.*", true);
  mask(b.profile + L"\\Lokale Einstellungen\\Temporary Internet Files\\Content.IE5", L"*.*", true);  // 20
  mask(b.appData + L"\\Opera\\Opera\\profile\\opcache", L"*.*", true);
  mask(local + L"\\Temp", L"*.*", true);
  mask(b.windows + L"\\SoftwareDistribution\\Download", L"*.*", true, updateBackups);
  mask(b.profile + L"\\AppData\\Local\\1&1\\1&1 Office-Drive Manager\\Cache", L"*.tmp");
  mask(local + L"\\CrashDumps", L"*.dmp");                                           // 25
  mask(b.commonData + L"\\Microsoft\\Windows\\WER\\ReportArchive", L"*.wer", true);
  {
    const std::size_t roaming = Pos(L"Roaming", b.appData);
    const std::wstring second = env.SecondFixedDrive();
    const bool otherDrive = second.empty() || !SameTextAscii(second, Copy(local + L"\\Temp", 1, 2));
    mask(Copy(b.appData, 1, static_cast<long long>(roaming) - 1) + L"Local\\Temp", L"*.*", true,
         roaming >= 7 && otherDrive, false);
  }
  mask(b.appData + L"\\Microsoft\\Office", L"*.tmp");
  mask(b.commonFiles + L"\\Windows Live\\.cache", L"*.tmp");
  mask(b.system + L"wbem\\logs", L"*.log");                                          // 30
  mask(b.windows, L"*.log");
  mask(b.windows, L"*.dmp");
  mask(b.windows + L"\\minidump", L"*.dmp", false, !b.windows.empty() && env.FolderExists(b.windows), false);
  mask(b.windows + L"\\ServiceProfiles\\NetworkService\\AppData\\Local\\Temp", L"*.log");
  mask(b.windows + L"\\security\\logs", L"*.log");                                   // 35
  mask(L"C:\\Users\\All Users\\Microsoft\\eHome\\logs", L"*.log");
  mask(b.appData + L"\\Microsoft\\eHome\\logs", L"*.log");
  mask(b.windows + L"\\Panther", L"*.log");
  mask(b.windows + L"\\Logs", L"*.log", true);
  mask(b.windows + L"\\Microsoft.NET\\Framework", L"*.log", true);                   // 40
  mask(b.windows + L"\\Debug", L"*.log");
  mask(b.windows + L"\\inf", L"*.log");
  mask(b.windows + L"\\ServiceProfiles\\LocalService\\AppData\\Roaming\\PeerNetworking", L"*.log");
  mask(b.windows + L"\\Logs", L"*.etl", true);
  mask(b.windows + L"\\Logs\\CBS", L"*.log");                                        // 45
  mask(b.windows + L"\\Logs\\CBS", L"*.cab");
  mask(local + L"\\Packages", L"*.log", true);
  mask(L"C:\\ProgramData\\Spybot - Search & Destroy\\Logs", L"*.log");
  mask(L"C:\\Users\\All Users\\Spybot - Search & Destroy\\Logs", L"*.log");
  mask(L"C:\\ProgramData\\Acronis\\TrueImageHome\\ArchiveExplorer", L"*.log");       // 50
  mask(L"C:\\ProgramData\\Acronis\\TrueImageHome\\Logs", L"*.log");
  mask(b.profile + L"\\Lokale Einstellungen\\VirtualStore\\Program Files\\Yahoo!\\Messenger\\logs", L"*.log");
  mask(b.profile + L"\\Lokale Einstellungen\\VirtualStore\\Program Files\\Yahoo!\\Messenger\\cache", L"*.tmp");
  mask(local + L"\\Microsoft\\Windows\\Explorer", L"*.*", true);
  mask(local + L"\\Microsoft\\Windows\\WER\\ReportArchive", L"*.wer", true);        // 55
  mask(local + L"\\Microsoft\\Windows\\WER\\ReportArchive", L"*.cab", true);
  mask(b.windows, L"*.dmp");
  files(b.appData + L"\\Apple Computer\\Safari", {L"History.plist", L"LastSession.plist", L"Downloads.plist"});  // 58
  files(b.profile + L"\\Anwendungsdaten\\Apple Computer\\Safari", {L"History.plist", L"LastSession.plist", L"Downloads.plist"});
  files(b.profile + L"\\AppData\\Roaming\\Apple Computer\\Safari", {L"History.plist", L"LastSession.plist", L"Downloads.plist"});
  mask(b.appData + L"\\Apple Computer\\Safari\\Cookies", L"*.*");                    // 67
  mask(b.profile + L"\\Anwendungsdaten\\Apple Computer\\Safari\\Cookies", L"*.*");
  mask(b.profile + L"\\AppData\\Roaming\\Apple Computer\\Safari\\Cookies", L"*.*");
  {
    const std::size_t roaming = Pos(L"\\Roaming", b.appData);
    const std::wstring start = Copy(b.appData, 1, static_cast<long long>(roaming));
    mask(start + L"Local\\Apple Computer\\Safari\\History", L"*.*", false, roaming > 0, false);  // 70
    mask(start + L"Local\\Apple Computer\\Safari\\Webpage Previews", L"*.*", false, roaming > 0, false);
  }
  files(b.appData + L"\\Apple Computer\\Safari", {L"Cache.db"});
  const std::wstring safariDe = b.profile + L"\\Lokale Einstellungen\\Anwendungsdaten\\Apple Computer\\Safari";
  files(safariDe, {L"Cache.db"});
  mask(safariDe + L"\\Webpage Previews", L"*.*");
  if (!profileA.empty()) {                                                           // 75
    files(profileA, {L"downloads.sqlite", L"cookies.sqlite", L"history.dat"});
    mask(profileA + L"\\Cache", L"*.*", true);
    mask(profileA + L"\\OfflineCache", L"*.*", true);
  }
  if (!profileB.empty()) {                                                           // 80
    mask(profileB + L"\\Cache", L"*.*", true);
    mask(profileB + L"\\OfflineCache", L"*.*", true);
  }
  if (!profileC.empty()) files(profileC, {L"downloads.sqlite", L"cookies.sqlite"});
  files(b.appData + L"\\Opera\\Opera\\profile", {L"global.dat", L"global_history.dat", L"typed_history.xml"});  // 84
  files(local + L"\\Google\\Chrome\\User Data\\default", {L"History", L"Visited Links", L"Archived History", L"Cookies"});
  const std::wstring chromeDe = b.profile + L"\\Lokale Einstellungen\\Anwendungsdaten\\Google\\Chrome\\User Data";
  mask(chromeDe + L"\\Default\\Cache", L"*.*");                                      // 91
  files(chromeDe + L"\\Default", {L"History", L"Last Session", L"Visited Links", L"Archived History", L"Cookies"});
  mask(chromeDe, L"*.tmp");
  mask(b.windows + L"\\Prefetch", L"*.*", false, prefetch);                         // 98

  for (const std::wstring& index :
       {b.profile + L"\\Lokale Einstellungen\\Temporary Internet Files\\Content.IE5\\index.dat",
        b.inetCache + L"\\Content.IE5\\index.dat", b.cookies + L"\\index.dat", b.history + L"\\History.IE5\\index.dat",
        b.inetCache + L"\\Low\\Content.IE5\\index.dat"})
    if (env.FileExists(index)) env.ScheduleDeleteOnReboot(index);
  return lines;
}

}  // namespace corvel
