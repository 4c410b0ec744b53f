// Winsock must come before <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <lmwksta.h>
#include <wininet.h>

#include "info/network_tools_win.h"

#include <cstring>
#include <memory>
#include <vector>

#include "base/codepage.h"
#include "base/errors.h"
#include "base/scope_guard.h"
#include "win/handles.h"
#include "win/system_message.h"
#include "win/registry.h"

namespace corvel {

namespace {

// Winsock started for one reading and cleaned up after it.
class WinsockSession {
 public:
  explicit WinsockSession(WORD version) { ok_ = WSAStartup(version, &data_) == 0; }
  ~WinsockSession() {
    if (ok_) WSACleanup();
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  bool ok() const { return ok_; }

 private:
  WSADATA data_{};
  bool ok_ = false;
};

std::wstring FirstAddress(const hostent* host) {
  if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list || !host->h_addr_list[0])
    return {};
  unsigned char bytes[4];
  std::memcpy(bytes, host->h_addr_list[0], 4);
  return DottedAddress(bytes);
}

std::wstring DottedOf(ULONG address) {  // network order
  unsigned char bytes[4];
  std::memcpy(bytes, &address, 4);
  return DottedAddress(bytes);
}

std::wstring LanGroup() {
  UniqueModule netapi(LoadLibraryW(L"netapi32.dll"));
  if (!netapi) return {};
  using GetInfo = DWORD(WINAPI*)(LPWSTR, DWORD, LPBYTE*);
  using BufferFree = DWORD(WINAPI*)(LPVOID);
  auto getInfo = reinterpret_cast<GetInfo>(reinterpret_cast<void*>(GetProcAddress(netapi.get(), "NetWkstaGetInfo")));
  auto bufferFree =
      reinterpret_cast<BufferFree>(reinterpret_cast<void*>(GetProcAddress(netapi.get(), "NetApiBufferFree")));
  if (!getInfo || !bufferFree) return {};
  LPBYTE buffer = nullptr;
  const DWORD status = getInfo(nullptr, 100, &buffer);
  const ScopeExit release([&] { if (buffer) bufferFree(buffer); });
  if (status != 0 || !buffer) return {};
  const auto* info = reinterpret_cast<const WKSTA_INFO_100*>(buffer);
  return info->wki100_langroup ? info->wki100_langroup : L"";
}

EchoStatus StatusOf(ULONG status) {
  switch (status) {
    case IP_SUCCESS: return EchoStatus::Reply;
    case IP_REQ_TIMED_OUT: return EchoStatus::TimedOut;
    case IP_DEST_NET_UNREACHABLE:
    case IP_DEST_HOST_UNREACHABLE:
    case IP_DEST_PROT_UNREACHABLE:
    case IP_DEST_PORT_UNREACHABLE:
    case IP_DEST_UNREACHABLE:
    case IP_BAD_DESTINATION: return EchoStatus::Unreachable;
    default: return EchoStatus::Failed;
  }
}

// The IPv4 address of a host name or dotted text, in network order.
bool ResolveIpv4(const std::wstring& host, ULONG& address) {
  WinsockSession winsock(MAKEWORD(2, 2));
  if (!winsock.ok()) return false;
  ADDRINFOW hints{};
  hints.ai_family = AF_INET;
  ADDRINFOW* found = nullptr;
  if (GetAddrInfoW(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  bool ok = false;
  for (const ADDRINFOW* a = found; a && !ok; a = a->ai_next) {
    if (a->ai_family == AF_INET && a->ai_addr) {
      address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
      ok = true;
    }
  }
  FreeAddrInfoW(found);
  return ok;
}

}  // namespace

std::wstring LocalAddress() {
  WinsockSession winsock(MAKEWORD(1, 1));
  if (!winsock.ok()) return {};
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return FirstAddress(gethostbyname(name));
}

std::wstring LocalComputerName() {
  wchar_t name[16] = {};
  DWORD size = 16;
  if (!GetComputerNameW(name, &size)) return {};
  return std::wstring(name, size);
}

std::wstring LocalWorkgroup() {
  // Older systems keep it in the registry; when the value is there, it wins.
  std::wstring group =
      RegistryText(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\Vxd\\VNETSUP", L"Workgroup");
  if (!group.empty()) return group;
  return LanGroup();
}

std::wstring LocalUserName() {
  wchar_t name[257] = {};
  DWORD size = 257;
  if (!GetUserNameW(name, &size)) return {};
  return name;
}

bool IsOnline() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

std::wstring ResolveHostAddress(const std::wstring& host, const CodePage& codePage) {
  WinsockSession winsock(MAKEWORD(1, 1));
  if (!winsock.ok()) return {};
  const std::string name = codePage.ToAnsi(host);
  return FirstAddress(gethostbyname(name.c_str()));
}

EchoOutcome SystemEchoClient::Echo(const std::wstring& host, unsigned dataSize, unsigned timeoutMs) {
  EchoOutcome outcome;
  ULONG destination = 0;
  if (!ResolveIpv4(host, destination)) {
    outcome.status = EchoStatus::UnknownHost;
    return outcome;
  }
  struct IcmpCloser {
    void operator()(HANDLE h) const { IcmpCloseHandle(h); }
  };
  HANDLE opened = IcmpCreateFile();
  if (opened == INVALID_HANDLE_VALUE) {
    outcome.code = GetLastError();
    return outcome;
  }
  std::unique_ptr<void, IcmpCloser> icmp(opened);
  std::vector<char> data(dataSize, 0);
  // Room for one reply with its data and the error information the call may add.
  std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + dataSize + 8 + 64);
  const DWORD count = IcmpSendEcho(icmp.get(), destination, data.data(), static_cast<WORD>(dataSize), nullptr,
                                   reply.data(), static_cast<DWORD>(reply.size()), timeoutMs);
  if (count == 0) {
    const DWORD code = GetLastError();
    outcome.status = StatusOf(code);
    if (outcome.status == EchoStatus::Reply) outcome.status = EchoStatus::Failed;
    outcome.code = code;
    return outcome;
  }
  const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
  outcome.status = StatusOf(r->Status);
  outcome.code = r->Status;
  outcome.address = DottedOf(r->Address);
  outcome.bytes = r->DataSize;
  outcome.ttl = r->Options.Ttl;
  outcome.roundTripMs = static_cast<int>(r->RoundTripTime);
  return outcome;
}

}  // namespace corvel
