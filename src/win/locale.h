// The user's regional settings that figures are formatted with.
#pragma once

namespace corvel {

// The user's decimal separator ("." when the locale gives none).
wchar_t UserDecimalSeparator();

}  // namespace corvel
