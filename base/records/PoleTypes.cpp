// Field types of records.
#include "base/records/PoleTypes.h"

#include "base/records/RecString.h"
#include "base/records/URString.h"

namespace {

constexpr int Refused = -1;
constexpr int Pointer = static_cast<int>(sizeof(void *));

// One row of the field-type table. `stored` is the fixed part; `length` what IsLenField gives
// without the flag and without a value.
struct PoleRow {
    int memory = Refused;
    int stored = Refused;
    int length = Refused;
    int flagClass = Refused;
    int fixed = Refused;  // 1 fixed, 0 not, Refused
    std::uint16_t bits = 0;
};

constexpr PoleRow Row(int memory, int stored, int length, int flagClass, int fixed, std::uint16_t bits = 0)
{
    return PoleRow{memory, stored, length, flagClass, fixed, bits};
}

constexpr PoleRow Number(int size) { return Row(size, size, size, Pole::ClassRaw, 1); }

constexpr PoleRow PoleTable(std::uint8_t type)
{
    switch (type) {
    case 1: return Row(Pointer, 2, 2, 0, 0, 0x0001);
    case 2:
    case 3: return Number(1);
    case 4: return Row(1, 1, 1, Refused, Refused);
    case 5: return Number(2);
    case 6: return Row(2, 2, 2, Refused, Refused);
    case 7:
    case 8:
    case 9:
    case 13:
    case 18: return Number(4);
    case 10:
    case 14:
    case 70: return Number(8);
    case 11:
    case 12: return Number(2);
    case 15: return Row(Pointer, 4, 4, Pole::ClassVariable, 0, 0x0040);
    case 16: return Row(Refused, Refused, Refused, Pole::ClassRaw, 1);
    case 17: return Row(4, 0, 0, Pole::ClassRaw, 1);
    case 21: return Row(0, 0, Refused, Refused, Refused);
    case 22: return Row(2, 0, 0, Pole::ClassRaw | Pole::ClassNotStored, 1, Pole::TagWordFlag);
    case 31: return Row(Pointer, 2, 2, 0, 0, 0x0003);
    case 32: return Row(Pointer, 2, 2, 0, 0, 0x0005);
    case 33:
    case 34: return Row(Pointer, 2, 2, 0, 0);
    case 35: return Row(Refused, Refused, Refused, Refused, 1);
    case 40: return Row(Pointer, 2, 4, 0, 0);
    case 41: return Row(Pointer, 8, 4, 0, 0);
    case 42: return Row(Pointer, 12, 4, 0, 0);
    case 43: return Row(Pointer, 4, 4, 0, 0);
    default: return PoleRow{};
    }
}

[[noreturn]] void Refuse(const char *text) { throw TZExcept(AnsiString(text), UnknownPoleCode); }

// The value's own length: a text's or a record's bytes, a two-language text's packed size.
std::size_t ValueLength(std::uint8_t type, const void *member)
{
    if (type == Pole::TwoLanguage)
        return URString::SlotPackedSize(member, 0);
    return RecString::View(member, 0).size();
}

bool HasValue(std::uint8_t type)
{
    return Pole::IsTextType(type) || Pole::IsRecordType(type) || type == Pole::TwoLanguage;
}

}  // namespace

std::size_t IsLenField(std::uint8_t type, bool inMemory, const void *member)
{
    const PoleRow row = PoleTable(type);
    if (row.length == Refused)
        Refuse("IsLenField - unknown type pole");
    if (inMemory)
        return static_cast<std::size_t>(row.memory);
    if (member != nullptr && HasValue(type))
        return ValueLength(type, member);
    return static_cast<std::size_t>(row.length);
}

std::size_t IsSizeField(std::uint8_t type, bool inMemory, const void *member)
{
    const PoleRow row = PoleTable(type);
    if (row.memory == Refused)
        Refuse("IsSizeField - unknown type pole");
    if (inMemory)
        return static_cast<std::size_t>(row.memory);
    if (member == nullptr || !HasValue(type))
        return static_cast<std::size_t>(row.stored);
    // A packed two-language text carries its own fixed part.
    if (type == Pole::TwoLanguage)
        return ValueLength(type, member);
    return static_cast<std::size_t>(row.stored) + ValueLength(type, member);
}

std::uint8_t IsFlagPoleOpsField(std::uint8_t type)
{
    const PoleRow row = PoleTable(type);
    if (row.flagClass == Refused)
        Refuse("IsFlagPoleOpsField- unknown type pole");
    return static_cast<std::uint8_t>(row.flagClass);
}

bool IsFixedField(std::uint8_t type)
{
    const PoleRow row = PoleTable(type);
    if (row.fixed == Refused)
        Refuse("IsFixedField - unknown type pole");
    return row.fixed == 1;
}

std::uint16_t PoleFlagBits(std::uint8_t type) { return PoleTable(type).bits; }
