// The Autostart page against the real registry and startup folders of the
// test prefix, on values and files the tests create and remove.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/path.h"
#include "support/main_window_fixture.h"
#include "tools/autostart.h"
#include "tools/check_user_window.h"
#include "win/control_wrappers.h"
#include "win/registry.h"

namespace corvel {
namespace {

constexpr const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void PutValue(HKEY root, REGSAM view, const std::wstring& name, const std::wstring& data, DWORD type = REG_SZ) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, kRun, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

bool HasValue(HKEY root, REGSAM view, const std::wstring& name) {
  const auto key = RegistryKey::Open(root, kRun, KEY_READ | view);
  return key && key->ValueType(name.c_str());
}

std::wstring ValueText(HKEY root, const std::wstring& name) { return RegistryText(root, kRun, name.c_str()); }

void DeleteValue(HKEY root, REGSAM view, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, kRun, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
}

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
  return path;
}

void Touch(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << Narrow(path);
  CloseHandle(h);
}

// Answers TFormCheckUser when it shows: the given item and OK, or Cancel.
struct CheckUserAnswer {
  static inline int item = 0;
  static inline bool ok = true;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowW(L"TFormCheckUser", nullptr);
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, id);
    auto* form = dynamic_cast<TFormCheckUser*>(Window::FromHwnd(dialog));
    for (int i = 0; i < 4; ++i)
      SetChecked(form->Ctl((L"RadioGroup1.Item" + std::to_wstring(i)).c_str()), i == item);
    PostMessageW(form->Ctl(ok ? L"BitBtn1" : L"BitBtn2"), BM_CLICK, 0, 0);
  }
  static void Arm(int choose, bool accept) {
    item = choose;
    ok = accept;
    SetTimer(nullptr, 0, 30, Tick);
  }
};

class AutostartPageTest : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    common = Folder(CSIDL_COMMON_STARTUP);
    user = Folder(CSIDL_STARTUP);
  }
  void TearDown() override {
    for (const wchar_t* name : kNames) {
      for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) DeleteValue(root, 0, name);
      DeleteValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, name);
      for (const std::wstring& folder : {common, user}) {
        DeleteFileW(JoinPath(folder, name).c_str());
        DeleteFileW(JoinPath(folder, std::wstring(name) + L".lnk").c_str());
        DeleteFileW(JoinPath(folder, std::wstring(name) + L".exe").c_str());
      }
    }
    checkUser.reset();
    MainWindow::TearDown();
  }
  void StartWithCheckUser() {
    Start();
    checkUser = std::make_unique<TFormCheckUser>(dialogs);
    checkUser->Create(main->hwnd());
    tools.checkUser = checkUser.get();
    main->SetTools(tools);
  }
  std::vector<std::wstring> Items() { return ListBox(main->Ctl(L"ListBoxAutoS")).Items(); }
  // Selects the n-th entry of that name and lets the page react as to a click.
  void Choose(const std::wstring& name, int nth = 0) {
    ListBox list(main->Ctl(L"ListBoxAutoS"));
    const std::vector<std::wstring> items = list.Items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
      if (items[i] == name && nth-- == 0) {
        list.Select(i);
        SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list.hwnd()), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list.hwnd()));
        return;
      }
    ADD_FAILURE() << "not listed: " << Narrow(name);
  }
  std::vector<std::wstring> Details() { return SplitLinesCrLf(GetText(main->Ctl(L"MemoAS"))); }
  void Click(const wchar_t* button) { SendMessageW(main->Ctl(button), BM_CLICK, 0, 0); }
  void Refill() {
    SelectPage(TFormSysInfo::kControl);
    SelectPage(TFormSysInfo::kAutostart);
  }

  static constexpr const wchar_t* kNames[] = {L"CorvelBoth", L"CorvelMachine", L"CorvelUser", L"CorvelExpand",
                                              L"CorvelLink", L"CorvelUserFile", L"CorvelHidden", L"CorvelWow",
                                              L"CorvelAdded.exe", L"corvel_autostart_tool.exe", L"CorvelOnly"};
  std::wstring common, user;
  std::unique_ptr<TFormCheckUser> checkUser;
};

TEST_F(AutostartPageTest, ListsInSourceOrderAndShowsDetails) {
  const std::wstring program = ProgramFolder() + L"keylog_helper.exe";  // it carries a version resource
  PutValue(HKEY_LOCAL_MACHINE, 0, L"CorvelMachine", L"\"" + program + L"\" /x");
  PutValue(HKEY_LOCAL_MACHINE, 0, L"CorvelBoth", L"C:\\machine.exe");
  PutValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"CorvelWow", L"C:\\wow.exe");
  PutValue(HKEY_CURRENT_USER, 0, L"CorvelBoth", L"C:\\user.exe");
  PutValue(HKEY_CURRENT_USER, 0, L"CorvelExpand", L"%windir%\\x.exe", REG_EXPAND_SZ);
  Touch(JoinPath(common, L"CorvelLink.lnk"));
  Touch(JoinPath(user, L"CorvelUserFile.exe"));
  Touch(JoinPath(user, L"CorvelHidden.exe"), FILE_ATTRIBUTE_HIDDEN);
  StartWithCheckUser();
  SelectPage(TFormSysInfo::kAutostart);
  EXPECT_TRUE(dialogs.calls.empty());

  const std::vector<std::wstring> items = Items();
  auto at = [&](const std::wstring& name, int nth = 0) {
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
      if (items[i] == name && nth-- == 0) return i;
    return -1;
  };
  ASSERT_GE(at(L"CorvelMachine"), 0);
  EXPECT_LT(at(L"CorvelMachine"), at(L"CorvelWow")) << "the machine's own view, then the 32-bit one";
  EXPECT_LT(at(L"CorvelWow"), at(L"CorvelExpand")) << "then the user's values";
  EXPECT_GE(at(L"CorvelBoth", 1), 0) << "a name under both keys is listed twice";
  const int link = at(L"CorvelLink");
  ASSERT_GE(link, 0) << "a shortcut without its .lnk";
  EXPECT_GT(link, at(L"CorvelExpand")) << "the common folder after the registry";
  EXPECT_EQ(at(L"CorvelHidden"), -1);
  EXPECT_EQ(at(L"CorvelHidden.exe"), -1) << "hidden files are left out";
  const int userFile = std::max(at(L"CorvelUserFile"), at(L"CorvelUserFile.exe"));
  EXPECT_GT(userFile, link) << "the user's folder last";

  // A value under both keys: the user's first.
  Choose(L"CorvelBoth");
  EXPECT_EQ(Details(), RegistryDetailLines(L"HKEY_CURRENT_USER", kRun, L"C:\\user.exe"));
  // A machine value names its program: the version block, then the value.
  Choose(L"CorvelMachine");
  std::vector<std::wstring> lines = Details();
  ASSERT_GE(lines.size(), 15u);
  EXPECT_EQ(lines[0], L" ");
  EXPECT_TRUE(lines[1].starts_with(L"Productname:")) << Narrow(lines[1]);
  const std::vector<std::wstring> tail(lines.end() - 5, lines.end());
  EXPECT_EQ(tail, RegistryDetailLines(L"HKEY_LOCAL_MACHINE", kRun, L"\"" + program + L"\" /x"));
  // The 32-bit view names its key.
  Choose(L"CorvelWow");
  EXPECT_EQ(Details(), RegistryDetailLines(L"HKEY_LOCAL_MACHINE", kRunKey32, L"C:\\wow.exe"));
  // Not a plain string: nothing to tell.
  Choose(L"CorvelExpand");
  EXPECT_EQ(Details(), std::vector<std::wstring>{L"No registry info available"});
  // Startup folders: the common one's file, the user's folder and command.
  Choose(L"CorvelLink");
  EXPECT_EQ(Details(), CommonFolderDetailLines(JoinPath(common, L"CorvelLink")));
  Choose(items[userFile]);
  EXPECT_EQ(Details(), UserFolderDetailLines(user, items[userFile]));
  Close();
}

TEST_F(AutostartPageTest, RemovesTheUsersValueFirstAndShortcutsByTheirLinkFile) {
  PutValue(HKEY_LOCAL_MACHINE, 0, L"CorvelBoth", L"C:\\machine.exe");
  PutValue(HKEY_CURRENT_USER, 0, L"CorvelBoth", L"C:\\user.exe");
  PutValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"CorvelWow", L"C:\\wow.exe");
  Touch(JoinPath(common, L"CorvelLink.lnk"));
  StartWithCheckUser();
  SelectPage(TFormSysInfo::kAutostart);
  main->UiLanguage();

  dialogs.AnswerBox(mb::kIdYes);
  Choose(L"CorvelBoth");
  Click(L"BitBtn39");
  ASSERT_EQ(dialogs.calls.size(), 2u);
  EXPECT_EQ(dialogs.calls[0].text, L"CorvelBoth entfernen?");
  EXPECT_EQ(dialogs.calls[0].caption, L"Autostart");
  EXPECT_EQ(dialogs.calls[1].text, L"CorvelBoth entfernt.");
  EXPECT_EQ(dialogs.calls[1].caption, L"Registry");
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, 0, L"CorvelBoth"));
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, 0, L"CorvelBoth")) << "the machine's stays";

  dialogs.AnswerBox(mb::kIdYes);
  Choose(L"CorvelWow");
  Click(L"BitBtn39");
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"CorvelWow")) << "found after the other two keys";

  dialogs.calls.clear();
  dialogs.AnswerBox(mb::kIdNo);
  Choose(L"CorvelLink");
  Click(L"BitBtn39");
  EXPECT_EQ(GetFileAttributesW(JoinPath(common, L"CorvelLink.lnk").c_str()) != INVALID_FILE_ATTRIBUTES, true)
      << "No keeps it";
  dialogs.AnswerBox(mb::kIdYes);
  Click(L"BitBtn39");
  EXPECT_EQ(GetFileAttributesW(JoinPath(common, L"CorvelLink.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(dialogs.calls.size(), 2u) << "a file's removal is not confirmed";
  const std::vector<std::wstring> items = Items();
  EXPECT_EQ(std::count(items.begin(), items.end(), L"CorvelLink"), 0) << "the list is refilled";
  Close();
}

TEST_F(AutostartPageTest, AddsToEveryTargetAndRefusesDuplicates) {
  const std::wstring program = ProgramFolder() + L"corvel_autostart_tool.exe";
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"keylog_helper.exe").c_str(), program.c_str(), FALSE));
  StartWithCheckUser();
  SelectPage(TFormSysInfo::kAutostart);
  const std::wstring name = L"corvel_autostart_tool.exe";

  // Cancelling the target dialog adds nothing.
  dialogs.AnswerText(program).AnswerText(name);
  CheckUserAnswer::Arm(1, false);
  Click(L"BitBtnAdd");
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, 0, name));

  // The user's key, with typed parameters kept in the command.
  dialogs.AnswerText(program).AnswerText(name + L" /min");
  CheckUserAnswer::Arm(1, true);
  Click(L"BitBtnAdd");
  EXPECT_EQ(ValueText(HKEY_CURRENT_USER, name), program + L" /min");
  const DialogCall& query = dialogs.calls[dialogs.calls.size() - 1];
  EXPECT_EQ(query.kind, DialogKind::InputQuery);
  EXPECT_EQ(query.caption, L"Parameter");
  EXPECT_EQ(query.text, L"Startparameter angeben");
  EXPECT_EQ(query.value, name);
  std::vector<std::wstring> items = Items();
  EXPECT_EQ(std::count(items.begin(), items.end(), name), 1) << "listed after the addition";

  // The same name again: refused before the target is asked.
  dialogs.AnswerText(program).AnswerText(name);
  Click(L"BitBtnAdd");
  EXPECT_EQ(dialogs.Last().text, L"Eintrag existiert bereits!");
  EXPECT_EQ(dialogs.Last().caption, L"Autorun");
  DeleteValue(HKEY_CURRENT_USER, 0, name);

  // The machine's key.
  dialogs.AnswerText(program).AnswerText(name);
  CheckUserAnswer::Arm(0, true);
  Click(L"BitBtnAdd");
  EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, name), program);
  DeleteValue(HKEY_LOCAL_MACHINE, 0, name);

  // The two folders: a copy under the entry's name; typed parameters make
  // the command no file, and the copy fails.
  for (int item : {2, 3}) {
    const std::wstring folder = item == 2 ? common : user;
    dialogs.AnswerText(program).AnswerText(name);
    CheckUserAnswer::Arm(item, true);
    Click(L"BitBtnAdd");
    EXPECT_EQ(dialogs.Last().text, L"Autostart-Eintrag hinzugefügt") << item;
    EXPECT_NE(GetFileAttributesW(JoinPath(folder, name).c_str()), INVALID_FILE_ATTRIBUTES) << item;
    DeleteFileW(JoinPath(folder, name).c_str());
    dialogs.AnswerText(program).AnswerText(name + L" /x");
    CheckUserAnswer::Arm(item, true);
    Click(L"BitBtnAdd");
    EXPECT_EQ(dialogs.Last().text, L"Fehler beim Kopieren der Datei in den Autostart-Ordner") << item;
  }
  Close();
  DeleteFileW(program.c_str());
}

// A machine key this user may read but not write: still listed; adding
// there reports the refusal naming the value and writes nothing.
TEST_F(AutostartPageTest, MachineKeyReadOnlyStillListsAndRefusesAdding) {
  PutValue(HKEY_LOCAL_MACHINE, 0, L"CorvelOnly", L"C:\\only.exe");
  HKEY run = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRun, 0, READ_CONTROL | WRITE_DAC, &run), ERROR_SUCCESS);
  // Everyone may read; nobody may set values.
  PSECURITY_DESCRIPTOR before = nullptr;
  PACL beforeDacl = nullptr;
  ASSERT_EQ(GetSecurityInfo(run, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &beforeDacl, nullptr,
                            &before),
            ERROR_SUCCESS);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  EXPLICIT_ACCESSW access[2] = {};
  access[0].grfAccessPermissions = KEY_READ | WRITE_DAC | READ_CONTROL;
  access[0].grfAccessMode = GRANT_ACCESS;
  access[0].Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access[0].Trustee.ptstrName = static_cast<LPWSTR>(everyone);
  access[1] = access[0];
  access[1].grfAccessPermissions = KEY_SET_VALUE;
  access[1].grfAccessMode = DENY_ACCESS;
  PACL dacl = nullptr;
  SetEntriesInAclW(2, access, nullptr, &dacl);
  ASSERT_EQ(SetSecurityInfo(run, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr),
            ERROR_SUCCESS);
  HKEY probe = nullptr;
  const bool enforced = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRun, 0, KEY_SET_VALUE, &probe) != ERROR_SUCCESS;
  if (probe) RegCloseKey(probe);

  StartWithCheckUser();
  SelectPage(TFormSysInfo::kAutostart);
  const std::vector<std::wstring> items = Items();
  EXPECT_EQ(std::count(items.begin(), items.end(), L"CorvelOnly"), 1) << "read access lists it";
  if (enforced) {
    // The entry is named after the program's file.
    dialogs.AnswerText(L"C:\\CorvelAdded.exe").AnswerText(L"CorvelAdded.exe");
    CheckUserAnswer::Arm(0, true);
    Click(L"BitBtnAdd");
    EXPECT_EQ(dialogs.Last().flags, mb::kIconError | mb::kOk);
    EXPECT_NE(dialogs.Last().text.find(L"CorvelAdded.exe"), std::wstring::npos) << Narrow(dialogs.Last().text);
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, 0, L"CorvelAdded.exe"));
  } else {
    std::printf("[  NOTE    ] this registry does not enforce the key's access list: the refused write not run\n");
  }
  Close();
  SetSecurityInfo(run, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, beforeDacl, nullptr);
  LocalFree(dacl);
  LocalFree(before);
  FreeSid(everyone);
  RegCloseKey(run);
}

}  // namespace
}  // namespace corvel
