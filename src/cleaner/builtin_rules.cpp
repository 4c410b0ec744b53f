#include "cleaner/builtin_rules.h"

#include <algorithm>

#include "base/text.h"

namespace corvel {
namespace {

wchar_t FoldForKey(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);  // Latin-1 letters
  return c == L'/' ? L'\\' : c;
}

// The names of a path as Windows reads them: "/" a separator, empty names
// (doubled separators) dropped, and trailing dots and blanks cut off every
// name but "." and "..".
std::vector<std::wstring> Names(std::wstring_view path, bool fold) {
  std::vector<std::wstring> names;
  std::wstring name;
  auto flush = [&] {
    if (name != L"." && name != L"..")
      while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    if (!name.empty()) names.push_back(name);
    name.clear();
  };
  for (wchar_t c : path) {
    const wchar_t f = fold ? FoldForKey(c) : (c == L'/' ? L'\\' : c);
    if (f == L'\\') flush();
    else name += f;
  }
  flush();
  return names;
}

bool IsUnc(std::wstring_view path) {
  return path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/');
}

// A folder in one form for comparing: "c:\users\ann", "\\\\server\\share\\x".
std::wstring FolderKey(std::wstring_view folder) {
  std::wstring key = IsUnc(folder) ? L"\\\\" : L"";
  const std::vector<std::wstring> names = Names(folder, true);
  for (std::size_t i = 0; i < names.size(); ++i) key += (i ? L"\\" : L"") + names[i];
  return key;
}

bool IsRootKey(const std::wstring& key) {
  if (key.empty()) return true;
  if (key.starts_with(L"\\\\")) return std::count(key.begin() + 2, key.end(), L'\\') <= 1;  // \\server\share
  return key.find(L'\\') == std::wstring::npos;  // "c:", or a name with no folder above it
}

std::wstring ParentKey(const std::wstring& key) {
  const std::size_t slash = key.rfind(L'\\');
  return slash == std::wstring::npos || slash < 2 ? std::wstring() : key.substr(0, slash);
}

bool IsAbsolute(std::wstring_view path) {
  if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'))
    return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
  return IsUnc(path) && Names(path, false).size() >= 2;
}

// `outer` is `inner` or one of the folders above it.
bool Holds(const std::wstring& outerKey, const std::wstring& innerKey) {
  return innerKey == outerKey || (innerKey.size() > outerKey.size() && innerKey.starts_with(outerKey) &&
                                  innerKey[outerKey.size()] == L'\\');
}

}  // namespace

bool IsProtectedFolder(const std::wstring& folder, const BuiltInBases& b) {
  const std::wstring key = FolderKey(folder);
  if (IsRootKey(key)) return true;
  std::vector<std::wstring> fixed = b.programFiles;
  fixed.push_back(b.windows);
  fixed.push_back(b.system);
  for (const std::wstring& f : fixed)
    if (!f.empty() && key == FolderKey(f)) return true;
  const std::wstring profile = FolderKey(b.profile);
  if (profile.empty()) return false;
  if (key == profile) return true;
  // The folder that holds the profiles, and every profile in it.
  const std::wstring users = ParentKey(profile);
  return !users.empty() && !IsRootKey(users) && (key == users || ParentKey(key) == users);
}

std::wstring TempBase(const BuiltInBases& b, BuiltInEnvironment& env) {
  std::wstring temp = ReplaceAll(b.temp, L"/", L"\\");
  if (!IsAbsolute(temp) || temp.starts_with(L"\\\\?\\") || temp.starts_with(L"\\\\.\\")) return {};
  for (const std::wstring& name : Names(temp, false))
    if (name == L"." || name == L"..") return {};
  while (temp.size() > 3 && temp.back() == L'\\') temp.pop_back();
  if (!env.FolderExists(temp)) return {};
  const std::wstring longForm = env.LongPath(temp);
  if (IsProtectedFolder(temp, b) || IsProtectedFolder(longForm, b)) return {};
  // A folder that holds what the program or the user keep is no temporary
  // folder, whatever TEMP says: its "*.* /u" row would clean all of it.
  std::vector<std::wstring> kept = b.programFiles;
  kept.insert(kept.end(), {b.windows, b.system, b.appData, b.profile, b.inetCache, b.cookies, b.history,
                           b.commonData, b.commonFiles});
  if (!b.profile.empty()) kept.push_back(b.profile + L"\\AppData\\Local");
  const std::wstring key = FolderKey(longForm), shortKey = FolderKey(temp);
  for (const std::wstring& base : kept)
    if (!base.empty() && (Holds(key, FolderKey(base)) || Holds(shortKey, FolderKey(base)))) return {};
  return temp;
}

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
  // No row runs on a protected folder, nor on a folder given relative to
  // wherever the program happens to stand (a base that was not resolved).
  auto allowed = [&](const std::wstring& folder) { return IsAbsolute(folder) && !IsProtectedFolder(folder, b); };
  // A mask row; `exists` false means the row's own condition replaces the
  // existence test of its folder.
  auto mask = [&](const std::wstring& folder, const wchar_t* m, bool sub = false, bool condition = true,
                  bool exists = true) {
    if (!condition || !allowed(folder)) return;
    if (exists && !env.FolderExists(folder)) return;
    lines.push_back(folder + L"\\" + m + (sub ? L" /u" : L""));
  };
  auto files = [&](const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
    if (!allowed(folder) || !env.FolderExists(folder)) return;
    for (const wchar_t* n : names) lines.push_back(folder + L"\\" + n);
  };
  // The Windows folder's own logs and dumps, never its subfolders: the one
  // protected folder rows are written for, unless it is also another one.
  BuiltInBases notWindows = b;
  notWindows.windows.clear();
  auto windowsTop = [&](const wchar_t* m) {
    if (!IsAbsolute(b.windows) || IsProtectedFolder(b.windows, notWindows) || !env.FolderExists(b.windows)) return;
    lines.push_back(b.windows + L"\\" + m);
  };
  const std::wstring temp = TempBase(b, env);

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
  mask(temp, L"*.*", true);
  mask(local + L"\\Downloaded Installations", L"*.*", true);
  mask(b.profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent", L"*.*");
  mask(b.system + L"LogFiles\\Scm", L"*.");
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
  windowsTop(L"*.log");
  windowsTop(L"*.dmp");
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
  windowsTop(L"*.dmp");
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
