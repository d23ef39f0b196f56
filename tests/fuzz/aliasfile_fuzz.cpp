// Fuzz target for the three alias file forms. Every input is read as a record-form, a line-form and
// a text file. A list that loads is written again in the same form and must load again to the same
// entries (the record form to the same bytes as well); a refused file must leave the list empty.
#include <string>
#include <utility>

#include "base/aliases/AliasList.h"
#include "base/text/LangText.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Entries = std::vector<std::pair<std::string, std::string>>;

Entries GoodEntries(const TLBsAls &list)
{
    Entries out;
    for (const SALS_Link *e = list.Head(); e != nullptr; e = e->next) {
        if (e->idLength > dfMaxLenAliasID || e->infoLength > dfMaxLenAliasInfo || e->info[e->infoLength] != 0)
            FuzzFinding("an entry holds more than its fields");
        if (e->error == 0)
            out.emplace_back(std::string(e->Id()), std::string(e->Info()));
    }
    return out;
}

enum class Form { Record, Line, Text };

int Load(TLBsAls &list, Form form, const Bytes &file)
{
    list.SetFlag(AlsLineForm, form == Form::Line);
    return form == Form::Text ? list.LoadTextImage(file) : list.LoadBinaryImage(file);
}

void Check(const Bytes &file, Form form, bool markers)
{
    TLBsAls list;
    if (Load(list, form, file) == 0) {
        if (list.Head() != nullptr || list.Flag(AlsLoaded))
            FuzzFinding("a refused file left entries behind");
        if (list.LastError() != AliasErrEmpty && list.LastError() != AliasErrDamaged)
            FuzzFinding("a refused file has no error number");
        return;
    }
    list.SetFlag(AlsWriteMarkers, markers);
    const Entries entries = GoodEntries(list);
    const Bytes again = form == Form::Text ? list.TextImage() : list.BinaryImage();
    TLBsAls back;
    if (Load(back, form, again) == 0 && !(again.empty() && form == Form::Text))
        FuzzFinding("a written file is refused by its own reader");
    const Entries reread = GoodEntries(back);
    if (reread.size() != entries.size())
        FuzzFinding("a written file reads back with another number of entries");
    if (form == Form::Record && (reread != entries || back.BinaryImage() != again))
        FuzzFinding("the record form does not read back to the same entries");
    for (const auto &[id, info] : reread) {
        SALS_Link *found = back.Find(id.data(), static_cast<int>(id.size()));
        if (found == nullptr)
            FuzzFinding("a written entry cannot be found");
        AnsiString folder;
        back.ResolveAlias(folder, LangRus, found->idLength, found->id);
        const std::string prefixed = id + "#rest";
        back.Substitute(folder, LangUkr, static_cast<int>(prefixed.size()), prefixed.data());
    }
}

void Put16(std::string &s, std::size_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Bytes file(data, data + size);
    const bool markers = size > 0 && (data[size / 2] & 1) != 0;
    Check(file, Form::Record, markers);
    Check(file, Form::Line, markers);
    Check(file, Form::Text, markers);
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    const std::vector<std::string> lines = {"CFG#@CFG",        "TWO#рус#укр", "MRK#^a#b&c",
                                            " spaced  # x y ", "#none",       std::string(20, 'L') + "#long",
                                            "ONE#^рус"};
    std::string record("\xD6\xCC\xD2"
                       "5\x01\x00\x00\x00",
                       8),
        line, text = "// comment\r\n";
    for (const std::string &l : lines) {
        std::string r = l;
        const std::size_t sep = r.find('#');
        if (sep != std::string::npos)
            r[sep] = 0x01;
        record += std::string(2, '\0');
        Put16(record, r.size());
        record += r;
        line += std::string("\x00\xFF\xFF\xFF\xFF", 5);
        Put16(line, l.size());
        line += l;
        text += l + "\r\n";
    }
    record += std::string("\x00\x60\xFF\xFF", 4);
    line += std::string("\x00\xFF\xFF\xFF\xFF\x01\x00@", 8);
    text += "LAST#no line end";
    std::vector<Bytes> seeds;
    for (const std::string &s : {record, line, text})
        seeds.emplace_back(s.begin(), s.end());
    return seeds;
}
