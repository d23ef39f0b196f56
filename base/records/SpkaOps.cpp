// Records as text lines.
#include "base/records/SpkaOps.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "base/memory/Bytes.h"
#include "base/numbers/NumberText.h"
#include "base/numbers/PackedDate.h"
#include "base/records/RecString.h"

namespace {

struct Descriptor {
    std::uint8_t type;
    std::uint16_t offset;
    std::uint32_t elements;
};

bool IsSpkaType(std::uint8_t type) { return type >= SpkaType::Text && type <= SpkaType::IntPair && type != 13; }

// The descriptors up to their end; with a refusal text, a type the conversions do not know is refused
// with it.
std::vector<Descriptor> ReadDescriptors(std::span<const std::uint8_t> descriptors, const char *refusal)
{
    std::vector<Descriptor> out;
    TByteReader in(descriptors);
    for (;;) {
        Descriptor d{};
        std::uint16_t count = 0;
        if (!in.ReadU8(d.type))
            throw TZExcept(AnsiString("Record line: the field descriptors end without their closing 'G'"),
                           DamagedRecordCode);
        if (d.type == SpkaDescriptorEnd)
            return out;
        if (!in.ReadU16(d.offset) || !in.ReadU16(count))
            throw TZExcept(AnsiString("Record line: a field descriptor runs past the end of the list"),
                           DamagedRecordCode);
        if (refusal != nullptr && !IsSpkaType(d.type))
            throw TZExcept(AnsiString(refusal), UnknownPoleCode);
        d.elements = count == 0 ? 1u : count;
        out.push_back(d);
    }
}

constexpr const char *ParseRefusal = "SPKA_Ops::AnsiToPole- unknown type pole";
constexpr const char *FormatRefusal = "SPKA_Ops::PoleToAnsi - unknown type pole";

std::size_t Stride(std::uint8_t type) { return IsLenField(type, true); }

void StoreU8(void *p, std::uint8_t v) { std::memcpy(p, &v, 1); }

// The field's value when its text is empty.
void MakeEmpty(std::uint8_t type, std::uint8_t *member)
{
    if (type == SpkaType::Text)
        RecString::Clear(member, 0);
    else if (type == SpkaType::Char)
        StoreU8(member, ' ');
    else
        std::memset(member, 0, Stride(type));
}

double ReadDouble(const std::string &field)
{
    if (field == FloatSpecial::NaN)
        return std::numeric_limits<double>::quiet_NaN();
    if (field == FloatSpecial::NegativeNaN)
        return -std::numeric_limits<double>::quiet_NaN();
    if (field == FloatSpecial::Infinity)
        return std::numeric_limits<double>::infinity();
    if (field == FloatSpecial::NegativeInfinity)
        return -std::numeric_limits<double>::infinity();
    int consumed = 0;
    return TextToDouble(field.c_str(), &consumed, ',');
}

// A double as the nearest float, beyond the float's range its infinity.
float ToFloat(double value)
{
    if (std::isnan(value) || std::fabs(value) <= FLT_MAX)
        return static_cast<float>(value);
    return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
}

// A limit for the readers that count in int; a longer field is read up to its terminating NUL.
int ReadLimit(std::size_t length) { return length < 0x7FFFFFFF ? static_cast<int>(length) : 0; }

std::int32_t ReadInt(const char *text, std::size_t length, int *consumed)
{
    bool overflow = false;
    return DigitsToInt(text, consumed, '\0', ReadLimit(length), &overflow);
}

void AppendDouble(double value, AnsiString &out)
{
    char buffer[DoubleTextMax];
    // A value that rounds to nothing is written "0", whatever its sign.
    if (RoundDoubleDecimals(value, 9) == 0.0)
        value = 0.0;
    const int written = DoubleToText(value, buffer, -9, 0, DoubleTextZero);
    out.append(buffer, static_cast<std::size_t>(written < 0 ? -written : written));
}

void AppendInt(std::int32_t value, AnsiString &out)
{
    char buffer[16];
    out.append(buffer, static_cast<std::size_t>(IntToDigits(value, buffer, '0')));
}

void AppendHex(std::uint32_t value, int bytes, AnsiString &out)
{
    char buffer[8];
    out.append(buffer, static_cast<std::size_t>(UIntToHex(value, buffer, 0, bytes)));
}

}  // namespace

void AppendSpkaDescriptor(std::vector<std::uint8_t> &descriptors, std::uint8_t type, std::uint16_t offset,
                          std::uint16_t count)
{
    descriptors.push_back(type);
    AppendU16(descriptors, offset);
    AppendU16(descriptors, count);
}

void SPKA_Ops::AnsiToPole(std::uint8_t type, const char *text, std::size_t length, void *member)
{
    if (!IsSpkaType(type))
        throw TZExcept(AnsiString(ParseRefusal), UnknownPoleCode);
    if (text == nullptr)
        length = 0;
    if (type == SpkaType::Text) {
        RecString::Set(member, 0, std::string_view(text, length));
        return;
    }
    if (type == SpkaType::Char) {
        StoreU8(member, length == 0 ? ' ' : static_cast<std::uint8_t>(text[0]));
        return;
    }
    // The number and date readers read up to a NUL: they get the field alone, terminated.
    const std::string field(text, length);
    const char *f = field.c_str();
    const int n = ReadLimit(field.size());
    int consumed = 0;
    auto *m = static_cast<std::uint8_t *>(member);
    switch (type) {
    case SpkaType::HexU8: StoreU8(m, static_cast<std::uint8_t>(HexToUInt(f, &consumed, n))); break;
    case SpkaType::HexU16: StoreU16(m, static_cast<std::uint16_t>(HexToUInt(f, &consumed, n))); break;
    case SpkaType::HexU32: StoreU32(m, HexToUInt(f, &consumed, n)); break;
    case SpkaType::U8: StoreU8(m, static_cast<std::uint8_t>(ReadInt(f, field.size(), &consumed))); break;
    case SpkaType::I16: StoreU16(m, static_cast<std::uint16_t>(ReadInt(f, field.size(), &consumed))); break;
    case SpkaType::I32: StoreU32(m, static_cast<std::uint32_t>(ReadInt(f, field.size(), &consumed))); break;
    case SpkaType::Float: {
        const float value = ToFloat(ReadDouble(field));
        std::memcpy(m, &value, sizeof value);
        break;
    }
    case SpkaType::Double: {
        const double value = ReadDouble(field);
        std::memcpy(m, &value, sizeof value);
        break;
    }
    case SpkaType::Date: StoreU16(m, ParseDate(f, &consumed)); break;
    case SpkaType::Time: StoreU16(m, ParseTime(f, &consumed)); break;
    case SpkaType::IntPair: {
        const std::size_t dot = field.find('.');
        const std::size_t firstLength = dot == std::string::npos ? field.size() : dot;
        const std::int32_t first = ReadInt(f, firstLength, &consumed);
        const std::int32_t second =
            dot == std::string::npos ? 0 : ReadInt(f + dot + 1, field.size() - dot - 1, &consumed);
        StoreU32(m, static_cast<std::uint32_t>(first));
        StoreU32(m + 4, static_cast<std::uint32_t>(second));
        break;
    }
    }
}

void SPKA_Ops::PoleToAnsi(std::uint8_t type, const void *member, AnsiString &output)
{
    if (!IsSpkaType(type))
        throw TZExcept(AnsiString(FormatRefusal), UnknownPoleCode);
    const auto *m = static_cast<const std::uint8_t *>(member);
    switch (type) {
    case SpkaType::Text: output.append(RecString::View(member, 0)); break;
    case SpkaType::Char: output.push_back(static_cast<char>(m[0])); break;
    case SpkaType::HexU8: AppendHex(m[0], 1, output); break;
    case SpkaType::HexU16: AppendHex(LoadU16(m), 2, output); break;
    case SpkaType::HexU32: AppendHex(LoadU32(m), 4, output); break;
    case SpkaType::U8: AppendInt(m[0], output); break;
    case SpkaType::I16: AppendInt(static_cast<std::int16_t>(LoadU16(m)), output); break;
    case SpkaType::I32: AppendInt(static_cast<std::int32_t>(LoadU32(m)), output); break;
    case SpkaType::Float: {
        float value;
        std::memcpy(&value, m, sizeof value);
        AppendDouble(value, output);
        break;
    }
    case SpkaType::Double: {
        double value;
        std::memcpy(&value, m, sizeof value);
        AppendDouble(value, output);
        break;
    }
    case SpkaType::Date: {
        char buffer[10];
        output.append(buffer, static_cast<std::size_t>(FormatDate(LoadU16(m), buffer, '.', true)));
        break;
    }
    case SpkaType::Time: {
        char buffer[8];
        output.append(buffer, static_cast<std::size_t>(FormatTime(LoadU16(m), buffer, ':', true)));
        break;
    }
    case SpkaType::IntPair:
        AppendInt(static_cast<std::int32_t>(LoadU32(m)), output);
        output.push_back('.');
        AppendInt(static_cast<std::int32_t>(LoadU32(m + 4)), output);
        break;
    }
}

std::size_t SPKA_Ops::ParseRecord(std::span<const std::uint8_t> descriptors, void *record, const char *text,
                                  char endChar, char separator, std::size_t length)
{
    const std::vector<Descriptor> fields = ReadDescriptors(descriptors, ParseRefusal);
    if (text == nullptr || record == nullptr)
        return 0;
    if (length == 0)
        length = std::strlen(text);
    auto *rec = static_cast<std::uint8_t *>(record);
    std::size_t pos = 0;
    for (const Descriptor &d : fields) {
        for (std::uint32_t e = 0; e < d.elements; ++e) {
            if (pos >= length)
                return pos;
            std::uint8_t *member = rec + d.offset + e * Stride(d.type);
            const char first = text[pos];
            if (first == endChar) {
                MakeEmpty(d.type, member);
                return pos + 1;
            }
            if (first == separator) {
                MakeEmpty(d.type, member);
            } else {
                std::size_t end = pos;
                while (end < length && text[end] != separator && text[end] != endChar)
                    ++end;
                AnsiToPole(d.type, text + pos, end - pos, member);
                pos = end;
            }
            if (pos < length && text[pos] == separator)
                ++pos;
        }
    }
    return pos;
}

std::size_t SPKA_Ops::FormatRecord(std::span<const std::uint8_t> descriptors, AnsiString &output, const void *record,
                                   char endChar, char separator)
{
    const std::vector<Descriptor> fields = ReadDescriptors(descriptors, FormatRefusal);
    AnsiString line;
    const auto *rec = static_cast<const std::uint8_t *>(record);
    for (const Descriptor &d : fields) {
        for (std::uint32_t e = 0; e < d.elements; ++e) {
            PoleToAnsi(d.type, rec + d.offset + e * Stride(d.type), line);
            line.push_back(separator);
        }
    }
    if (!line.empty())
        line.back() = endChar;
    output = std::move(line);
    return output.size();
}

void SPKA_Ops::ClearTextFields(std::span<const std::uint8_t> descriptors, void *record)
{
    auto *rec = static_cast<std::uint8_t *>(record);
    for (const Descriptor &d : ReadDescriptors(descriptors, nullptr))
        if (d.type == SpkaType::Text)
            for (std::uint32_t e = 0; e < d.elements; ++e)
                RecString::Clear(rec, d.offset + e * Stride(d.type));
}

bool SPKA_Ops::HasTextFields(std::span<const std::uint8_t> descriptors)
{
    for (const Descriptor &d : ReadDescriptors(descriptors, nullptr))
        if (d.type == SpkaType::Text)
            return true;
    return false;
}
