// Tool windows that are created at start-up and get their contents with their
// own features: until then each is an empty window with its caption.
#pragma once
#include "win/two_language_form.h"

namespace corvel {

class ToolShellWindow : public TwoLanguageForm {
 public:
  ToolShellWindow(Dialogs& dialogs, const wchar_t* className, const wchar_t* caption, int width, int height)
      : TwoLanguageForm(dialogs, className), caption_(caption), width_(width), height_(height) {}
  void Create(HWND owner) { CreateForm(caption_, width_, height_, owner); }

 private:
  const wchar_t* caption_;
  int width_, height_;
};

}  // namespace corvel
