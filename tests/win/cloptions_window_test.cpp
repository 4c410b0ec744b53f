// The cleaner's options window in-process: rule lines from the inputs, the
// edit round trip, and when the list file is written and when it is kept.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "base/codepage.h"
#include "base/text.h"
#include "cleaner/cloptions_window.h"
#include "cleaner/rule_list.h"
#include "doubles/recording_help.h"
#include "doubles/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "win/files.h"

namespace corvel {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

class ClOptionsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<TFormClOptions>(dialogs, codePage, help);
    window->Create(nullptr);
    window->listFile = folder / L"lgxdata\\cleaner.lst";
    Open(1);
  }
  void TearDown() override {
    ShowWindow(window->hwnd(), SW_HIDE);
    app::ProcessMessages();
  }
  void Open(int language) {
    window->language = language;
    window->Show();
    app::ProcessMessages();
    dialogs.calls.clear();
  }
  void Click(const wchar_t* name) {
    const auto button = window->ToolButton(name);
    ASSERT_TRUE(button.bar.Click(button.command)) << Narrow(name);
  }
  bool Visible() { return IsWindowVisible(window->hwnd()) != FALSE; }

  TempFolder folder;
  ScriptedDialogs dialogs;
  Latin1CodePage codePage;
  RecordingHelp help;
  std::unique_ptr<TFormClOptions> window;
};

TEST_F(ClOptionsWindow, AddChecksInOrderAndLineForms) {
  struct Case {
    RuleInputs in;
    const wchar_t* line;   // null: refused with the message
    const wchar_t* message;
  };
  const Case cases[] = {
      {{L"C:\\Temp", 0, L"*.tmp", false, L"10", false}, L"C:\\Temp\\*.*", nullptr},
      {{L"  C:\\Temp\\  ", 1, L" *.bak ", false, L"10", true}, L"C:\\Temp\\*.bak /u", nullptr},
      {{L"C:\\", 1, L"*.tmp;*.old", true, L"00", true}, L"C:\\*.tmp;*.old /u /d00", nullptr},
      {{L"D:\\x", 1, L"a.txt", true, L"5", false}, L"D:\\x\\a.txt /d5", nullptr},
      {{L"   ", 1, L"", true, L"0", false}, nullptr, L"No path selected!"},
      {{L"C:\\T", 0, L"*.tmp", false, L"0", false}, nullptr, L"0 days is not valid!"},
      {{L"C:\\T", 1, L"  ", false, L"0", false}, nullptr, L"0 days is not valid!"},
      {{L"C:\\T", 1, L"  ", true, L"3", false}, nullptr, L"Invalid file mask!"},
      // No day count with the age option: refused like "0".
      {{L"C:\\T", 1, L"*.log", true, L"", false}, nullptr, L"0 days is not valid!"},
      {{L"C:/users/me/temp", 1, L"*.tmp", false, L"", false}, L"C:\\users\\me\\temp\\*.tmp", nullptr},
      {{L"C:\\T", 1, L"*.tmp /u", false, L"10", false}, nullptr, L"Invalid file mask!"},
  };
  std::vector<std::wstring> expected;
  for (const auto& c : cases) {
    dialogs.calls.clear();
    window->SetInputs(c.in);
    Click(L"ToolButton5");
    if (c.line) {
      expected.push_back(c.line);
      EXPECT_TRUE(dialogs.calls.empty()) << Narrow(c.line);
      // The inputs are reset; the day count stays.
      const RuleInputs after = window->Inputs();
      EXPECT_EQ(after.folder, L"");
      EXPECT_EQ(after.mask, L"*.tmp");
      EXPECT_EQ(after.maskChoice, 0);
      EXPECT_FALSE(after.ageOn);
      EXPECT_FALSE(after.subfolders);
      EXPECT_EQ(after.days, c.in.days);
    } else {
      ASSERT_EQ(dialogs.calls.size(), 1u) << Narrow(c.message);
      EXPECT_EQ(dialogs.Last().text, c.message);
      EXPECT_EQ(dialogs.Last().caption, L"Options");
      EXPECT_EQ(dialogs.Last().flags, mb::kOk | mb::kIconError);
      EXPECT_EQ(window->Inputs().folder, c.in.folder) << "a refused rule keeps the inputs";
    }
    EXPECT_EQ(window->Items(), expected);
  }
  EXPECT_TRUE(window->Changed());
}

TEST_F(ClOptionsWindow, GermanMessagesAndTexts) {
  Open(0);
  EXPECT_EQ(GetText(window->hwnd()), L"Eigene Verzeichnisse hinzuf\u00fcgen");
  EXPECT_EQ(GetText(window->Ctl(L"Label1")), L"Tage sind.");
  EXPECT_EQ(window->Hint(L"ToolButton5"), L"Eintrag zur Liste hinzuf\u00fcgen");
  Click(L"ToolButton5");
  EXPECT_EQ(dialogs.Last().text, L"Keine Pfadangabe vorhanden!");
  EXPECT_EQ(dialogs.Last().caption, L"Optionen");
  Click(L"ToolButton6");
  EXPECT_EQ(dialogs.Last().text, L"Kein Eintrag ausgew\u00e4hlt!");
  EXPECT_EQ(dialogs.Last().flags, mb::kOk | mb::kIconWarning);

  Open(1);
  EXPECT_EQ(GetText(window->hwnd()), L"Add your own directories");
  EXPECT_EQ(GetText(window->Ctl(L"RadioGroup1.Item1")), L"File mask:");
  EXPECT_EQ(GetText(window->Ctl(L"EditPfad.EditLabel")), L"Directory");
  EXPECT_EQ(window->Hint(L"ToolButton1"), L"Quit");
  EXPECT_EQ(window->Hint(L"ToolButton6"), L"Edit item");
  Click(L"ToolButton6");
  EXPECT_EQ(dialogs.Last().text, L"No item selected!");
  EXPECT_EQ(dialogs.Last().caption, L"Options");
}

TEST_F(ClOptionsWindow, ShowLoadsTheListAndEditTakesALineBack) {
  CreateDirectoryW((folder / L"lgxdata").c_str(), nullptr);
  WriteBytes(window->listFile, "C:\\T\\*.tmp /u /d12\r\nD:\\Data\\*.*\r\nE:\\a.TXT /U\r\n");
  Open(1);
  ASSERT_EQ(window->Items(), (std::vector<std::wstring>{L"C:\\T\\*.tmp /u /d12", L"D:\\Data\\*.*", L"E:\\a.TXT /U"}));
  EXPECT_FALSE(window->Changed());

  struct Case { int index; RuleInputs before; RuleInputs after; };
  const Case cases[] = {
      {0, {L"", 0, L"*.tmp", false, L"10", false}, {L"C:\\T\\", 1, L"*.tmp", true, L"12", true}},
      // The boxes are only ever ticked, never cleared.
      {0, {L"", 1, L"x", true, L"7", true}, {L"D:\\Data\\", 0, L"x", true, L"7", true}},
      // Upper-case "/U" is no option: it stays in the mask.
      {0, {L"", 0, L"*.tmp", false, L"10", false}, {L"E:\\", 1, L"a.TXT /U", false, L"10", false}},
  };
  for (const auto& c : cases) {
    window->SetInputs(c.before);
    window->Select(c.index);
    Click(L"ToolButton6");
    const RuleInputs in = window->Inputs();
    EXPECT_EQ(in.folder, c.after.folder);
    EXPECT_EQ(in.maskChoice, c.after.maskChoice) << Narrow(c.after.folder);
    EXPECT_EQ(in.mask, c.after.mask) << Narrow(c.after.folder);
    EXPECT_EQ(in.ageOn, c.after.ageOn) << Narrow(c.after.folder);
    EXPECT_EQ(in.days, c.after.days) << Narrow(c.after.folder);
    EXPECT_EQ(in.subfolders, c.after.subfolders) << Narrow(c.after.folder);
    EXPECT_TRUE(window->Changed());
  }
  EXPECT_TRUE(window->Items().empty()) << "each edited line leaves the list";

  // Round trip: a line taken back and added again is the same line.
  Open(1);
  window->Select(0);
  Click(L"ToolButton6");
  Click(L"ToolButton5");
  EXPECT_EQ(window->Items().back(), L"C:\\T\\*.tmp /u /d12");
}

TEST_F(ClOptionsWindow, DeleteRemovesTheSelectedItemOnly) {
  for (const wchar_t* f : {L"A:\\", L"B:\\", L"C:\\"}) {
    window->SetInputs({f, 0, L"*.tmp", false, L"10", false});
    Click(L"ToolButton5");
  }
  window->Select(1);
  Click(L"ToolButton2");
  EXPECT_EQ(window->Items(), (std::vector<std::wstring>{L"A:\\*.*", L"C:\\*.*"}));
  window->Select(-1);
  Click(L"ToolButton2");
  EXPECT_EQ(window->Items().size(), 2u);
  EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ClOptionsWindow, SaveCreatesTheFolderAndAnEmptyListEmptiesTheFile) {
  window->SetInputs({L"C:\\Temp", 1, L"*.log", true, L"3", true});
  Click(L"ToolButton5");
  Click(L"ToolButton3");
  EXPECT_FALSE(window->Changed());
  EXPECT_TRUE(DirectoryExists(folder / L"lgxdata"));
  EXPECT_EQ(ReadWholeFile(window->listFile), std::optional<std::string>("C:\\Temp\\*.log /u /d3\r\n"));

  Open(1);
  ASSERT_EQ(window->Items().size(), 1u);
  window->Select(0);
  Click(L"ToolButton2");
  ASSERT_TRUE(window->Items().empty());
  Click(L"ToolButton3");
  EXPECT_FALSE(window->Changed());
  EXPECT_TRUE(dialogs.calls.empty());
  // The rules the user deleted must not go on deleting files.
  EXPECT_EQ(ReadWholeFile(window->listFile), std::optional<std::string>(""))
      << "an empty list empties the file";
  Open(1);
  EXPECT_TRUE(window->Items().empty());
}

// A list that exists but cannot be read is not replaced by the empty window:
// every save is refused with the reason until the list has been read.
TEST_F(ClOptionsWindow, UnreadableListIsNeverOverwritten) {
  CreateDirectoryW((folder / L"lgxdata").c_str(), nullptr);
  WriteBytes(window->listFile, "C:\\Old\\*.*\r\n");
  HANDLE lock = CreateFileW(window->listFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  window->language = 1;
  window->Show();
  app::ProcessMessages();
  ASSERT_EQ(dialogs.calls.size(), 1u) << "the failed read is reported";
  const DialogCall readError = dialogs.Last();
  EXPECT_EQ(readError.caption, Dialogs::ApplicationTitle());
  EXPECT_EQ(readError.flags, mb::kOk | mb::kIconError);
  EXPECT_TRUE(window->Items().empty());

  for (const bool withRule : {false, true}) {
    dialogs.calls.clear();
    if (withRule) {
      window->SetInputs({L"C:\\New", 0, L"*.tmp", false, L"10", false});
      Click(L"ToolButton5");
    }
    Click(L"ToolButton3");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.Last().text, readError.text);
    EXPECT_EQ(dialogs.Last().caption, Dialogs::ApplicationTitle());
    EXPECT_EQ(dialogs.Last().flags, mb::kOk | mb::kIconError);
  }
  EXPECT_TRUE(window->Changed());
  // Closing with Yes is refused the same way and keeps the window.
  dialogs.calls.clear();
  dialogs.AnswerBox(mb::kIdYes);
  Click(L"ToolButton1");
  ASSERT_EQ(dialogs.calls.size(), 2u);
  EXPECT_EQ(dialogs.Last().text, readError.text);
  EXPECT_TRUE(Visible());
  CloseHandle(lock);
  EXPECT_EQ(ReadWholeFile(window->listFile), std::optional<std::string>("C:\\Old\\*.*\r\n"));

  // Read at the next showing: saving works again.
  Open(1);
  ASSERT_EQ(window->Items(), (std::vector<std::wstring>{L"C:\\Old\\*.*"}));
  window->SetInputs({L"C:\\New", 0, L"*.tmp", false, L"10", false});
  Click(L"ToolButton5");
  Click(L"ToolButton3");
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(ReadWholeFile(window->listFile), std::optional<std::string>("C:\\Old\\*.*\r\nC:\\New\\*.*\r\n"));
}

// The list's folder cannot be made: the standard error box, not the write
// message, and the changed flag stays, with rules and with an empty list.
TEST_F(ClOptionsWindow, FolderThatCannotBeMadeIsReportedAndKeepsTheChanges) {
  WriteBytes(folder / L"blocked", "a file where the folder would be");
  const std::wstring lists[] = {folder / L"missing\\lgxdata\\cleaner.lst", folder / L"blocked\\cleaner.lst"};
  for (const std::wstring& list : lists) {
    for (const bool empty : {false, true}) {
      window->listFile = list;
      Open(1);
      if (!empty) {
        window->SetInputs({L"C:\\T", 0, L"*.tmp", false, L"10", false});
        Click(L"ToolButton5");
      } else {
        Click(L"ToolButton2");  // nothing selected: only the changed flag
      }
      ASSERT_TRUE(window->Changed());
      Click(L"ToolButton3");
      SCOPED_TRACE(Narrow(list) + (empty ? " (empty list)" : ""));
      ASSERT_EQ(dialogs.calls.size(), 1u);
      EXPECT_EQ(dialogs.Last().caption, Dialogs::ApplicationTitle());
      EXPECT_EQ(dialogs.Last().flags, mb::kOk | mb::kIconError);
      EXPECT_NE(dialogs.Last().text, L"Error saving list file!");
      EXPECT_TRUE(window->Changed());
      EXPECT_FALSE(FileExists(list));
    }
  }
  EXPECT_EQ(ReadWholeFile(folder / L"blocked"), std::optional<std::string>("a file where the folder would be"));
}

TEST_F(ClOptionsWindow, FailedSaveKeepsTheOldListAndTheWindow) {
  CreateDirectoryW((folder / L"lgxdata").c_str(), nullptr);
  WriteBytes(window->listFile, "C:\\Old\\*.*\r\n");
  Open(1);
  window->SetInputs({L"C:\\New", 0, L"*.tmp", false, L"10", false});
  Click(L"ToolButton5");
  // Another program holds the list open without sharing: it cannot be replaced.
  HANDLE lock = CreateFileW(window->listFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Click(L"ToolButton3");
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.Last().text, L"Error saving list file!");
  EXPECT_EQ(dialogs.Last().flags, mb::kOk | mb::kIconError);
  EXPECT_TRUE(window->Changed()) << "the rules are not on disk yet";

  dialogs.calls.clear();
  dialogs.AnswerBox(mb::kIdYes);
  Click(L"ToolButton1");
  ASSERT_EQ(dialogs.calls.size(), 2u);
  EXPECT_EQ(dialogs.calls[0].text, L"Save now?");
  EXPECT_EQ(dialogs.Last().text, L"Error saving list file!");
  EXPECT_TRUE(Visible()) << "a failed save on closing keeps the window";
  CloseHandle(lock);
  EXPECT_EQ(ReadWholeFile(window->listFile), std::optional<std::string>("C:\\Old\\*.*\r\n"));

  dialogs.AnswerBox(mb::kIdNo);
  Click(L"ToolButton1");
  EXPECT_FALSE(Visible());
  EXPECT_EQ(ReadWholeFile(window->listFile), std::optional<std::string>("C:\\Old\\*.*\r\n"));
}

TEST_F(ClOptionsWindow, ClosePromptOnlyWithChanges) {
  Click(L"ToolButton1");
  EXPECT_FALSE(Visible());
  EXPECT_TRUE(dialogs.calls.empty());

  struct Case { int language; int answer; bool written; };
  const Case cases[] = {{1, mb::kIdNo, false}, {0, mb::kIdYes, true}};
  for (const auto& c : cases) {
    Open(c.language);
    DeleteFileW(window->listFile.c_str());
    window->SetInputs({L"C:\\T", 0, L"*.tmp", false, L"10", false});
    Click(L"ToolButton5");
    dialogs.AnswerBox(c.answer);
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.Last().text, c.language ? L"Save now?" : L"Jetzt speichern?");
    EXPECT_EQ(dialogs.Last().caption, c.language ? L"Changes" : L"\u00c4nderungen");
    EXPECT_EQ(dialogs.Last().flags, mb::kYesNo | mb::kIconQuestion);
    EXPECT_FALSE(Visible());
    EXPECT_EQ(FileExists(window->listFile), c.written);
  }
}

TEST_F(ClOptionsWindow, SelectFolderAndHelp) {
  dialogs.AnswerText(L"D:\\Chosen");
  Click(L"ToolButton4");
  EXPECT_EQ(dialogs.Last().kind, DialogKind::SelectFolder);
  EXPECT_EQ(window->Inputs().folder, L"D:\\Chosen");
  dialogs.AnswerCancel();
  Click(L"ToolButton4");
  EXPECT_EQ(window->Inputs().folder, L"D:\\Chosen");

  help.SetFile(L"X:\\app.chm");
  EXPECT_TRUE(window->PreviewKeyDown(VK_F1));
  ASSERT_EQ(help.calls.size(), 1u);
  const std::wstring file = help.calls[0].file;
  const unsigned context = help.calls[0].context;
  EXPECT_EQ(file, L"X:\\app.chm");
  EXPECT_EQ(context, 210u);
  EXPECT_FALSE(window->PreviewKeyDown(VK_F2));
}

// The place the cleaner reads: the common application-data folder.
TEST_F(ClOptionsWindow, SavesUnderTheCommonApplicationData) {
  wchar_t common[MAX_PATH] = L"";
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, common), S_OK);
  window->listFile = RuleListPath(common);
  const std::wstring data = std::wstring(common) + L"\\lgxdata";
  const bool hadFolder = DirectoryExists(data);
  ASSERT_FALSE(FileExists(window->listFile)) << "the test prefix holds no list of its own";
  Open(1);
  window->SetInputs({L"C:\\T", 0, L"*.tmp", false, L"10", false});
  Click(L"ToolButton5");
  Click(L"ToolButton3");
  const auto bytes = ReadWholeFile(window->listFile);
  DeleteFileW(window->listFile.c_str());
  if (!hadFolder) RemoveDirectoryW(data.c_str());
  EXPECT_EQ(bytes, std::optional<std::string>("C:\\T\\*.*\r\n"));
}

}  // namespace
}  // namespace corvel
