// Fuzz target for records read from text lines. The first byte picks one of a few fixed descriptor
// lists (texts and characters, integers, floating values, dates and times, a mix); the rest is the
// line, read with its length (so NULs are data), ';' as the separator and '\n' as the end. The
// record is exactly the fields' size, so a write past it is a sanitizer report. Besides the
// sanitizers: the bytes consumed lie within the line, and the line the record gives reads back to a
// record that gives the same line.
#include <cstring>
#include <vector>

#include "base/records/SpkaOps.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
struct Fields {
    Bytes descriptors;
    std::size_t size = 0;
};

Fields Make(std::initializer_list<std::pair<std::uint8_t, std::uint16_t>> list)
{
    Fields f;
    for (const auto &[type, count] : list) {
        const std::size_t width = IsLenField(type, true);
        const std::size_t n = count == 0 ? 1 : count;
        AppendSpkaDescriptor(f.descriptors, type, static_cast<std::uint16_t>(f.size), count);
        f.size += n * width;
    }
    f.descriptors.push_back(SpkaDescriptorEnd);
    return f;
}

const std::vector<Fields> &Lists()
{
    static const std::vector<Fields> lists = {
        Make({{SpkaType::Text, 2}, {SpkaType::Char, 3}, {SpkaType::Text, 0}}),
        Make({{SpkaType::HexU8, 2},
              {SpkaType::U8, 1},
              {SpkaType::HexU16, 1},
              {SpkaType::I16, 2},
              {SpkaType::HexU32, 1},
              {SpkaType::I32, 2},
              {SpkaType::IntPair, 2}}),
        Make({{SpkaType::Float, 3}, {SpkaType::Double, 3}}),
        Make({{SpkaType::Date, 3}, {SpkaType::Time, 3}}),
        Make({{SpkaType::I32, 1},
              {SpkaType::Text, 1},
              {SpkaType::Double, 1},
              {SpkaType::Date, 1},
              {SpkaType::Char, 1},
              {SpkaType::IntPair, 1},
              {SpkaType::Time, 1},
              {SpkaType::HexU8, 1}}),
    };
    return lists;
}

Bytes Seed(std::uint8_t list, std::string_view line)
{
    Bytes b{list};
    b.insert(b.end(), line.begin(), line.end());
    return b;
}

}  // namespace

std::vector<Bytes> FuzzSeedInputs()
{
    return {
        Seed(0, "first;second;a;b;c;third\n"),
        Seed(1, "0F;A0;255;BEEF;-32768;7;0000ABCD;-2147483648;2147483647;-5.12;0.-294967296\n"),
        Seed(2, "-1,5;0,100000002;INFINITY;3,141592654;-NAN;1e300\n"),
        Seed(3, "29.02.2024;31.12.2127;01.01.1950;23:59:58;00:00:00;12:30\n"),
        Seed(4, "42;text;-0,5;01.02.2003;x;1.2;10:11:12;7F\n"),
        Seed(4, ";;;;;;;\n"),
    };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const Fields &fields = Lists()[data[0] % Lists().size()];
    const char *line = reinterpret_cast<const char *>(data) + 1;
    const std::size_t length = size - 1;

    Bytes first(fields.size, 0), second(fields.size, 0);
    if (SPKA_Ops::ParseRecord(fields.descriptors, first.data(), line, '\n', ';', length) > length)
        FuzzFinding("the reader consumed more than the line");
    AnsiString written;
    SPKA_Ops::FormatRecord(fields.descriptors, written, first.data(), '\n', ';');
    SPKA_Ops::ParseRecord(fields.descriptors, second.data(), written.data(), '\n', ';', written.size());
    AnsiString again;
    SPKA_Ops::FormatRecord(fields.descriptors, again, second.data(), '\n', ';');
    if (again != written)
        FuzzFinding("a record's line does not read back to the same line");
    SPKA_Ops::ClearTextFields(fields.descriptors, first.data());
    SPKA_Ops::ClearTextFields(fields.descriptors, second.data());
    return 0;
}
