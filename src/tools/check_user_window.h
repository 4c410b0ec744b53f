// TFormCheckUser: where a new autostart entry goes. Created once, so the
// last choice stays selected for the next addition.
#pragma once
#include <optional>

#include "tools/autostart.h"
#include "win/form.h"

namespace corvel {

class TFormCheckUser : public Form {
 public:
  explicit TFormCheckUser(Dialogs& dialogs) : Form(dialogs, L"TFormCheckUser") {}
  void Create(HWND owner);
  // Shows the dialog modally, centred on its owner; nothing for Cancel or
  // the window's close button.
  std::optional<AutostartTarget> Choose();

 protected:
  void FormShow() override;
  bool PreviewKeyDown(WPARAM vk) override;  // Enter is OK, Escape Cancel
};

}  // namespace corvel
