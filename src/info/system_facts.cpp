#include "info/system_facts.h"

#include <cstdio>

#include "base/text.h"

namespace corvel {

std::wstring PcTypeName(int value) {
  static const wchar_t* const kNames[] = {L"Unspecified", L"Desktop", L"Mobile", L"Workstation",
                                          L"Enterprise Server", L"Small Office and Home Server",
                                          L"Appliance PC", L"Performance Server", L"Maximum"};
  if (value < 0 || value > 8) return kNames[0];
  return kNames[value];
}

std::wstring PcTypeName(std::wstring_view answer) {
  if (Trim(answer).empty()) return PcTypeName(0);
  return PcTypeName(StrToInt(answer));
}

std::wstring VmVerdict(std::wstring_view description) {
  const std::wstring d = AsciiLower(description);
  auto has = [&d](std::wstring_view needle) { return Pos(AsciiLower(needle), d) != 0; };
  if (has(L"VM Additions") || has(L"VS3 Trio32/64")) return L"MS VPC detected";
  if (has(L"VirtualBox Graphics Adapter")) return L"VirtualBox detected";
  if (has(L"VMware")) return L"VMWare detected";
  if (Trim(description).empty()) return L"VM detected";
  return L"No VM detected";
}

std::wstring CutBrowserCommand(std::wstring_view command) {
  const std::wstring lower = AsciiLower(command);
  const std::size_t at = lower.rfind(L".exe");
  if (at == std::wstring::npos) return {};
  return std::wstring(command.substr(0, at + 4));
}

std::wstring DriveTypeName(unsigned logicalDrives, unsigned driveType) {
  if (logicalDrives == 0) return L"UnKnown";
  static const wchar_t* const kNames[] = {L"Unknown", L"No root", L"Disc", L"HD", L"Netdrive", L"CDROM", L"RAMDisc"};
  // The system knows no other values; anything else is as unknown as 0.
  return driveType < 7 ? kNames[driveType] : kNames[0];
}

int ServicePackFromCsdVersion(unsigned csdVersion) {
  wchar_t digits[16];
  std::swprintf(digits, 16, L"%04X", csdVersion);
  return StrToInt(digits) / 100;
}

}  // namespace corvel
