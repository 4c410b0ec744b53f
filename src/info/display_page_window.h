// The Display page and the resolution check on activation.
#pragma once
#include "base/messages.h"
#include "info/display_facts.h"
#include "info/wmi_query.h"
#include "win/tab_page.h"

namespace corvel {

class DisplayPage : public TabPage {
 public:
  DisplayPage(Form& form, WmiQueryService& wmi, const MessageTable& messages, DisplaySource& display)
      : TabPage(form), wmi_(wmi), messages_(messages), display_(display) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;

  void FillDisplayPage();
  // Runs at every activation of the hosting window; builds no page.
  void CheckResolutionOnActivate();
  bool SetScreenResolution(int width, int height);
  void BitBtnRestoreClick();  // "Restore" (SpeedButton38)
  void BtnClearClick();       // "Clear" (SpeedButton39)

 private:
  WmiQueryService& wmi_;
  const MessageTable& messages_;
  DisplaySource& display_;
};

}  // namespace corvel
