// A process for the Process page's tests: its name holds "keylog", it carries
// the program's version resource, and it waits until it is ended (or for a
// minute at most, so a failed test leaves nothing running for long).
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Sleep(60 * 1000);
  return 0;
}
