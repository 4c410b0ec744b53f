#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/text.h"
#include "info/system_facts.h"

namespace corvel {
namespace {

TEST(SystemFacts, PcTypeNames) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"0", L"Unspecified"},       {L"1", L"Desktop"},
      {L"2", L"Mobile"},            {L"3", L"Workstation"},
      {L"4", L"Enterprise Server"}, {L"5", L"Small Office and Home Server"},
      {L"6", L"Appliance PC"},      {L"7", L"Performance Server"},
      {L"8", L"Maximum"},           {L"9", L"Unspecified"},
      {L"-1", L"Unspecified"},      {L"", L"Unspecified"},
      {L"   ", L"Unspecified"},     {L" 2", L"Mobile"},
  };
  for (const auto& [answer, name] : cases) EXPECT_EQ(PcTypeName(std::wstring_view(answer)), name) << Narrow(answer);
}

TEST(SystemFacts, PcTypeThatIsNoNumberIsAConversionError) {
  for (const wchar_t* answer : {L"Desktop", L"2.0", L"2 ", L"99999999999"}) {
    try {
      PcTypeName(std::wstring_view(answer));
      ADD_FAILURE() << "no error for " << Narrow(answer);
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.text(), L"'" + std::wstring(answer) + L"' ist kein gültiger ganzzahliger Wert");
    }
  }
}

TEST(SystemFacts, VirtualMachineVerdictsInTheirOrder) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"VM Additions S3 Trio32/64", L"MS VPC detected"},
      {L"S3 vs3 trio32/64", L"MS VPC detected"},
      {L"Microsoft vm additions VMware", L"MS VPC detected"},  // the first test wins
      {L"VirtualBox Graphics Adapter (WDDM)", L"VirtualBox detected"},
      {L"virtualbox graphics adapter", L"VirtualBox detected"},
      {L"VirtualBox Graphics VMware", L"VMWare detected"},
      {L"VMware SVGA 3D", L"VMWare detected"},
      {L"NVIDIA GeForce GTX 1060", L"No VM detected"},
      {L"", L"VM detected"},
      {L"  \t", L"VM detected"},
  };
  for (const auto& [description, verdict] : cases) EXPECT_EQ(VmVerdict(description), verdict) << Narrow(description);
}

TEST(SystemFacts, BrowserCommandIsCutAfterItsLastExe) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"\"C:\\Program Files\\Browser\\browser.exe\" -osint -url \"%1\"", L"\"C:\\Program Files\\Browser\\browser.exe"},
      {L"C:\\PROGRA~1\\BROWSER\\BROWSER.EXE", L"C:\\PROGRA~1\\BROWSER\\BROWSER.EXE"},
      {L"C:\\x.exe\\y.Exe -nohome", L"C:\\x.exe\\y.Exe"},
      {L"rundll32 url.dll,FileProtocolHandler %1", L""},
      {L"", L""},
      {L".exe", L".exe"},
      {L"exe", L""},
  };
  for (const auto& [command, path] : cases) EXPECT_EQ(CutBrowserCommand(command), path) << Narrow(command);
}

TEST(SystemFacts, DriveTypeNames) {
  const wchar_t* names[] = {L"Unknown", L"No root", L"Disc", L"HD", L"Netdrive", L"CDROM", L"RAMDisc", L"Unknown"};
  for (unsigned type = 0; type < 8; ++type) EXPECT_EQ(DriveTypeName(0x4, type), names[type]) << type;
  EXPECT_EQ(DriveTypeName(0, 3), L"UnKnown") << "no logical drives at all";
}

TEST(SystemFacts, ServicePackFromTheOldRegistryNumber) {
  const std::pair<unsigned, int> cases[] = {{0x0300, 3}, {0x0100, 1}, {0x0000, 0}, {0x0650, 6}, {0x0099, 0}};
  for (const auto& [csd, sp] : cases) EXPECT_EQ(ServicePackFromCsdVersion(csd), sp) << csd;
  EXPECT_THROW(ServicePackFromCsdVersion(0x0A00), ConvertError);
}

}  // namespace
}  // namespace corvel
