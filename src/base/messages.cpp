#include "base/messages.h"

namespace corvel {

namespace {

struct Entry {
  const char* key;
  Bilingual text;
};

// In the order of Msg. Odd spellings are the program's own; keep them.
constexpr Entry kEntries[] = {
    {"MsgExplorerFailed",
     {L"Fehler beim Ausführen von Explorer.exe!",
      L"Error running Explorer.exe!"}},
    {"MsgDebugPrivilegeFailed",
     {L"Kann Debug-Privilege nicht einschalten!",
      L"Could not enable Debug-Privilege!"}},
    {"MsgShutdownFailed",
     {L"Kann System nicht herunterfahren!",
      L"Cannot shut down system!"}},
    {"MsgRebootFailed",
     {L"Kann das System icht neu starten!",
      L"Cannot reboot system!"}},
    {"MsgIconPositionsNotSaved",
     {L"Icon Positionen wurden noch nicht gespeichert.Bitte zuerst die aktuellen Positionen speichern!",
      L"Icon positions not saved right now. Pls save current position first!"}},
    {"MsgSuspectProcess",
     {L"Ungewöhlicher Prozesslisten-Eintrag!",
      L"Suspect process list entry!"}},
    {"MsgNoCdDrive",
     {L"Kein CDROM/DVD Laufwerk!",
      L"No CDROM/DVD Drive!"}},
    {"MsgInvalidIp",
     {L"Ungültige IP!",
      L"Invalid IP!"}},
    {"MsgConfirmTerminate",
     {L"Soll der Prozess wirklich beendet werden? Das System könnte instabil werden.",
      L"Are you sure you want to terminate this process? System might become unstable."}},
    {"MsgTerminateNeedsAdmin",
     {L"Sie müssen Corvel als Administrator ausführen, um den Prozess zu beenden!",
      L"You have to run Corvel as admin to terminate this process!"}},
    {"MsgDirectXFailed",
     {L"Fehler beim Lesen der DirectX Informationen!",
      L"Error reading DirectX information!"}},
    {"MsgConfirmShutdown",
     {L"System herunterfahren?",
      L"Shut down system?"}},
    {"MsgConfirmReboot",
     {L"System neu starten?",
      L"Reboot system?"}},
    {"MsgResolutionChanged",
     {L"Auflösung geändert. Jetzt wiederherstellen?",
      L"Screen resolution changed. Restore now?"}},
    {"MsgKeepNewResolution",
     {L"Neue Auflösung übernehmen?",
      L"Resume new resolution?"}},
    {"MsgAutostartCopyFailed",
     {L"Fehler beim Kopieren der Datei in den Autostart-Ordner",
      L"Error! Could not copy file to Autostart folder"}},
    {"MsgAutostartAdded",
     {L"Autostart-Eintrag hinzugefügt",
      L"Autostart entry added."}},
    {"MsgDeleteFileFailed",
     {L"Fehler beim Löschen der Datei ",
      L"Error deleting file "}},
    {"MsgAccessDeniedAdmin",
     {L"Zugriff verweigert! Führen Sie Corvel als Administrator aus.",
      L"Access denied! Run Corvel as admin."}},
    {"MsgIconPositionsChanged",
     {L"Icon-Positionen haben sich geändert. Jetzt wiederherstellen?",
      L"Icon positions have changed. Restore now?"}},
    {"MsgSaveScreenshot",
     {L"Screenshot in Datei speichern?",
      L"Save screenshot to file?"}},
    {"MsgOpenInPaintNet",
     {L"Öffnen mit Paint.NET?",
      L"Open in Paint.NET?"}},
    {"MsgOpenInMsPaint",
     {L"Öffnen mit MS Paint?",
      L"Open in MS Paint?"}},
    {"MsgParameterCaption",
     {L"Parameter",
      L"Parameter"}},
    {"MsgEnterStartParameter",
     {L"Startparameter angeben",
      L"Enter start parameter"}},
    {"MsgEntryExists",
     {L"Eintrag existiert bereits!",
      L"Entry already exists!"}},
    {"MsgStartFailed",
     {L"Fehler bei Starten von: ",
      L"Error starting: "}},
    {"MsgDosPromptFailed",
     {L"Fehler DOS-Eingabe!",
      L"Error DOS prompt!"}},
};
static_assert(sizeof(kEntries) / sizeof(kEntries[0]) == kMsgCount, "one entry per Msg");

const Entry* Find(Msg key) {
  const auto index = static_cast<std::size_t>(key);
  return index < kMsgCount ? &kEntries[index] : nullptr;
}

}  // namespace

const wchar_t* MessageTable::Text(Msg key, Language language) {
  const Entry* e = Find(key);
  return e ? e->text.In(language) : L"";
}

const char* MessageTable::KeyName(Msg key) {
  const Entry* e = Find(key);
  return e ? e->key : "";
}

const wchar_t* MessageTable::AboutText(Language language) { return language.Pick(L"Über...", L"About..."); }

const wchar_t* MessageTable::QuitText(Language language) { return language.Pick(L"Beenden", L"Quit"); }

const wchar_t* MessageTable::SoundNoticeText(Language language) {
  return language.Pick(L"Spiele Sound ab. Wenn die Fanfare zu hören ist, arbeitet die Soundkarte korrekt.",
                       L"Now playing. If you hear the fanfare your sound device is working properly.");
}

void MessageTable::Fill(Language language) {
  for (std::size_t i = 0; i < kMsgCount; ++i) slots_[i] = Text(static_cast<Msg>(i), language);
  about_ = AboutText(language);
  quit_ = QuitText(language);
  sound_ = SoundNoticeText(language);
  language_ = language;
}

const std::wstring& MessageTable::operator[](Msg key) const {
  static const std::wstring kNone;
  const auto index = static_cast<std::size_t>(key);
  return index < kMsgCount ? slots_[index] : kNone;
}

std::wstring HelpFileName(Language language) { return language.Pick(L"corveld.chm", L"corvele.chm"); }

}  // namespace corvel
