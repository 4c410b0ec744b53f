// A Dialogs double for tests: records every call and answers from a queue.
// Header-only and portable, so native and Windows tests share it.
#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/dialogs.h"

namespace corvel {

enum class DialogKind { MsgBox, MessageDlg, InputQuery, OpenFile, SaveFile, SelectFolder };

struct DialogCall {
  DialogKind kind;
  std::wstring text;     // message text; InputQuery prompt; SelectFolder title; file dialog title
  std::wstring caption;  // MessageBox and InputQuery caption
  unsigned flags = 0;    // MessageBox flags; MessageDlg buttons
  DlgType type = DlgType::Custom;  // MessageDlg type
  std::wstring value;    // what the caller handed in: InputQuery preset, path or folder preset
  FileDialogOptions options;   // OpenFile and SaveFile
};

struct DialogAnswer {
  int id = 0;                         // MessageBox: IDxxx; 0 presses the box's default button
  DlgResult result = DlgResult::None; // MessageDlg: None presses the default button (OK, else Yes)
  bool accept = true;                 // InputQuery and the file/folder dialogs: false cancels
  std::optional<std::wstring> value;  // their answer; unset keeps the preset
};

class ScriptedDialogs : public Dialogs {
 public:
  std::vector<DialogCall> calls;
  std::deque<DialogAnswer> answers;
  // Used when the queue is empty: Enter on every box, Cancel on every input or file dialog.
  DialogAnswer fallback{0, DlgResult::None, false, std::nullopt};

  ScriptedDialogs& Answer(DialogAnswer a) { answers.push_back(std::move(a)); return *this; }
  ScriptedDialogs& AnswerBox(int id) { return Answer({id, DlgResult::None, true, std::nullopt}); }
  ScriptedDialogs& AnswerDlg(DlgResult r) { return Answer({0, r, true, std::nullopt}); }
  ScriptedDialogs& AnswerText(std::wstring v) { return Answer({0, DlgResult::None, true, std::move(v)}); }
  ScriptedDialogs& AnswerCancel() { return Answer({0, DlgResult::None, false, std::nullopt}); }

  std::size_t Count(DialogKind kind) const {
    std::size_t n = 0;
    for (const auto& c : calls) n += c.kind == kind;
    return n;
  }
  const DialogCall& Last() const { return calls.back(); }

  int ShowMessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) override {
    calls.push_back({DialogKind::MsgBox, text, caption, flags, DlgType::Custom, {}, {}});
    const DialogAnswer a = Next();
    return a.id != 0 ? a.id : DefaultBoxButton(flags);
  }

  DlgResult MessageDlg(const std::wstring& text, DlgType type, unsigned buttons) override {
    calls.push_back({DialogKind::MessageDlg, text, {}, buttons, type, {}, {}});
    const DialogAnswer a = Next();
    return a.result != DlgResult::None ? a.result : DefaultDlgButton(buttons);
  }

  bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) override {
    calls.push_back({DialogKind::InputQuery, prompt, caption, 0, DlgType::Custom, value, {}});
    return Accept(value);
  }

  bool OpenFile(const FileDialogOptions& options, std::wstring& path) override {
    calls.push_back({DialogKind::OpenFile, options.title, {}, 0, DlgType::Custom, path, options});
    return Accept(path);
  }

  bool SaveFile(const FileDialogOptions& options, std::wstring& path) override {
    calls.push_back({DialogKind::SaveFile, options.title, {}, 0, DlgType::Custom, path, options});
    return Accept(path);
  }

  bool SelectFolder(const std::wstring& title, std::wstring& folder) override {
    calls.push_back({DialogKind::SelectFolder, title, {}, 0, DlgType::Custom, folder, {}});
    return Accept(folder);
  }

  // The button Enter presses: the MB_DEFBUTTONn-th of the box's button group.
  static int DefaultBoxButton(unsigned flags) {
    static const int kGroups[][3] = {
        {mb::kIdOk, 0, 0},                    // MB_OK
        {mb::kIdOk, mb::kIdCancel, 0},        // MB_OKCANCEL
        {3, 4, 5},                            // MB_ABORTRETRYIGNORE
        {mb::kIdYes, mb::kIdNo, mb::kIdCancel},  // MB_YESNOCANCEL
        {mb::kIdYes, mb::kIdNo, 0},           // MB_YESNO
        {4, mb::kIdCancel, 0},                // MB_RETRYCANCEL
        {mb::kIdCancel, 10, 11},              // MB_CANCELTRYCONTINUE
    };
    const unsigned group = flags & 0xF;
    if (group >= sizeof(kGroups) / sizeof(kGroups[0])) return mb::kIdOk;
    const unsigned index = (flags >> 8) & 0xF;
    const int id = index < 3 ? kGroups[group][index] : 0;
    return id != 0 ? id : kGroups[group][0];
  }

  // The run-time's message dialogs default to OK when present, else Yes.
  static DlgResult DefaultDlgButton(unsigned buttons) {
    if (buttons & kBtnOk) return DlgResult::Ok;
    if (buttons & kBtnYes) return DlgResult::Yes;
    if (buttons & kBtnNo) return DlgResult::No;
    if (buttons & kBtnCancel) return DlgResult::Cancel;
    return DlgResult::None;
  }

 private:
  DialogAnswer Next() {
    if (answers.empty()) return fallback;
    DialogAnswer a = std::move(answers.front());
    answers.pop_front();
    return a;
  }

  bool Accept(std::wstring& value) {
    const DialogAnswer a = Next();
    if (!a.accept) return false;
    if (a.value) value = *a.value;
    return true;
  }
};

}  // namespace corvel
