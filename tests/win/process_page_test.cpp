// The Process page in the main window, with processes the test starts itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/main_window_fixture.h"
#include "tools/processes_win.h"
#include "win/control_wrappers.h"

namespace corvel {
namespace {

constexpr const wchar_t* kHelper = L"keylog_helper.exe";

class ProcessPageTest : public MainWindow {
 protected:
  void TearDown() override {
    for (PROCESS_INFORMATION& p : helpers) {
      TerminateProcess(p.hProcess, 0);
      CloseHandle(p.hProcess);
      CloseHandle(p.hThread);
    }
    MainWindow::TearDown();
  }
  void StartHelper() {
    std::wstring command = L"\"" + ProgramFolder() + kHelper + L"\"";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    helpers.push_back(pi);
  }
  bool HelperEnded(std::size_t i) { return WaitForSingleObject(helpers[i].hProcess, 5000) == WAIT_OBJECT_0; }
  std::vector<std::wstring> Items() { return ListBox(main->Ctl(L"ListBox1")).Items(); }
  long Listed(const std::wstring& name) {
    const std::vector<std::wstring> items = Items();
    return std::count(items.begin(), items.end(), name);
  }
  void SelectEntry(const std::wstring& name) {
    ListBox list(main->Ctl(L"ListBox1"));
    const std::vector<std::wstring> items = list.Items();
    const auto at = std::find(items.begin(), items.end(), name);
    ASSERT_NE(at, items.end()) << Narrow(name);
    list.Select(static_cast<int>(at - items.begin()));
  }
  std::wstring Memo() { return GetText(main->Ctl(L"Memo1")); }
  void Click(const wchar_t* button) { SendMessageW(main->Ctl(button), BM_CLICK, 0, 0); }

  std::vector<PROCESS_INFORMATION> helpers;
};

TEST_F(ProcessPageTest, ListsWarnsShowsFiltersAndEndsBothInstances) {
  StartHelper();
  StartHelper();
  Start();
  SelectPage(TFormSysInfo::kProcess);
  // Both instances are listed, sorted, and named once each in the one warning.
  const std::vector<std::wstring> items = Items();
  EXPECT_EQ(std::count(items.begin(), items.end(), kHelper), 2);
  EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  }));
  ASSERT_EQ(dialogs.Count(DialogKind::MessageDlg), 1u);
  EXPECT_EQ(dialogs.Last().type, DlgType::Warning);
  EXPECT_EQ(dialogs.Last().text, L"Ungewöhlicher Prozesslisten-Eintrag! keylog_helper.exe keylog_helper.exe");

  // Details: the version block of the helper and its path, the last line.
  SelectEntry(kHelper);
  SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(main->Ctl(L"ListBox1")), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(main->Ctl(L"ListBox1")));
  const std::vector<std::wstring> lines = SplitLinesCrLf(Memo());
  ASSERT_EQ(lines.size(), 11u) << Narrow(Memo());
  EXPECT_EQ(lines[0], L" ");
  EXPECT_EQ(lines[1], L"Productname:        Corvel");
  EXPECT_EQ(lines[8], L"Original Filename:  corvel.exe");
  EXPECT_EQ(lines[9], L" ");
  EXPECT_EQ(lines[10], L"Path: " + ProgramFolder() + kHelper);

  // The filter keeps it: no Microsoft product, not in system32.
  Click(L"BitBtn24");
  EXPECT_EQ(Listed(kHelper), 2);

  // Ending it ends both; the list is refilled without it.
  dialogs.AnswerBox(mb::kIdYes);
  SelectEntry(kHelper);
  Click(L"BtnKill");
  EXPECT_EQ(dialogs.calls[dialogs.calls.size() - 1].kind, DialogKind::MsgBox);
  EXPECT_EQ(dialogs.Last().text, L"Soll der Prozess wirklich beendet werden? Das System könnte instabil werden.");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconQuestion | mb::kYesNo);
  EXPECT_TRUE(HelperEnded(0));
  EXPECT_TRUE(HelperEnded(1));
  EXPECT_EQ(Listed(kHelper), 0);
  Close();
}

TEST_F(ProcessPageTest, KillWithNothingSelectedOrANameThatIsGone) {
  Start();
  SelectPage(TFormSysInfo::kProcess);
  const std::size_t before = dialogs.calls.size();
  ListBox(main->Ctl(L"ListBox1")).Select(-1);
  Click(L"BtnKill");
  ASSERT_EQ(dialogs.calls.size(), before + 1) << "one error report, nothing asked";
  EXPECT_EQ(dialogs.Last().caption, L"Corvel");
  EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);

  // A name no process has any more: asked, then the administrator message.
  ListBox list(main->Ctl(L"ListBox1"));
  const int at = list.Add(L"gone_long_ago.exe");
  list.Select(at);
  dialogs.AnswerBox(mb::kIdYes);
  Click(L"BtnKill");
  ASSERT_GE(dialogs.calls.size(), 2u);
  const DialogCall& admin = dialogs.calls.back();
  EXPECT_EQ(admin.kind, DialogKind::MessageDlg);
  EXPECT_EQ(admin.type, DlgType::Error);
  EXPECT_EQ(admin.text, L"Sie müssen Corvel als Administrator ausführen, um den Prozess zu beenden!");
  Close();
}

TEST_F(ProcessPageTest, SearchOpensTheChosenSiteWithTheNameEncoded) {
  Start();
  SelectPage(TFormSysInfo::kProcess);
  ListBox list(main->Ctl(L"ListBox1"));
  list.Select(-1);
  Click(L"BitBtn41");
  EXPECT_TRUE(shell.calls.empty()) << "nothing selected: nothing opened";
  list.Select(list.Add(L"a b&c.exe"));
  Click(L"BitBtn41");
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, L"http://www.google.com/search?hl=en&q=a%20b%26c.exe");
  EXPECT_EQ(shell.calls[0].verb, L"open");
  SetChecked(main->Ctl(L"RadioButton1"), false);
  SetChecked(main->Ctl(L"RadioButton2"), true);
  Click(L"BitBtn41");
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].file, L"http://www.google.de/search?q=a%20b%26c.exe");
  Close();
}

// The real drive table and device paths of the test prefix.
TEST(ProcessReadings, DeviceNamesOfTheDrivesTranslateBack) {
  const std::vector<DosDrive> drives = DosDrives();
  ASSERT_FALSE(drives.empty());
  for (const DosDrive& d : drives) {
    if (d.device.empty()) continue;
    const std::wstring translated = DevicePathToDrivePath(d.device + L"\\x.exe", drives);
    EXPECT_FALSE(translated.empty()) << Narrow(d.device);
  }
}

}  // namespace
}  // namespace corvel
