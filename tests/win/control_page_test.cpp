// The Control page in the main window: every shortcut button starts what
// its launcher names, and the page holds the places of every tool button.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/main_window_fixture.h"
#include "tools/shortcuts.h"
#include "win/folders.h"

namespace corvel {
namespace {

TEST_F(MainWindow, ShortcutButtonsStartTheirLaunchers) {
  Start();
  for (const Launcher& l : kLaunchers) {
    EXPECT_EQ(GetText(main->Ctl(l.button)), l.caption) << Narrow(l.button);
    const std::size_t before = shell.calls.size();
    Click(main->Ctl(l.button));
    ASSERT_EQ(shell.calls.size(), before + 1) << Narrow(l.button);
    RecordingShell expected;
    ScriptedDialogs quiet;
    MessageTable messages;
    ShellOps ops(expected, quiet, messages, 6);
    RunLauncher(l, expected, ops, quiet, messages, SystemFolder());
    EXPECT_EQ(shell.calls.back(), expected.calls.at(0)) << Narrow(l.button);
  }
  // "System info" starts control.exe of the real system folder.
  Click(main->Ctl(L"SpeedButton19"));
  EXPECT_EQ(shell.calls.back().file, SystemFolder() + L"\\control.exe");
  EXPECT_TRUE(dialogs.calls.empty());
  Close();
}

TEST_F(MainWindow, ControlPageHoldsEveryToolButton) {
  Start();
  const std::pair<const wchar_t*, const wchar_t*> buttons[] = {
      {L"SpeedButton6", L"DOS Prompt"},       {L"ButtonUliste", L"User list"},
      {L"Buttoncalc", L"Calc"},               {L"SpeedButton53", L"File Info     "},
      {L"SpeedButton4", L"Cleaner"},          {L"SpeedButton5", L"Screenshot"},
      {L"SpeedButton24", L"Shut down "},      {L"SpeedButton25", L"Reboot   "},
      {L"SpeedButton52", L"Extract icons from file"}, {L"SpeedButton2", L"Clear Clipboard"},
      {L"SpeedButton30", L"Save desktop icons"},      {L"SpeedButton31", L"Restore desktop  icons"},
      {L"SpeedButton32", L"Set Restore Point"},       {L"SpeedButton33", L"Enable/Disable Sytem Restore"},
      {L"SpeedButton29", L"Windows Update"},          {L"SpeedButton3", L"Clear Recycle Bin"},
      {L"SpeedButton1", L""},
  };
  for (const auto& [name, caption] : buttons) EXPECT_EQ(GetText(main->Ctl(name)), caption) << Narrow(name);
  EXPECT_EQ(GetText(main->Ctl(L"Label66")), L"System dialogues");
  Close();
}

}  // namespace
}  // namespace corvel
