// A record file written out as text, one line per record.
#include <memory>

#include "base/aliases/dPath.h"
#include "base/messages/zmsg.h"
#include "storage/compound/dwfile.h"
#include "storage/compound/wstore.h"
#include "storage/utilities/dutilfile.h"

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
    // The record file is opened first: a dump that cannot read it leaves the text file alone.
    WFile records(recordFile, SimpleMode::Read);
    WStoreSystem &files = StoreSystem();
    const AnsiString target = ResolveAliasPath(textFile);
    // The dump is written beside the text file and takes its place once whole, so a dump that fails
    // leaves the old text as it was. Neither file may be the record file, however it is spelt.
    const AnsiString temp = target + "$";
    for (const AnsiString &name : {target, temp})
        if (files.SameFile(records.Name(), name))
            throw ZError("Файл записей " + records.Name() + " не выгружен в " + target +
                             ": запись туда уничтожила бы сам файл записей",
                         0);
    try {
        {
            std::unique_ptr<WStore> text = files.Open(temp, 3);
            AnsiString lines;
            WRec record;
            while (records.ReadRecord(record)) {
                lines += DumpLine(record.Data(), record.Length());
                lines += "\r\n";
                if (lines.size() >= (1u << 20))
                    Put(*text, lines);
            }
            Put(*text, lines);
            text->Flush();
        }
        files.Replace(target, temp);
    } catch (...) {
        files.Delete(temp);
        throw;
    }
}
