#include "base/text/SLang.h"

#include <cstring>

#include "base/text/LangText.h"

TSLang::TSLang() : TADObj(1, 0) {}

void TSLang::Set(const AnsiString &text)
{
    Assign(text.data(), static_cast<std::uint32_t>(text.size()));
    locatedLength_ = 0;
}

void TSLang::Set(const char *text)
{
    std::size_t n = text == nullptr ? 0 : std::strlen(text);
    Assign(text, static_cast<std::uint32_t>(n));
    locatedLength_ = 0;
}

void TSLang::SetCount(std::uint32_t n)
{
    Grow(n);
    locatedLength_ = 0;
}

AnsiString TSLang::GetWhole() const { return Count() == 0 ? AnsiString() : AnsiString(Data(), Count()); }

const char *TSLang::LocatePart(std::uint8_t language)
{
    const char *start = nullptr;
    // The held bytes are counted; an empty text must not be read up to a NUL it does not have.
    int n = Count() == 0 ? 0 : LocateLangPart(language, Data(), static_cast<int>(Count()), false, &start);
    locatedLength_ = static_cast<std::uint32_t>(n);
    return start;
}

AnsiString TSLang::GetText(std::uint8_t language)
{
    const char *start = LocatePart(language);
    return locatedLength_ == 0 ? AnsiString() : AnsiString(start, locatedLength_);
}
