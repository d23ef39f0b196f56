#include "base/aliases/AliasFileForms.h"

#include <cstring>

#include "base/memory/Bytes.h"
#include "base/records/HeaderMagic5.h"
#include "base/records/TagRecord.h"

namespace {

constexpr std::size_t LineHeaderSize = 7;  // u8 flags, u32 link, u16 length
constexpr char EndLine = '@';

std::string_view View(const std::uint8_t *p, std::size_t n) { return {reinterpret_cast<const char *>(p), n}; }

void PutBytes(AliasFileImage &out, std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

void PutLineRecord(AliasFileImage &out, std::string_view data)
{
    out.push_back(0);
    for (int i = 0; i < 4; ++i)
        out.push_back(0xFF);
    AppendU16(out, static_cast<std::uint16_t>(data.size()));
    PutBytes(out, data);
}

}  // namespace

bool SplitAliasRecordFile(std::span<const std::uint8_t> file, std::vector<std::string_view> &records)
{
    records.clear();
    if (file.size() < HeaderMagic5Size)
        return false;
    const std::uint8_t *end = file.data() + file.size();
    const std::uint8_t *r = file.data() + HeaderMagic5Size;
    for (;;) {
        if (!TagHeaderFits(r, end))
            return false;  // no end record
        if (IsEndTagRecord(r, end))
            return true;
        const std::uint16_t n = GetTagRecordLength(r, end);
        const std::uint8_t *next = NextTagRecord(r, end);
        if (next == nullptr)
            return false;  // the record runs past the end of the file
        records.push_back(View(r + static_cast<int>(TagForm::Short), n));
        r = next;
    }
}

bool SplitAliasLineFile(std::span<const std::uint8_t> file, std::vector<std::string_view> &lines)
{
    lines.clear();
    TByteReader reader(file);
    for (;;) {
        std::uint16_t n = 0;
        std::string_view data;
        if (!reader.Skip(LineHeaderSize - 2) || !reader.ReadU16(n))
            return false;  // no end record
        if (!reader.ReadText(n, data))
            return false;  // the record runs past the end of the file
        if (n == 1 && data[0] == EndLine)
            return true;
        lines.push_back(data);
    }
}

bool SplitAliasTextFile(std::span<const std::uint8_t> file, std::vector<std::string_view> &lines)
{
    lines.clear();
    if (!file.empty() && std::memchr(file.data(), 0, file.size()) != nullptr)
        return false;
    const std::string_view text = View(file.data(), file.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", at);
        if (stop == std::string_view::npos)
            stop = text.size();
        const std::string_view line = text.substr(at, stop - at);
        if (line.size() >= 2 && line.substr(0, 2) != "//")
            lines.push_back(line);
        at = stop;
        if (at < text.size()) {
            const char first = text[at++];
            if (at < text.size() && (text[at] == '\r' || text[at] == '\n') && text[at] != first)
                ++at;
        }
    }
    return true;
}

AliasFileImage JoinAliasRecordFile(const std::vector<AnsiString> &records)
{
    HeaderMagic5 header;
    header.SetFlagA(1);
    AliasFileImage out(header.Data(), header.Data() + header.Size());
    for (const AnsiString &r : records) {
        std::uint8_t tag[4];
        SetTag(tag, 0, false);
        SetTagRecordLength(tag, static_cast<std::uint16_t>(r.size()));
        out.insert(out.end(), tag, tag + 4);
        PutBytes(out, r);
    }
    std::uint8_t endRecord[4];
    SetEndTagRecord(endRecord);
    out.insert(out.end(), endRecord, endRecord + 4);
    return out;
}

AliasFileImage JoinAliasLineFile(const std::vector<AnsiString> &lines)
{
    AliasFileImage out;
    for (const AnsiString &l : lines)
        PutLineRecord(out, l);
    PutLineRecord(out, std::string_view(&EndLine, 1));
    return out;
}

AliasFileImage JoinAliasTextFile(const std::vector<AnsiString> &lines)
{
    AliasFileImage out;
    for (const AnsiString &l : lines) {
        if (l.compare(0, 2, "//") == 0)
            out.push_back(' ');
        PutBytes(out, l);
        out.push_back('\r');
        out.push_back('\n');
    }
    return out;
}
