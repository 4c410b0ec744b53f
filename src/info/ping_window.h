// TFormPing: the small window that lists the ping replies. Shown modeless;
// it keeps its list between pings until the next showing empties it.
#pragma once
#include <string>
#include <vector>

#include "win/form.h"

namespace corvel {

class TFormPing : public Form {
 public:
  explicit TFormPing(Dialogs& dialogs) : Form(dialogs, L"TFormPing") {}
  void Create(HWND owner);

  void AddLine(const std::wstring& line);  // one more line in ListBox1
  std::vector<std::wstring> Lines() const;

  void BitBtn1Click();  // "Close"
  bool PreviewKeyDown(WPARAM vk) override;

 protected:
  void FormShow() override;
};

}  // namespace corvel
