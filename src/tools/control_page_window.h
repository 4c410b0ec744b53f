// The Control page: the "System dialogues" shortcuts, the clipboard view and
// the buttons of the small tools and of the tool windows. The page binds
// its shortcuts; the buttons that open a tool window are bound by whoever
// holds that window (the main window for most).
#pragma once
#include <string>

#include "base/messages.h"
#include "base/shell.h"
#include "win/tab_page.h"

namespace corvel {

class ControlPage : public TabPage {
 public:
  ControlPage(Form& form, Shell& shell, ShellOps& ops, const MessageTable& messages)
      : TabPage(form), shell_(shell), ops_(ops), messages_(messages) {}
  std::span<const ControlSpec> Layout() const override;
  void Bind() override;

 private:
  Shell& shell_;
  ShellOps& ops_;
  const MessageTable& messages_;
};

}  // namespace corvel
