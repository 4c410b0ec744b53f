// Enabling privileges of the program's own process token.
#pragma once
#include <string>

namespace corvel {

// Enables a privilege. True when the token cannot be opened (not reported)
// or the adjustment left no error; false when the token does not hold the
// privilege.
bool EnablePrivilege(const std::wstring& name);

// Switches a privilege on or off and returns true; throws Error with the
// system's message when anything on the way fails or the token does not
// hold the privilege. Outside the NT family it does nothing.
bool SetPrivilegeOrRaise(const std::wstring& name, bool on);

}  // namespace corvel
