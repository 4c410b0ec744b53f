#include "base/errors.h"

#include <utility>

#include "base/text.h"

namespace corvel {

Error::Error(std::wstring text) : text_(std::move(text)), narrow_(Narrow(text_)) {}

InOutError::InOutError(unsigned code) : Error(L"E/A-Fehler " + std::to_wstring(code)), code_(code) {}

InOutError::InOutError(std::wstring text, unsigned code) : Error(std::move(text)), code_(code) {}

}  // namespace corvel
