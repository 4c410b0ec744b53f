#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "base/shell.h"
#include "doubles/recording_shell.h"
#include "doubles/scripted_dialogs.h"

namespace corvel {
namespace {

TEST(ShellOps, RecordedCalls) {
  using Op = std::function<std::optional<bool>(ShellOps&)>;
  auto shellOpen = [](std::wstring f, std::wstring p) -> Op { return [=](ShellOps& s) { return s.ShellOpen(f, p); }; };
  auto elevated = [](std::wstring f, std::wstring p) -> Op { return [=](ShellOps& s) { return s.RunElevated(f, p); }; };
  auto url = [](std::wstring a) -> Op { return [=](ShellOps& s) { s.ShellOpenUrl(a); return std::nullopt; }; };
  auto explorer = [](std::wstring p) -> Op { return [=](ShellOps& s) { s.OpenInExplorer(p); return std::nullopt; }; };
  auto applet = [](std::wstring a) -> Op { return [=](ShellOps& s) { s.RunControlPanel(a); return std::nullopt; }; };
  struct Case {
    const char* name;
    unsigned major;
    Op op;
    std::uintptr_t shellResult;
    ShellCall expected;
    std::optional<bool> result;
    bool errorBox;
  };
  const Case cases[] = {
      {"open", 6, shellOpen(L"notepad.exe", L""), 42, {L"open", L"notepad.exe", L"", 1}, true, false},
      {"open with parameters", 5, shellOpen(L"cmd.exe", L"/k dir"), 33, {L"open", L"cmd.exe", L"/k dir", 1}, true, false},
      {"open, 32 is failure", 6, shellOpen(L"x.doc", L""), 32, {L"open", L"x.doc", L"", 1}, false, false},
      {"open, not found", 6, shellOpen(L"x.doc", L""), 2, {L"open", L"x.doc", L"", 1}, false, false},
      {"url", 6, url(L"https://example.org/"), 0, {L"open", L"https://example.org/", L"", 5}, std::nullopt, false},
      {"elevated on 5", 5, elevated(L"Tessel.exe", L"new"), 42, {L"open", L"Tessel.exe", L"new", 1}, true, false},
      {"elevated on 6", 6, elevated(L"Tessel.exe", L"new"), 42, {L"runas", L"Tessel.exe", L"new", 1}, true, false},
      {"elevated on 10", 10, elevated(L"Tessel.exe", L""), 42, {L"runas", L"Tessel.exe", L"", 1}, true, false},
      {"elevation refused", 6, elevated(L"Tessel.exe", L""), 5, {L"runas", L"Tessel.exe", L"", 1}, false, false},
      {"explorer, path with blanks", 6, explorer(L"C:\\Program Files\\Corvel"), 42,
       {L"runas", L"explorer.exe", L" /e,  \"C:\\Program Files\\Corvel\"", 1}, std::nullopt, false},
      {"explorer on 5", 5, explorer(L"C:\\"), 42, {L"open", L"explorer.exe", L" /e,  \"C:\\\"", 1}, std::nullopt, false},
      {"explorer fails", 6, explorer(L"D:\\x y"), 32, {L"runas", L"explorer.exe", L" /e,  \"D:\\x y\"", 1}, std::nullopt, true},
      {"control panel applet", 6, applet(L"desk.cpl"), 42,
       {L"open", L"rundll32.exe", L"shell32.dll,Control_RunDLL desk.cpl", 5}, std::nullopt, false},
      {"control panel itself", 6, applet(L""), 0, {L"open", L"rundll32.exe", L"shell32.dll,Control_RunDLL ", 5}, std::nullopt, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingShell shell;
    shell.results.push_back(c.shellResult);
    ScriptedDialogs dialogs;
    MessageTable messages;
    ShellOps ops(shell, dialogs, messages, c.major);
    EXPECT_EQ(c.op(ops), c.result);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0], c.expected);
    ASSERT_EQ(dialogs.calls.size(), c.errorBox ? 1u : 0u);
    if (c.errorBox) {
      EXPECT_EQ(dialogs.Last().kind, DialogKind::MsgBox);
      EXPECT_EQ(dialogs.Last().text, L"Fehler beim Ausführen von Explorer.exe!");
      EXPECT_EQ(dialogs.Last().caption, L"Corvel");
      EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
    }
  }
}

TEST(ShellOps, ExplorerErrorTakesTheLanguageOfTheMomentItShows) {
  RecordingShell shell;
  shell.fallback = 0;
  ScriptedDialogs dialogs;
  MessageTable messages;
  ShellOps ops(shell, dialogs, messages, 6);
  messages.Fill(1);
  ops.OpenInExplorer(L"C:\\");
  messages.Fill(0);
  ops.OpenInExplorer(L"C:\\");
  ASSERT_EQ(dialogs.calls.size(), 2u);
  EXPECT_EQ(dialogs.calls[0].text, L"Error running Explorer.exe!");
  EXPECT_EQ(dialogs.calls[1].text, L"Fehler beim Ausführen von Explorer.exe!");
}

// Windows tests lean on the doubles' unscripted answers; keep them what a user pressing Enter gets.
TEST(ScriptedDialogs, UnscriptedAnswers) {
  struct Case { unsigned flags; int id; };
  const Case boxes[] = {
      {mb::kOk | mb::kIconError, mb::kIdOk}, {mb::kOkCancel, mb::kIdOk},   {mb::kYesNo, mb::kIdYes},
      {mb::kYesNo | 0x100, mb::kIdNo},       {mb::kYesNoCancel | 0x200, mb::kIdCancel},
      {mb::kOk | 0x100, mb::kIdOk},
  };
  ScriptedDialogs d;
  for (const auto& c : boxes) EXPECT_EQ(d.ShowMessageBox(L"t", L"c", c.flags), c.id) << c.flags;
  EXPECT_EQ(d.MessageDlg(L"t", DlgType::Confirmation, kBtnYes | kBtnNo), DlgResult::Yes);
  EXPECT_EQ(d.MessageDlg(L"t", DlgType::Information, kBtnOk | kBtnCancel), DlgResult::Ok);
  std::wstring value = L"preset";
  EXPECT_FALSE(d.InputQuery(L"Parameter", L"Enter start parameter", value));
  EXPECT_EQ(value, L"preset");

  d.AnswerBox(mb::kIdNo).AnswerText(L"typed").AnswerCancel().AnswerDlg(DlgResult::No);
  EXPECT_EQ(d.ShowMessageBox(L"t", L"c", mb::kYesNo), mb::kIdNo);
  EXPECT_TRUE(d.InputQuery(L"Parameter", L"Enter start parameter", value));
  EXPECT_EQ(value, L"typed");
  std::wstring path = L"a.bmp";
  EXPECT_FALSE(d.SaveFile({L"Save", L"Bitmap|*.bmp", L"bmp", L"", L"a.bmp"}, path));
  EXPECT_EQ(d.MessageDlg(L"t", DlgType::Warning, kBtnYes | kBtnNo), DlgResult::No);

  ASSERT_EQ(d.calls.size(), 13u);
  EXPECT_EQ(d.Count(DialogKind::MsgBox), 7u);
  const DialogCall& input = d.calls[10];
  EXPECT_EQ(input.kind, DialogKind::InputQuery);
  EXPECT_EQ(input.caption, L"Parameter");
  EXPECT_EQ(input.text, L"Enter start parameter");
  EXPECT_EQ(input.value, L"preset") << "the preset the caller handed in";
  EXPECT_EQ(d.calls[11].kind, DialogKind::SaveFile);
  EXPECT_EQ(d.calls[11].options.defaultExt, L"bmp");
  EXPECT_EQ(d.Last().type, DlgType::Warning);
  EXPECT_EQ(d.Last().flags, kBtnYes | kBtnNo);
}

TEST(ScriptedDialogs, StandardErrorBoxIsRecordedAsAMessageBox) {
  ScriptedDialogs d;
  d.ShowError(L"E/A-Fehler 5");
  ASSERT_EQ(d.calls.size(), 1u);
  EXPECT_EQ(d.Last().text, L"E/A-Fehler 5.");
  EXPECT_EQ(d.Last().caption, L"Corvel");
  EXPECT_EQ(d.Last().flags, mb::kIconError | mb::kOk);
}

}  // namespace
}  // namespace corvel
