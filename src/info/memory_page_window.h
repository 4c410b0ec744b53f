// The Memory page.
#pragma once
#include "info/memory_figures.h"
#include "win/tab_page.h"

namespace corvel {

class MemoryPage : public TabPage {
 public:
  MemoryPage(Form& form, MemorySource& memory) : TabPage(form), memory_(memory) {}
  std::span<const ControlSpec> Layout() const override;
  void FillMemoryPage();

 private:
  MemorySource& memory_;
};

}  // namespace corvel
