#include "tools/shortcuts.h"

#include "base/errors.h"
#include "base/path.h"

namespace corvel {

const Launcher kLaunchers[kLauncherCount] = {
    {L"SpeedButton50", L"Control", L"Open system services", L"SpeedButton50Click", LaunchKind::Applet, L"", L""},
    {L"SpeedButton7", L"DirectX        ", L"Show DirectX properties", L"BitBtn32Click", LaunchKind::DirectX,
     L"dxdiag.exe", L""},
    {L"SpeedButton8", L"Services      ", L"Open system services", L"BitBtn18Click", LaunchKind::Open, L"services.msc",
     L""},
    {L"SpeedButton9", L"Users           ", L"Open user management", L"BitBtn8Click", LaunchKind::Applet, L"",
     L"nusrmgr.cpl"},
    {L"SpeedButton10", L"Software     ", L"Open installed software list", L"BitBtn3Click", LaunchKind::Applet, L"",
     L"appwiz.cpl"},
    {L"SpeedButton11", L"Firewall      ", L"Show firewall settings", L"BitBtn9Click", LaunchKind::Applet, L"",
     L"firewall.cpl"},
    {L"SpeedButton12", L"Display       ", L"Show display settings", L"BitBtn4Click", LaunchKind::Applet, L"",
     L"desk.cpl"},
    {L"SpeedButton13", L"Security       ", L"Open security center", L"BitBtn14Click", LaunchKind::Applet, L"",
     L"wscui.cpl"},
    {L"SpeedButton14", L"Sound", L"Sound configuration", L"BitBtn5Click", LaunchKind::Applet, L"", L"mmsys.cpl"},
    {L"SpeedButton15", L"Mouse          ", L"Show mouse settings", L"BitBtn15Click", LaunchKind::Applet, L"",
     L"main.cpl"},
    {L"SpeedButton16", L"Date/Time   ", L"Show date/time settings", L"BitBtn7Click", LaunchKind::Applet, L"",
     L"timedate.cpl"},
    {L"SpeedButton17", L"Keyboard    ", L"Show keyboard settings", L"BitBtn16Click", LaunchKind::Applet, L"",
     L"main.cpl @1"},
    {L"SpeedButton18", L"Internet      ", L"Show internet settings", L"BitBtn17Click", LaunchKind::Applet, L"",
     L"INETCPL.CPL"},
    {L"SpeedButton46", L"Hardware", L"Hardware info", L"SpeedButton46Click", LaunchKind::Applet, L"",
     L"sysdm.cpl,,2"},
    {L"SpeedButton19", L"System info        ", L"Show system information", L"BitBtn6Click", LaunchKind::SystemInfo,
     L"control.exe", L"system"},
    {L"SpeedButton20", L"Printers      ", L"Open printers folder", L"BitBtn19Click", LaunchKind::Explorer,
     L"explorer.exe", L"/n,/e,::{2227A280-3AEA-1069-A2DE-08002B30309D}"},
    {L"SpeedButton21", L"Connections", L"Show network connections", L"BitBtn20Click", LaunchKind::Explorer,
     L"explorer.exe", L"/n,/e,::{7007ACC7-3202-11D1-AAD2-00805FC1270E}"},
    {L"SpeedButton22", L"Workstation", L"About this computer", L"BitBtn23Click", LaunchKind::Explorer,
     L"explorer.exe", L"/n,/e,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
    {L"SpeedButton23", L"LAN          ", L"Show LAN information", L"BitBtn22Click", LaunchKind::Explorer,
     L"explorer.exe", L"/n,/e,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
    {L"SpeedButton26", L"Regedit     ", L"Open Regedit", L"BitBtn21Click", LaunchKind::OpenVerb, L"regedit", L""},
    {L"SpeedButton27", L"System restore", L"Start system restore", L"SpeedButton27Click", LaunchKind::Elevated,
     L"rstrui.exe", L""},
};

void RunLauncher(const Launcher& l, Shell& shell, ShellOps& ops, Dialogs& dialogs, const MessageTable& messages,
                 const std::wstring& systemFolder) {
  switch (l.kind) {
    case LaunchKind::Applet: ops.RunControlPanel(l.parameters); return;
    case LaunchKind::Open: ops.ShellOpen(l.file, l.parameters); return;
    case LaunchKind::DirectX:
      try {
        ops.ShellOpen(l.file, l.parameters);  // a refused start is not reported
      } catch (const Error&) {
        dialogs.MessageDlg(messages[Msg::DirectXFailed], DlgType::Error, kBtnOk);
      }
      return;
    case LaunchKind::Explorer:
      if (!ops.ShellOpen(l.file, l.parameters)) dialogs.MessageDlg(messages[Msg::ExplorerFailed], DlgType::Error, kBtnOk);
      return;
    case LaunchKind::OpenVerb: shell.Execute(L"open", l.file, l.parameters, sw::kShow); return;
    case LaunchKind::SystemInfo: shell.Execute(L"", JoinPath(systemFolder, l.file), l.parameters, sw::kShow); return;
    case LaunchKind::Elevated: ops.RunElevated(l.file, l.parameters); return;
  }
}

const FolderRow kFolderRows[kFolderRowCount] = {
    {L"Label22", L"AppData:", L"LabelAppdata", FolderSource::Special, 0x1A},
    {L"Label23", L"Common Desktop Dir:", L"LabelDesktop", FolderSource::Special, 0x19},
    {L"Label24", L"Common StartUp Dir:", L"LabelStartUp", FolderSource::Special, 0x18},
    {L"Label25", L"Common Favorites:", L"LabelFavorites1", FolderSource::Special, 0x1F},
    {L"Label26", L"Cookies:", L"LabelCookies", FolderSource::Special, 0x21},
    {L"LabelDes", L"Desktop:", L"LabelMyDesktop", FolderSource::Special, 0x00},
    {L"Label27", L"Favorites:", L"LabelMyFavorites", FolderSource::Special, 0x06},
    {L"Label28", L"History:", L"LabelHistory", FolderSource::Special, 0x22},
    {L"Label29", L"InternetCache:", L"LabelInternet", FolderSource::Special, 0x20},
    {L"Label30", L"StartUp:", L"LabelMyStartUp", FolderSource::Special, 0x07},
    {L"Label31", L"System:", L"LabelSystem", FolderSource::System, 0},
    {L"Label32", L"Temp:", L"LabelTemp", FolderSource::Temp, 0},
};

std::wstring TempFolderShown(const std::optional<std::wstring>& tmp, const std::optional<std::wstring>& temp,
                             const std::wstring& currentFolder) {
  return tmp && temp ? *temp : currentFolder;
}

}  // namespace corvel
