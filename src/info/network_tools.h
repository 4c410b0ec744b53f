// The rules of the Network page's tools: the FTP start, the address texts,
// the ping lines and the echo client port with its sequence numbering.
// Portable (no <windows.h>).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace corvel {

// ---- FTP "Connect" ----

struct FtpInputs {
  std::wstring server, user, password, ftpClient;  // the edits as typed
  bool anonymous = false;
};

struct FtpLaunch {
  std::wstring program;     // the FTP program, or "explorer.exe"
  std::wstring parameters;  // "/e, ftp://..." for Explorer, "ftp://..." otherwise
  bool operator==(const FtpLaunch&) const = default;
};

// What "Connect" starts; nothing when there is no server to connect to.
// Any scheme typed before "://" is replaced by "ftp://"; user name and
// password are percent-encoded so that "@", ":" or "/" in them cannot move
// the server part of the address.
std::optional<FtpLaunch> BuildFtpLaunch(const FtpInputs& in);

// Percent-encoding for the user part of an address: letters, digits and
// "-._~" stay, every other character becomes %XX of its UTF-8 bytes.
std::wstring PercentEncodeUserInfo(const std::wstring& text);

// ---- addresses ----

// "%d.%d.%d.%d" of four bytes in network order.
std::wstring DottedAddress(const unsigned char bytes[4]);

// The geolocation page of an address ("Get IP info"); nothing for a blank address.
std::optional<std::wstring> GeolocationAddress(const std::wstring& address);

// ---- ping ----

constexpr unsigned kPingDataSize = 1024;
constexpr unsigned kPingTimeoutMs = 5000;
constexpr int kPingRequests = 4;
constexpr int kFirstPingSequence = 3489;

// "%d bytes from %s: icmp_seq=%d ttl=%d time%s%d ms", the relation "=" for a
// round trip above 0 ms and "< 1" for 0 ms (followed by the 0 itself).
std::wstring PingReplyLine(int bytes, const std::wstring& address, int sequence, int ttl, int roundTripMs);

enum class EchoStatus {
  Reply,        // an echo reply arrived
  TimedOut,     // nothing within the time-out
  Unreachable,  // a router or the host answered "unreachable"
  UnknownHost,  // the host name did not resolve (or no host was ever given)
  Failed,       // any other failure of the echo call; `code` says which
};

struct EchoOutcome {
  EchoStatus status = EchoStatus::Failed;
  std::wstring address;  // who answered (Reply, Unreachable), dotted
  int bytes = 0;
  int ttl = 0;
  int roundTripMs = 0;
  unsigned long code = 0;  // the system's status or error code for Failed
};

// The line the ping window lists for one outcome.
std::wstring PingOutcomeLine(const EchoOutcome& outcome, const std::wstring& host, int sequence);

// The ICMP echo port: one request of dataSize bytes to a host (name or
// dotted address), waiting at most timeoutMs for the outcome.
class EchoClient {
 public:
  virtual ~EchoClient() = default;
  virtual EchoOutcome Echo(const std::wstring& host, unsigned dataSize, unsigned timeoutMs) = 0;
};

// The main window's ICMP client: its host and its sequence numbers live as
// long as the program. The system's echo call numbers the packets itself, so
// the number here is the client's own count, shown in the lines.
class PingSession {
 public:
  // The trimmed text becomes the host; a blank one keeps the previous host.
  void SetHost(const std::wstring& text);
  const std::wstring& Host() const { return host_; }
  int NextSequence() const { return sequence_; }
  // One request; every request takes the next number, whatever its outcome.
  std::wstring Request(EchoClient& client);

 private:
  std::wstring host_;
  int sequence_ = kFirstPingSequence;
};

}  // namespace corvel
