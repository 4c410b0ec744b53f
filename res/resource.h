// Resource ids shared by the programs and their resource scripts.
#pragma once

#define IDI_CORVEL 1   // program icon (16, 32, 48 px)

// Wave resources, type "WAVE", played with PlaySoundW(SND_RESOURCE).
#define IDW_ALARM 1    // short beep pattern, played in a loop by the alarm clock
#define IDW_FANFARE 2  // about 5 s fanfare, the sound test
