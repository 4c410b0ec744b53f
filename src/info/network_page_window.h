// The Network page: identity, adapter and the network tools (FTP, IP, ping).
#pragma once
#include <string>

#include "base/codepage.h"
#include "base/messages.h"
#include "base/shell.h"
#include "info/network_tools.h"
#include "info/wmi_query.h"
#include "win/tab_page.h"

namespace corvel {

class TFormPing;

class NetworkPage : public TabPage {
 public:
  NetworkPage(Form& form, WmiQueryService& wmi, ShellOps& ops, const MessageTable& messages, const CodePage& codePage,
              EchoClient& echo)
      : TabPage(form), wmi_(wmi), ops_(ops), messages_(messages), codePage_(codePage), echo_(echo) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;
  // The window the ping replies are listed in (created with the tool windows).
  void SetPingWindow(TFormPing* window) { pingWindow_ = window; }
  const PingSession& Pinger() const { return pingSession_; }

  void FillNetworkPage();
  // What the adapter walk of WmiQuery writes.
  void SetAdapterLabel(AdapterLabel label, const std::wstring& text);
  void SetAdapterStatus(bool ok);

  void Label127Click();   // "Anonymous"
  void BitBtn30Click();   // "Get IP  "
  void BtnCopyIPClick();  // "Open IP"
  void BitBtn43Click();   // "Get IP info"
  void ButtonPingClick();
  void IdIcmpClient1Reply(const std::wstring& line);
  void BitBtn37Click();   // FTP "Connect"
  void BitBtn42Click();   // browse for the FTP program

 private:
  WmiQueryService& wmi_;
  ShellOps& ops_;
  const MessageTable& messages_;
  const CodePage& codePage_;
  EchoClient& echo_;
  TFormPing* pingWindow_ = nullptr;
  PingSession pingSession_;  // host and sequence numbers for the program's life
  bool pinging_ = false;
};

}  // namespace corvel
