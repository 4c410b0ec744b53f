// The System page's readings on Windows: registry values, the version
// record, the default browser, the system language and the drives.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace corvel {

struct OsFacts {
  std::wstring productName, productId;
  std::wstring major, minor, build;    // decimal, as GetVersionExW reports them
  std::wstring servicePack, spMajor;   // the record's text and the major number
  std::wstring ieVersion, directXVersion;
  std::wstring company, owner;
};

// Missing registry values give empty texts. Throws ConvertError only for an
// old system's CSDVersion that does not read as decimal digits.
OsFacts ReadOsFacts();

// The htmlfile open command cut after its last ".exe"; empty when missing.
std::wstring DefaultBrowserPath();

// VerLanguageNameW of GetSystemDefaultLangID.
std::wstring SystemLanguageName();

// The drive type name of a letter from GetLogicalDrives and GetDriveTypeW.
std::wstring DriveTypeNameOf(wchar_t letter);

struct DriveEntry {
  wchar_t letter;
  std::wstring name;  // the shell's display name
  int icon;           // index into the shell's small system image list, -1 without
};
// The drives of the kinds removable, fixed, network, CD-ROM and RAM disk, in
// letter order. images receives the shell's small system image list.
std::vector<DriveEntry> ListDrives(HIMAGELIST* images);

}  // namespace corvel
