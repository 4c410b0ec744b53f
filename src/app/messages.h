// The main window's language-dependent message texts and captions. Tool
// windows keep their own tables; this one is the main window's.
#pragma once
#include <array>
#include <cstddef>
#include <string>

namespace corvel {

// 0 is German; every other value behaves as English.
inline bool IsGerman(int uiLanguage) { return uiLanguage == 0; }

// Caption of the main window's message boxes.
inline constexpr const wchar_t* kMainBoxCaption = L"Corvel";

enum class Msg {
  ExplorerFailed, DebugPrivilegeFailed, ShutdownFailed, RebootFailed, IconPositionsNotSaved,
  SuspectProcess, NoCdDrive, InvalidIp, ConfirmTerminate, TerminateNeedsAdmin, DirectXFailed, ConfirmShutdown,
  ConfirmReboot, ResolutionChanged, KeepNewResolution, AutostartCopyFailed, AutostartAdded, DeleteFileFailed,
  AccessDeniedAdmin, IconPositionsChanged, SaveScreenshot, OpenInPaintNet, OpenInMsPaint, ParameterCaption,
  EnterStartParameter, EntryExists, StartFailed, DosPromptFailed, Count
};
inline constexpr std::size_t kMsgCount = static_cast<std::size_t>(Msg::Count);

class MessageTable {
 public:
  // Filled for German, so that messages shown before the settings are loaded have a text.
  MessageTable() { Fill(0); }

  // Every slot and the three captions at once, German for 0, else English.
  void Fill(int uiLanguage);
  // Read at the moment a message is shown; callers do not keep the text.
  const std::wstring& operator[](Msg key) const;
  const std::wstring& AboutCaption() const { return about_; }  // SpeedButton45
  const std::wstring& QuitCaption() const { return quit_; }    // SpeedButton44
  const std::wstring& SoundNotice() const { return sound_; }   // Label99
  int Language() const { return language_; }

  static const wchar_t* Text(Msg key, int uiLanguage);
  static const char* KeyName(Msg key);  // "MsgExplorerFailed", ...
  static const wchar_t* AboutText(int uiLanguage);
  static const wchar_t* QuitText(int uiLanguage);
  static const wchar_t* SoundNoticeText(int uiLanguage);

 private:
  std::array<std::wstring, kMsgCount> slots_;
  std::wstring about_, quit_, sound_;
  int language_ = 0;
};

// The application help file of a language, in the program's folder.
std::wstring HelpFileName(int uiLanguage);

}  // namespace corvel
