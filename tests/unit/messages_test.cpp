#include <gtest/gtest.h>

#include <set>

#include "base/messages.h"
#include "base/text.h"

namespace corvel {
namespace {

TEST(MessageTable, EveryKeyInBothLanguages) {
  struct Case { Msg key; const char* name; std::wstring english, german; };
  const Case cases[] = {
      {Msg::ExplorerFailed, "MsgExplorerFailed",
       L"Error running Explorer.exe!",
       L"Fehler beim Ausführen von Explorer.exe!"},
      {Msg::DebugPrivilegeFailed, "MsgDebugPrivilegeFailed",
       L"Could not enable Debug-Privilege!",
       L"Kann Debug-Privilege nicht einschalten!"},
      {Msg::ShutdownFailed, "MsgShutdownFailed",
       L"Cannot shut down system!",
       L"Kann System nicht herunterfahren!"},
      {Msg::RebootFailed, "MsgRebootFailed",
       L"Cannot reboot system!",
       L"Kann das System icht neu starten!"},
      {Msg::IconPositionsNotSaved, "MsgIconPositionsNotSaved",
       L"Icon positions not saved right now. Pls save current position first!",
       L"Icon Positionen wurden noch nicht gespeichert.Bitte zuerst die aktuellen Positionen speichern!"},
      {Msg::SuspectProcess, "MsgSuspectProcess",
       L"Suspect process list entry!",
       L"Ungewöhlicher Prozesslisten-Eintrag!"},
      {Msg::NoCdDrive, "MsgNoCdDrive",
       L"No CDROM/DVD Drive!",
       L"Kein CDROM/DVD Laufwerk!"},
      {Msg::InvalidIp, "MsgInvalidIp",
       L"Invalid IP!",
       L"Ungültige IP!"},
      {Msg::ConfirmTerminate, "MsgConfirmTerminate",
       L"Are you sure you want to terminate this process? System might become unstable.",
       L"Soll der Prozess wirklich beendet werden? Das System könnte instabil werden."},
      {Msg::TerminateNeedsAdmin, "MsgTerminateNeedsAdmin",
       L"You have to run Corvel as admin to terminate this process!",
       L"Sie müssen Corvel als Administrator ausführen, um den Prozess zu beenden!"},
      {Msg::DirectXFailed, "MsgDirectXFailed",
       L"Error reading DirectX information!",
       L"Fehler beim Lesen der DirectX Informationen!"},
      {Msg::ConfirmShutdown, "MsgConfirmShutdown",
       L"Shut down system?",
       L"System herunterfahren?"},
      {Msg::ConfirmReboot, "MsgConfirmReboot",
       L"Reboot system?",
       L"System neu starten?"},
      {Msg::ResolutionChanged, "MsgResolutionChanged",
       L"Screen resolution changed. Restore now?",
       L"Auflösung geändert. Jetzt wiederherstellen?"},
      {Msg::KeepNewResolution, "MsgKeepNewResolution",
       L"Resume new resolution?",
       L"Neue Auflösung übernehmen?"},
      {Msg::AutostartCopyFailed, "MsgAutostartCopyFailed",
       L"Error! Could not copy file to Autostart folder",
       L"Fehler beim Kopieren der Datei in den Autostart-Ordner"},
      {Msg::AutostartAdded, "MsgAutostartAdded",
       L"Autostart entry added.",
       L"Autostart-Eintrag hinzugefügt"},
      {Msg::DeleteFileFailed, "MsgDeleteFileFailed",
       L"Error deleting file ",
       L"Fehler beim Löschen der Datei "},
      {Msg::AccessDeniedAdmin, "MsgAccessDeniedAdmin",
       L"Access denied! Run Corvel as admin.",
       L"Zugriff verweigert! Führen Sie Corvel als Administrator aus."},
      {Msg::IconPositionsChanged, "MsgIconPositionsChanged",
       L"Icon positions have changed. Restore now?",
       L"Icon-Positionen haben sich geändert. Jetzt wiederherstellen?"},
      {Msg::SaveScreenshot, "MsgSaveScreenshot",
       L"Save screenshot to file?",
       L"Screenshot in Datei speichern?"},
      {Msg::OpenInPaintNet, "MsgOpenInPaintNet",
       L"Open in Paint.NET?",
       L"Öffnen mit Paint.NET?"},
      {Msg::OpenInMsPaint, "MsgOpenInMsPaint",
       L"Open in MS Paint?",
       L"Öffnen mit MS Paint?"},
      {Msg::ParameterCaption, "MsgParameterCaption",
       L"Parameter",
       L"Parameter"},
      {Msg::EnterStartParameter, "MsgEnterStartParameter",
       L"Enter start parameter",
       L"Startparameter angeben"},
      {Msg::EntryExists, "MsgEntryExists",
       L"Entry already exists!",
       L"Eintrag existiert bereits!"},
      {Msg::StartFailed, "MsgStartFailed",
       L"Error starting: ",
       L"Fehler bei Starten von: "},
      {Msg::DosPromptFailed, "MsgDosPromptFailed",
       L"Error DOS prompt!",
       L"Fehler DOS-Eingabe!"},
  };
  ASSERT_EQ(std::size(cases), kMsgCount);
  MessageTable german, english, seven;  // any language other than 0 is English
  german.Fill(0);
  english.Fill(1);
  seven.Fill(7);
  std::set<std::string> names;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(MessageTable::KeyName(c.key), c.name);
    names.insert(c.name);
    EXPECT_EQ(MessageTable::Text(c.key, 0), c.german);
    EXPECT_EQ(MessageTable::Text(c.key, 1), c.english);
    EXPECT_EQ(MessageTable::Text(c.key, -1), c.english);
    EXPECT_EQ(german[c.key], c.german);
    EXPECT_EQ(english[c.key], c.english);
    EXPECT_EQ(seven[c.key], c.english);
  }
  EXPECT_EQ(names.size(), kMsgCount);
}

TEST(MessageTable, CaptionsAndHelpFileFollowTheLanguage) {
  struct Case { int language; std::wstring about, quit, sound, help; };
  const std::wstring soundDe = L"Spiele Sound ab. Wenn die Fanfare zu hören ist, arbeitet die Soundkarte korrekt.";
  const std::wstring soundEn = L"Now playing. If you hear the fanfare your sound device is working properly.";
  const Case cases[] = {
      {0, L"Über...", L"Beenden", soundDe, L"corveld.chm"},
      {1, L"About...", L"Quit", soundEn, L"corvele.chm"},
      {2, L"About...", L"Quit", soundEn, L"corvele.chm"},
      {-1, L"About...", L"Quit", soundEn, L"corvele.chm"},
  };
  for (const auto& c : cases) {
    MessageTable t;
    t.Fill(c.language);
    EXPECT_EQ(t.AboutCaption(), c.about) << c.language;
    EXPECT_EQ(t.QuitCaption(), c.quit) << c.language;
    EXPECT_EQ(t.SoundNotice(), c.sound) << c.language;
    EXPECT_EQ(t.language().Stored(), c.language);
    EXPECT_EQ(HelpFileName(c.language), c.help) << c.language;
  }
}

TEST(MessageTable, StartsGermanAndRefillsAsAWhole) {
  MessageTable t;
  EXPECT_EQ(t[Msg::InvalidIp], L"Ungültige IP!");
  EXPECT_EQ(t.QuitCaption(), L"Beenden");
  t.Fill(1);
  t.Fill(0);
  for (std::size_t i = 0; i < kMsgCount; ++i)
    EXPECT_EQ(t[static_cast<Msg>(i)], MessageTable::Text(static_cast<Msg>(i), 0));
  EXPECT_EQ(t[Msg::Count], L"");
}

}  // namespace
}  // namespace corvel
