// TForm1: Tessel's window. Closing it ends the program.
#pragma once
#include "win/form.h"

namespace corvel {

class TForm1 : public Form {
 public:
  explicit TForm1(Dialogs& dialogs) : Form(dialogs, L"TForm1") {}
  void Create();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormCloseRequested() override;
};

}  // namespace corvel
