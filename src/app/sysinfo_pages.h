// The layout tables of the main window's pages, each beside its page's
// fills in its own file.
#pragma once
#include <windows.h>

#include <span>

#include "win/controls.h"

namespace corvel {

constexpr UINT_PTR kTimer1 = 1;  // the CPU-load timer of the main window

std::span<const ControlSpec> SystemPageControls();
std::span<const ControlSpec> CpuPageControls();
std::span<const ControlSpec> NetworkPageControls();
std::span<const ControlSpec> MemoryPageControls();
std::span<const ControlSpec> DisplayPageControls();
std::span<const ControlSpec> ApmSoundPageControls();
std::span<const ControlSpec> BiosPageControls();
std::span<const ControlSpec> MainboardPageControls();

}  // namespace corvel
