#include "app/messages.h"

namespace corvel {

namespace {

struct Entry {
  const char* key;
  const wchar_t* english;
  const wchar_t* german;
};

// In the order of Msg. Odd spellings are the program's own; keep them.
constexpr Entry kEntries[] = {
    {"MsgExplorerFailed",
     L"Error running Explorer.exe!",
     L"Fehler beim Ausführen von Explorer.exe!"},
    {"MsgDebugPrivilegeFailed",
     L"Could not enable Debug-Privilege!",
     L"Kann Debug-Privilege nicht einschalten!"},
    {"MsgShutdownFailed",
     L"Cannot shut down system!",
     L"Kann System nicht herunterfahren!"},
    {"MsgRebootFailed",
     L"Cannot reboot system!",
     L"Kann das System icht neu starten!"},
    {"MsgIconPositionsNotSaved",
     L"Icon positions not saved right now. Pls save current position first!",
     L"Icon Positionen wurden noch nicht gespeichert.Bitte zuerst die aktuellen Positionen speichern!"},
    {"MsgSuspectProcess",
     L"Suspect process list entry!",
     L"Ungewöhlicher Prozesslisten-Eintrag!"},
    {"MsgNoCdDrive",
     L"No CDROM/DVD Drive!",
     L"Kein CDROM/DVD Laufwerk!"},
    {"MsgInvalidIp",
     L"Invalid IP!",
     L"Ungültige IP!"},
    {"MsgConfirmTerminate",
     L"Are you sure you want to terminate this process? System might become unstable.",
     L"Soll der Prozess wirklich beendet werden? Das System könnte instabil werden."},
    {"MsgTerminateNeedsAdmin",
     L"You have to run Corvel as admin to terminate this process!",
     L"Sie müssen Corvel als Administrator ausführen, um den Prozess zu beenden!"},
    {"MsgDirectXFailed",
     L"Error reading DirectX information!",
     L"Fehler beim Lesen der DirectX Informationen!"},
    {"MsgConfirmShutdown",
     L"Shut down system?",
     L"System herunterfahren?"},
    {"MsgConfirmReboot",
     L"Reboot system?",
     L"System neu starten?"},
    {"MsgResolutionChanged",
     L"Screen resolution changed. Restore now?",
     L"Auflösung geändert. Jetzt wiederherstellen?"},
    {"MsgKeepNewResolution",
     L"Resume new resolution?",
     L"Neue Auflösung übernehmen?"},
    {"MsgAutostartCopyFailed",
     L"Error! Could not copy file to Autostart folder",
     L"Fehler beim Kopieren der Datei in den Autostart-Ordner"},
    {"MsgAutostartAdded",
     L"Autostart entry added.",
     L"Autostart-Eintrag hinzugefügt"},
    {"MsgDeleteFileFailed",
     L"Error deleting file ",
     L"Fehler beim Löschen der Datei "},
    {"MsgAccessDeniedAdmin",
     L"Access denied! Run Corvel as admin.",
     L"Zugriff verweigert! Führen Sie Corvel als Administrator aus."},
    {"MsgIconPositionsChanged",
     L"Icon positions have changed. Restore now?",
     L"Icon-Positionen haben sich geändert. Jetzt wiederherstellen?"},
    {"MsgSaveScreenshot",
     L"Save screenshot to file?",
     L"Screenshot in Datei speichern?"},
    {"MsgOpenInPaintNet",
     L"Open in Paint.NET?",
     L"Öffnen mit Paint.NET?"},
    {"MsgOpenInMsPaint",
     L"Open in MS Paint?",
     L"Öffnen mit MS Paint?"},
    {"MsgParameterCaption",
     L"Parameter",
     L"Parameter"},
    {"MsgEnterStartParameter",
     L"Enter start parameter",
     L"Startparameter angeben"},
    {"MsgEntryExists",
     L"Entry already exists!",
     L"Eintrag existiert bereits!"},
    {"MsgStartFailed",
     L"Error starting: ",
     L"Fehler bei Starten von: "},
    {"MsgDosPromptFailed",
     L"Error DOS prompt!",
     L"Fehler DOS-Eingabe!"},
};
static_assert(sizeof(kEntries) / sizeof(kEntries[0]) == kMsgCount, "one entry per Msg");

const Entry* Find(Msg key) {
  const auto index = static_cast<std::size_t>(key);
  return index < kMsgCount ? &kEntries[index] : nullptr;
}

}  // namespace

const wchar_t* MessageTable::Text(Msg key, int uiLanguage) {
  const Entry* e = Find(key);
  if (!e) return L"";
  return IsGerman(uiLanguage) ? e->german : e->english;
}

const char* MessageTable::KeyName(Msg key) {
  const Entry* e = Find(key);
  return e ? e->key : "";
}

const wchar_t* MessageTable::AboutText(int uiLanguage) {
  return IsGerman(uiLanguage) ? L"Über..." : L"About...";
}

const wchar_t* MessageTable::QuitText(int uiLanguage) {
  return IsGerman(uiLanguage) ? L"Beenden" : L"Quit";
}

const wchar_t* MessageTable::SoundNoticeText(int uiLanguage) {
  return IsGerman(uiLanguage)
             ? L"Spiele Sound ab. Wenn die Fanfare zu hören ist, arbeitet die Soundkarte korrekt."
             : L"Now playing. If you hear the fanfare your sound device is working properly.";
}

void MessageTable::Fill(int uiLanguage) {
  for (std::size_t i = 0; i < kMsgCount; ++i) slots_[i] = Text(static_cast<Msg>(i), uiLanguage);
  about_ = AboutText(uiLanguage);
  quit_ = QuitText(uiLanguage);
  sound_ = SoundNoticeText(uiLanguage);
  language_ = uiLanguage;
}

const std::wstring& MessageTable::operator[](Msg key) const {
  static const std::wstring kNone;
  const auto index = static_cast<std::size_t>(key);
  return index < kMsgCount ? slots_[index] : kNone;
}

std::wstring HelpFileName(int uiLanguage) {
  return IsGerman(uiLanguage) ? L"corveld.chm" : L"corvele.chm";
}

}  // namespace corvel
