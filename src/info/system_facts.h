// The System page's rules over the values the system gives: PC type names,
// the virtual-machine verdict, the browser command cut, drive type names and
// the old service-pack number. Portable.
#pragma once
#include <string>
#include <string_view>

namespace corvel {

// The name of Win32_ComputerSystem.PCSystemType. A blank answer counts as 0;
// an answer that is not an integer throws ConvertError.
std::wstring PcTypeName(std::wstring_view answer);
std::wstring PcTypeName(int value);

// The verdict on the last video controller's description.
std::wstring VmVerdict(std::wstring_view description);

// The htmlfile open command cut right after its last ".exe" (letter case
// ignored); empty when it holds no ".exe".
std::wstring CutBrowserCommand(std::wstring_view command);

// The name of a GetDriveTypeW value; "UnKnown" when GetLogicalDrives gave 0.
std::wstring DriveTypeName(unsigned logicalDrives, unsigned driveType);

// The service-pack major number of systems before NT 5 from the registry
// integer CSDVersion: its four hexadecimal digits read as a decimal number,
// divided by 100. Digits A-F do not read as decimal: ConvertError.
int ServicePackFromCsdVersion(unsigned csdVersion);

}  // namespace corvel
