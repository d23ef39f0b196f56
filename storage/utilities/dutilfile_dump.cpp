// A record file written out as text, one line per record.
#include <memory>

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "storage/utilities/dutilfile.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/wstore.h"

AnsiString DumpLine(const uint8_t *data, uint32_t length)
{
    // The record holds a u16 length and the text; the line is the text as the record's length has it.
    if (length < 2)
        return AnsiString();
    return AnsiString(reinterpret_cast<const char *>(data) + 2, length - 2);
}

namespace {

void Put(WStore &file, AnsiString &lines)
{
    if (!lines.empty() && file.Write(lines.data(), static_cast<uint32_t>(lines.size())) != lines.size())
        throw ZError("Для файла " + file.Name() + " запись выполнена не полностью", 0);
    lines.clear();
}

}  // namespace

void DumpLogicalFile(const AnsiString &recordFile, const AnsiString &textFile)
{
    WStoreSystem &files = StoreSystem();
    files.Delete(ResolveAliasPath(textFile));
    WFile records(recordFile, SimpleMode::Read);
    std::unique_ptr<WStore> text = files.Open(textFile, 2);
    try {
        AnsiString lines;
        WRec record;
        while (records.ReadRecord(record)) {
            lines += DumpLine(record.Data(), record.Length());
            lines += "\r\n";
            if (lines.size() >= (1u << 20))
                Put(*text, lines);
        }
        Put(*text, lines);
    } catch (...) {
        // A dump that stops half-way would pass for a whole one.
        const AnsiString name = text->Name();
        text.reset();
        files.Delete(name);
        throw;
    }
}
