// The Network page's readings from the system and the real ICMP echo client.
#pragma once
#include <windows.h>

#include <string>

#include "info/network_tools.h"

namespace corvel {

class CodePage;

// The first address of the local host name, dotted (Winsock 1.1); empty on failure.
std::wstring LocalAddress();
// GetComputerNameW with room for 16 characters; empty on failure.
std::wstring LocalComputerName();
// The VNETSUP "Workgroup" value of older systems when present, else the
// workstation's LAN group (NetWkstaGetInfo level 100, netapi32.dll loaded at
// run time); empty when neither answers.
std::wstring LocalWorkgroup();
// GetUserNameW with room for 257 characters; empty on failure.
std::wstring LocalUserName();
// InternetGetConnectedState.
bool IsOnline();

// "Get IP  ": the first address of a host name (converted to the ANSI code
// page, Winsock 1.1), dotted; empty when the name does not resolve.
std::wstring ResolveHostAddress(const std::wstring& host, const CodePage& codePage);

// IcmpCreateFile/IcmpSendEcho over IPv4; the host is resolved for every request.
class SystemEchoClient : public EchoClient {
 public:
  EchoOutcome Echo(const std::wstring& host, unsigned dataSize, unsigned timeoutMs) override;
};

}  // namespace corvel
