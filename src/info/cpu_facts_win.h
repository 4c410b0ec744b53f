// The CPU page's readings on Windows: the identification instruction and a
// measured clock frequency.
#pragma once
#include "info/cpu_facts.h"

namespace corvel {

// The identification instruction of this processor.
CpuidFunction ProcessorCpuid();

// The time-stamp counter against the performance counter over about 30 ms,
// in whole MHz, normalised to the usual steps. 0 when it cannot be measured.
int MeasuredCpuMhz();

}  // namespace corvel
