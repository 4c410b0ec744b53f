// What one page of a tabbed window shows and does: its layout table and the
// handlers it binds on the form. The page's controls live in the form's
// page window (Form::AddPage), built when the page is first shown; the form
// that hosts it owns the tab control and calls the page's fills.
#pragma once
#include <span>
#include <string_view>

#include "win/form.h"

namespace corvel {

class TabPage {
 public:
  explicit TabPage(Form& form) : form_(form) {}
  virtual ~TabPage() = default;
  TabPage(const TabPage&) = delete;
  TabPage& operator=(const TabPage&) = delete;

  virtual std::span<const ControlSpec> Layout() const = 0;
  // Binds the page's handlers; binding builds nothing.
  virtual void Bind() {}

 protected:
  Form& form() const { return form_; }
  HWND Ctl(std::wstring_view name) const { return form_.Ctl(name); }
  Dialogs& dialogs() const { return form_.dialogs(); }
  UINT Dpi() const { return form_.Dpi(); }  // what the page's own drawing scales to

 private:
  Form& form_;
};

}  // namespace corvel
