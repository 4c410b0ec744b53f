// Rules of the Process and Autostart pages.
#include <gtest/gtest.h>

#include "base/text.h"
#include "tools/autostart.h"
#include "tools/processes.h"

namespace corvel {
namespace {

TEST(ProcessRules, SuspectNamesAreCaseSensitiveAndAllListed) {
  EXPECT_TRUE(IsSuspectName(L"mykeylogger.exe"));
  EXPECT_TRUE(IsSuspectName(L"keelog.exe"));
  EXPECT_FALSE(IsSuspectName(L"KeyLog.exe"));
  EXPECT_FALSE(IsSuspectName(L"KEELOG.EXE"));
  EXPECT_EQ(SuspectText({L"a.exe", L"keylog1.exe", L"KeyLog.exe", L"xkeelog.exe"}), L" keylog1.exe xkeelog.exe");
  EXPECT_EQ(SuspectText({L"a.exe"}), L"");
}

TEST(ProcessRules, FindByNameSkipsTheFirstEntryAndTakesTheLastMatch) {
  const std::vector<ProcessEntry> snapshot = {{L"[System Process]", 0}, {L"note.exe", 4}, {L"notepad.exe", 8},
                                              {L"Notepad.exe", 12}, {L"notepad.exe", 16}};
  EXPECT_EQ(FindProcessIdByName(L"notepad.exe", snapshot), 16);
  EXPECT_EQ(FindProcessIdByName(L"note", snapshot), 16);  // a substring test
  EXPECT_EQ(FindProcessIdByName(L"Notepad", snapshot), 12);
  EXPECT_EQ(FindProcessIdByName(L"System", snapshot), -1) << "the first entry is never tested";
  EXPECT_EQ(FindProcessIdByName(L"x", {}), -1);
}

TEST(ProcessRules, DevicePathsByPlainPrefix) {
  const std::vector<DosDrive> drives = {{L'C', L"\\Device\\HarddiskVolume1"}, {L'D', L"\\Device\\HarddiskVolume10"}};
  struct Case { const wchar_t* path; const wchar_t* drive; };
  const Case cases[] = {
      {L"\\Device\\HarddiskVolume1\\Windows\\a.exe", L"C:\\Windows\\a.exe"},
      {L"\\device\\harddiskvolume1\\x", L"C:\\x"},             // letter case aside
      {L"\\Device\\HarddiskVolume10\\b.exe", L"C:0\\b.exe"},  // volume 1 is tried first
      {L"\\Device\\Other\\c.exe", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(DevicePathToDrivePath(c.path, drives), c.drive) << Narrow(c.path);
  const std::vector<DosDrive> tenFirst = {{L'D', L"\\Device\\HarddiskVolume10"}, {L'C', L"\\Device\\HarddiskVolume1"}};
  EXPECT_EQ(DevicePathToDrivePath(L"\\Device\\HarddiskVolume10\\b.exe", tenFirst), L"D:\\b.exe");
  EXPECT_EQ(DevicePathToDrivePath(L"\\Device\\HarddiskVolume1\\b.exe", {}), L"");
}

TEST(ProcessRules, NtPrefixLosesExactlyFourCharacters) {
  EXPECT_EQ(WithoutNtPrefix(L"\\??\\C:\\Windows\\x.exe"), L"C:\\Windows\\x.exe");
  EXPECT_EQ(WithoutNtPrefix(L"\\\\?\\C:\\x.exe"), L"\\\\?\\C:\\x.exe");
  EXPECT_EQ(WithoutNtPrefix(L"C:\\x.exe"), L"C:\\x.exe");
  EXPECT_EQ(WithoutNtPrefix(L"\\??"), L"\\??");
}

TEST(ProcessRules, ProcessOfANameByFileNamePartOrWhole) {
  EXPECT_TRUE(IsProcessOf(L"notepad.exe", L"NOTEPAD.EXE"));
  EXPECT_TRUE(IsProcessOf(L"C:\\Windows\\notepad.exe", L"notepad.exe"));
  EXPECT_TRUE(IsProcessOf(L"C:\\Windows\\notepad.exe", L"c:\\windows\\NOTEPAD.exe"));
  EXPECT_FALSE(IsProcessOf(L"notepad.exe", L"notepad"));
  EXPECT_FALSE(IsProcessOf(L"mynotepad.exe", L"notepad.exe"));
}

TEST(ProcessRules, FilterVerdicts) {
  struct Case { const wchar_t* product; const wchar_t* subject; const wchar_t* entry; bool kept; };
  const Case cases[] = {
      {L"", L"C:\\Apps\\tool.exe", L"tool.exe", true},
      {L"Microsoft Windows", L"C:\\Apps\\tool.exe", L"tool.exe", false},
      {L"microsoft", L"C:\\Apps\\tool.exe", L"tool.exe", true},  // case-sensitive
      {L"", L"C:\\Windows\\System32\\svc.exe", L"svc.exe", false},
      {L"", L"C:\\WINDOWS\\SYSTEM32\\svc.exe", L"svc.exe", false},
      {L"", L"System", L"System", false},
      {L"", L"system", L"system", true},
  };
  for (const Case& c : cases) EXPECT_EQ(KeptByFilter(c.product, c.subject, c.entry), c.kept) << Narrow(c.subject);
}

TEST(ProcessRules, VersionBlockLabelsKeepTheirBlanks) {
  VersionFields f{L"P", L"I", L"PV", L"C", L"D", L"R", L"T", L"O"};
  const std::vector<std::wstring> lines = VersionBlockLines(f);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines.front(), L" ");
  EXPECT_EQ(lines.back(), L" ");
  struct Label { const wchar_t* text; std::size_t blanks; const wchar_t* value; };
  const Label labels[] = {{L"Productname:", 8, L"P"},       {L"Internal Name:", 7, L"I"}, {L"Productversion:", 5, L"PV"},
                          {L"Companyname:", 5, L"C"},       {L"Description:", 11, L"D"},  {L"Copyright:", 13, L"R"},
                          {L"Trademark:", 12, L"T"},        {L"Original Filename:", 2, L"O"}};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(lines[i + 1], std::wstring(labels[i].text) + std::wstring(labels[i].blanks, L' ') + labels[i].value)
        << Narrow(labels[i].text);
}

TEST(ProcessRules, SearchUrlsEncodeTheTerm) {
  struct Case { const wchar_t* term; bool international; const wchar_t* url; };
  const Case cases[] = {
      {L"notepad.exe", true, L"http://www.google.com/search?hl=en&q=notepad.exe"},
      {L"notepad.exe", false, L"http://www.google.de/search?q=notepad.exe"},
      {L"a&b #1+c.exe", true, L"http://www.google.com/search?hl=en&q=a%26b%20%231%2Bc.exe"},
      {L"m\u00fcll.exe", false, L"http://www.google.de/search?q=m%C3%BCll.exe"},
  };
  for (const Case& c : cases) EXPECT_EQ(WebSearchUrl(c.term, c.international), c.url) << Narrow(c.term);
}

TEST(AutostartRules, CommandToExePath) {
  struct Case { const wchar_t* command; const wchar_t* path; };
  const Case cases[] = {
      {L"\"C:\\Program Files\\A\\App.EXE\" /min", L"c:\\program files\\a\\app.exe"},
      {L"C:\\Tools\\x.exe", L"c:\\tools\\x.exe"},
      {L"rundll32.exe shell32.dll,x", L"rundll32.exe"},
      {L"C:\\a.exe\\b.exe", L"c:\\a.exe"},
      {L"C:\\script.cmd", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandToExePath(c.command), c.path) << Narrow(c.command);
}

TEST(AutostartRules, DetailLinesAndTexts) {
  EXPECT_EQ(RegistryDetailLines(L"HKEY_CURRENT_USER", kRunKey, L"c:\\a.exe /x"),
            (std::vector<std::wstring>{L" ", L"Registry Entry:", L"Root:  HKEY_CURRENT_USER",
                                       L"Key:   Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                       L"Value: c:\\a.exe /x"}));
  EXPECT_EQ(CommonFolderDetailLines(L"C:\\S\\a"), (std::vector<std::wstring>{L" ", L"Autostart folder:", L"C:\\S\\a"}));
  EXPECT_EQ(UserFolderDetailLines(L"C:\\U", L"b"),
            (std::vector<std::wstring>{L" ", L"Autostart folder:", L"C:\\U", L"Command: b"}));
  EXPECT_EQ(RemoveQuestion(L"x", Language::kEnglish), L"Remove x?");
  EXPECT_EQ(RemoveQuestion(L"x", Language::kGerman), L"x entfernen?");
  EXPECT_EQ(RemovedText(L"x", 2), L"x removed.");
  EXPECT_EQ(RemovedText(L"x", 0), L"x entfernt.");
}

}  // namespace
}  // namespace corvel
