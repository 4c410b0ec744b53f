// The Control and Misc pages' rules: the launchers, the Folders page's Temp
// row, the stopwatch, the daily alarm and the small tools' texts.
#include <gtest/gtest.h>

#include "base/datetime.h"
#include "base/text.h"
#include "doubles/recording_shell.h"
#include "doubles/scripted_dialogs.h"
#include "tools/clock.h"
#include "tools/shortcuts.h"
#include "tools/small_tools.h"

namespace corvel {
namespace {

// What every launcher starts, through the Shell port; the captions keep
// their trailing blanks and the applet strings their blanks and commas.
TEST(Launchers, EachStartsWhatItNames) {
  struct Case { const wchar_t* button; const wchar_t* caption; ShellCall call; };
  const std::wstring applets = L"shell32.dll,Control_RunDLL ";
  auto applet = [&](const wchar_t* a) { return ShellCall{L"open", L"rundll32.exe", applets + a, sw::kShow}; };
  auto open = [](const wchar_t* file, const wchar_t* params = L"") {
    return ShellCall{L"open", file, params, sw::kShowNormal};
  };
  const Case cases[] = {
      {L"SpeedButton50", L"Control", applet(L"")},
      {L"SpeedButton7", L"DirectX        ", open(L"dxdiag.exe")},
      {L"SpeedButton8", L"Services      ", open(L"services.msc")},
      {L"SpeedButton9", L"Users           ", applet(L"nusrmgr.cpl")},
      {L"SpeedButton10", L"Software     ", applet(L"appwiz.cpl")},
      {L"SpeedButton11", L"Firewall      ", applet(L"firewall.cpl")},
      {L"SpeedButton12", L"Display       ", applet(L"desk.cpl")},
      {L"SpeedButton13", L"Security       ", applet(L"wscui.cpl")},
      {L"SpeedButton14", L"Sound", applet(L"mmsys.cpl")},
      {L"SpeedButton15", L"Mouse          ", applet(L"main.cpl")},
      {L"SpeedButton16", L"Date/Time   ", applet(L"timedate.cpl")},
      {L"SpeedButton17", L"Keyboard    ", applet(L"main.cpl @1")},
      {L"SpeedButton18", L"Internet      ", applet(L"INETCPL.CPL")},
      {L"SpeedButton46", L"Hardware", applet(L"sysdm.cpl,,2")},
      {L"SpeedButton19", L"System info        ", {L"", L"D:\\Win\\System32\\control.exe", L"system", sw::kShow}},
      {L"SpeedButton20", L"Printers      ", open(L"explorer.exe", L"/n,/e,::{2227A280-3AEA-1069-A2DE-08002B30309D}")},
      {L"SpeedButton21", L"Connections", open(L"explorer.exe", L"/n,/e,::{7007ACC7-3202-11D1-AAD2-00805FC1270E}")},
      {L"SpeedButton22", L"Workstation", open(L"explorer.exe", L"/n,/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}")},
      {L"SpeedButton23", L"LAN          ", open(L"explorer.exe", L"/n,/e,::{208D2C60-3AEA-1069-A2D7-08002B30309D}")},
      {L"SpeedButton26", L"Regedit     ", {L"open", L"regedit", L"", sw::kShow}},
      {L"SpeedButton27", L"System restore", {L"runas", L"rstrui.exe", L"", sw::kShowNormal}},
  };
  ASSERT_EQ(std::size(cases), static_cast<std::size_t>(kLauncherCount));
  for (int i = 0; i < kLauncherCount; ++i) {
    const Launcher& l = kLaunchers[i];
    EXPECT_STREQ(l.button, cases[i].button);
    EXPECT_STREQ(l.caption, cases[i].caption) << Narrow(l.button);
    RecordingShell shell;
    ScriptedDialogs dialogs;
    MessageTable messages;
    ShellOps ops(shell, dialogs, messages, 6);
    RunLauncher(l, shell, ops, dialogs, messages, L"D:\\Win\\System32");
    ASSERT_EQ(shell.calls.size(), 1u) << Narrow(l.button);
    EXPECT_EQ(shell.calls[0], cases[i].call) << Narrow(l.button);
    EXPECT_TRUE(dialogs.calls.empty()) << Narrow(l.button);
  }
}

// Only the Explorer views report a refused start; the others stay silent.
TEST(Launchers, RefusedStartsReportOnlyForExplorerViews) {
  for (int i = 0; i < kLauncherCount; ++i) {
    const Launcher& l = kLaunchers[i];
    RecordingShell shell;
    shell.fallback = 2;  // file not found
    ScriptedDialogs dialogs;
    MessageTable messages;
    messages.Fill(Language::kEnglish);
    ShellOps ops(shell, dialogs, messages, 6);
    RunLauncher(l, shell, ops, dialogs, messages, L"C:\\Windows\\system32");
    if (l.kind == LaunchKind::Explorer) {
      ASSERT_EQ(dialogs.calls.size(), 1u) << Narrow(l.button);
      EXPECT_EQ(dialogs.Last().text, L"Error running Explorer.exe!");
      EXPECT_EQ(dialogs.Last().type, DlgType::Error);
    } else {
      EXPECT_TRUE(dialogs.calls.empty()) << Narrow(l.button);
    }
  }
}

TEST(FoldersPage, TempRowNeedsBothVariables) {
  EXPECT_EQ(TempFolderShown(L"C:\\T1", L"C:\\T2", L"C:\\Cur"), L"C:\\T2");
  EXPECT_EQ(TempFolderShown(std::nullopt, L"C:\\T2", L"C:\\Cur"), L"C:\\Cur");
  EXPECT_EQ(TempFolderShown(L"C:\\T1", std::nullopt, L"C:\\Cur"), L"C:\\Cur");
  EXPECT_EQ(TempFolderShown(std::nullopt, std::nullopt, L"C:\\Cur"), L"C:\\Cur");
  EXPECT_EQ(kFolderRows[11].source, FolderSource::Temp);
  EXPECT_EQ(kFolderRows[10].source, FolderSource::System);
}

TEST(Stopwatch, FormatByUnsignedDivision) {
  const std::pair<std::uint64_t, const wchar_t*> cases[] = {
      {0, L"00:00:00"}, {61234, L"01:01:23"}, {6000000, L"100:00:00"}, {3500, L"00:03:50"}, {59999, L"00:59:99"}};
  for (const auto& [ms, text] : cases) EXPECT_EQ(FormatStopwatch(ms), text) << ms;
}

TEST(Stopwatch, RunsAccumulateAndThePageEntryZeroes) {
  Stopwatch w;
  w.Start(1000);
  w.Stop(2500);  // 1.5 s
  EXPECT_EQ(FormatStopwatch(w.Elapsed(9999)), L"00:01:50");
  w.Start(10000);
  EXPECT_TRUE(w.Running());
  EXPECT_EQ(w.Elapsed(11000), 2500u);
  w.Stop(12000);  // 2 s more
  EXPECT_EQ(FormatStopwatch(w.Total()), L"00:03:50");
  w.Reset();
  EXPECT_EQ(w.Total(), 0u);
  w.Start(20000);
  w.ResetState();
  EXPECT_FALSE(w.Running());
  EXPECT_EQ(w.Elapsed(30000), 0u);
}

double At(int d, int h, int mi, int s) { return EncodeDate(2026, 12, d) + EncodeTime(h, mi, s, 0); }

TEST(DailyAlarm, FiresAtTheStartOfItsMinuteOncePerDay) {
  struct Case { const char* name; double setAt; double firstFire; };
  const Case cases[] = {
      {"set before", At(11, 7, 0, 0), At(11, 7, 30, 0)},
      {"set within the minute", At(11, 7, 30, 40), At(12, 7, 30, 0)},
      {"set after", At(11, 9, 0, 0), At(12, 7, 30, 0)},
  };
  for (const Case& c : cases) {
    DailyAlarm alarm;
    alarm.Set(7, 30, c.setAt);
    EXPECT_FALSE(alarm.Check(c.firstFire - 1.0 / 86400)) << c.name;
    EXPECT_TRUE(alarm.Check(c.firstFire)) << c.name;
    EXPECT_FALSE(alarm.Check(c.firstFire + 1.0 / 86400)) << c.name << ": once";
    EXPECT_TRUE(alarm.Check(c.firstFire + 1)) << c.name << ": the next day again";
  }
  DailyAlarm off;
  off.Set(7, 30, At(11, 7, 0, 0));
  off.Disable();
  EXPECT_FALSE(off.Check(At(11, 7, 30, 0)));
  DailyAlarm slept;
  slept.Set(7, 30, At(11, 7, 0, 0));
  EXPECT_FALSE(slept.Check(At(11, 8, 0, 0))) << "past its minute: no late ring";
  EXPECT_TRUE(slept.Check(At(12, 7, 30, 5)));
}

TEST(SmallTools, UserListTexts) {
  EXPECT_STREQ(UserStatus(L"anna", L"anna"), L"Logged in");
  EXPECT_STREQ(UserStatus(L"annabel", L"anna"), L"Logged in");  // a substring test
  EXPECT_STREQ(UserStatus(L"Anna", L"anna"), L"Logged off");
  const wchar_t* names[] = {L"Guest", L"User", L"Admin", L"Unknown", L"Unknown"};
  for (unsigned long level = 0; level < 5; ++level) EXPECT_STREQ(PrivilegeName(level), names[level]);
}

TEST(SmallTools, PromptParametersAndUpdateTargets) {
  EXPECT_EQ(DosParameters(L""), L"/K ");
  EXPECT_EQ(DosParameters(L"dir /w"), L"/K dir /w");
  struct Case { unsigned major; const wchar_t* layout; const wchar_t* file; const wchar_t* params; };
  const Case cases[] = {
      {10, L"00000407", L"ms-settings:windowsupdate", L""},
      {6, L"00000409", L"C:\\W\\system32\\wuapp.exe", L"startmenu"},
      {5, L"00000407", L"https://update.microsoft.com/microsoftupdate/v6/default.aspx?ln=de", L""},
      {5, L"00000409", L"https://update.microsoft.com/microsoftupdate/v6/default.aspx?ln=en", L""},
  };
  for (const Case& c : cases) {
    const UpdateTarget t = WindowsUpdateTarget(c.major, L"C:\\W\\system32", c.layout);
    EXPECT_EQ(t.file, c.file) << c.major;
    EXPECT_EQ(t.parameters, c.params) << c.major;
  }
}

}  // namespace
}  // namespace corvel
