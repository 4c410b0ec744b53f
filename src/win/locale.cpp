#include "win/locale.h"

#include <windows.h>

namespace corvel {

wchar_t UserDecimalSeparator() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 0 && buf[0]) return buf[0];
  return L'.';
}

}  // namespace corvel
