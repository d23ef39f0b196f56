#include "base/messages/TZExcept.h"

#include "base/messages/zmsg.h"

namespace {
// Codes above the 16-bit resource-id range (the library's own codes) have no string resource.
AnsiString ResourceTextOfCode(uint32_t code)
{
    return code <= 0xFFFFu ? ResourceMessageText(static_cast<int>(code)) : AnsiString();
}
}  // namespace

TZExcept::TZExcept(uint32_t code, AnsiString text)
    : Exception(AnsiString(), static_cast<int>(code)), code_(code), secondCode_(0), text_(std::move(text))
{}

TZExcept::TZExcept(uint32_t code, AnsiString text, uint32_t secondCode)
    : Exception(ResourceTextOfCode(code), static_cast<int>(secondCode)), code_(code), secondCode_(secondCode),
      text_(std::move(text))
{}

TZExcept::TZExcept(AnsiString message, uint32_t code)
    : Exception(message, static_cast<int>(code)), code_(code), secondCode_(0), text_(std::move(message))
{}
