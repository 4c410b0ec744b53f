#include "info/network_tools.h"

#include "base/text.h"

namespace corvel {

namespace {

constexpr const wchar_t* kGeolocationSite = L"http://corvel.example/ip_lokalisieren/";

bool Unreserved(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' ||
         c == L'_' || c == L'~';
}

}  // namespace

std::wstring PercentEncodeUserInfo(const std::wstring& text) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (Unreserved(c)) {
      out += c;
      continue;
    }
    // A surrogate pair is one character: encode both halves together.
    std::size_t n = 1;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) n = 2;
    for (unsigned char b : Narrow(std::wstring_view(text).substr(i, n))) {
      out += L'%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
    i += n - 1;
  }
  return out;
}

std::optional<FtpLaunch> BuildFtpLaunch(const FtpInputs& in) {
  std::wstring program = Trim(in.ftpClient);
  const bool explorer = program.empty();
  if (explorer) program = L"explorer.exe";
  std::wstring server = Trim(in.server);
  if (server.empty()) return std::nullopt;
  const std::size_t scheme = server.find(L"://");
  if (scheme != std::wstring::npos) server.erase(0, scheme + 3);
  // "ftp://" alone names no server: starting it would open a wrong address.
  if (server.empty()) return std::nullopt;
  std::wstring address = L"ftp://";
  if (!in.anonymous)
    address += PercentEncodeUserInfo(Trim(in.user)) + L":" + PercentEncodeUserInfo(Trim(in.password)) + L"@";
  address += server;
  return FtpLaunch{program, explorer ? L"/e, " + address : address};
}

std::wstring DottedAddress(const unsigned char bytes[4]) {
  return IntToStr(bytes[0]) + L"." + IntToStr(bytes[1]) + L"." + IntToStr(bytes[2]) + L"." + IntToStr(bytes[3]);
}

std::optional<std::wstring> GeolocationAddress(const std::wstring& address) {
  const std::wstring trimmed = Trim(address);
  if (trimmed.empty()) return std::nullopt;
  return kGeolocationSite + trimmed;
}

std::wstring PingReplyLine(int bytes, const std::wstring& address, int sequence, int ttl, int roundTripMs) {
  const wchar_t* relation = roundTripMs != 0 ? L"=" : L"< 1";
  return IntToStr(bytes) + L" bytes from " + address + L": icmp_seq=" + IntToStr(sequence) + L" ttl=" + IntToStr(ttl) +
         L" time" + relation + IntToStr(roundTripMs) + L" ms";
}

std::wstring PingOutcomeLine(const EchoOutcome& o, const std::wstring& host, int sequence) {
  const std::wstring seq = L"icmp_seq=" + IntToStr(sequence);
  switch (o.status) {
    case EchoStatus::Reply: return PingReplyLine(o.bytes, o.address, sequence, o.ttl, o.roundTripMs);
    case EchoStatus::TimedOut: return L"Request timed out: " + seq;
    case EchoStatus::Unreachable:
      return L"Destination unreachable" + (o.address.empty() ? std::wstring() : L" from " + o.address) + L": " + seq;
    case EchoStatus::UnknownHost:
      return host.empty() ? L"No host to ping: " + seq : L"Unknown host " + host + L": " + seq;
    case EchoStatus::Failed: break;
  }
  return L"Ping failed (error " + std::to_wstring(o.code) + L"): " + seq;
}

void PingSession::SetHost(const std::wstring& text) {
  std::wstring trimmed = Trim(text);
  if (!trimmed.empty()) host_ = std::move(trimmed);
}

std::wstring PingSession::Request(EchoClient& client) {
  const int sequence = sequence_++;
  EchoOutcome outcome;
  if (host_.empty())
    outcome.status = EchoStatus::UnknownHost;  // an empty name would resolve to this computer
  else
    outcome = client.Echo(host_, kPingDataSize, kPingTimeoutMs);
  return PingOutcomeLine(outcome, host_, sequence);
}

}  // namespace corvel
