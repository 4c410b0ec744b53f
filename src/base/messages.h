// The main window's language-dependent message texts and captions. Tool
// windows keep their own tables; this one is the main window's, filled by the
// main window and read by every page and tool it hosts. Portable.
#pragma once
#include <array>
#include <cstddef>
#include <string>

#include "base/language.h"

namespace corvel {

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
  MessageTable() { Fill(Language::kGerman); }

  // Every slot and the three captions at once, German for 0, else English.
  void Fill(Language language);
  // Read at the moment a message is shown; callers do not keep the text.
  const std::wstring& operator[](Msg key) const;
  const std::wstring& AboutCaption() const { return about_; }  // SpeedButton45
  const std::wstring& QuitCaption() const { return quit_; }    // SpeedButton44
  const std::wstring& SoundNotice() const { return sound_; }   // Label99
  Language language() const { return language_; }

  static const wchar_t* Text(Msg key, Language language);
  static const char* KeyName(Msg key);  // "MsgExplorerFailed", ...
  static const wchar_t* AboutText(Language language);
  static const wchar_t* QuitText(Language language);
  static const wchar_t* SoundNoticeText(Language language);

 private:
  std::array<std::wstring, kMsgCount> slots_;
  std::wstring about_, quit_, sound_;
  Language language_;
};

// The application help file of a language, in the program's folder.
std::wstring HelpFileName(Language language);

}  // namespace corvel
