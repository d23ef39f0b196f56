// Copying logical files between compound files and finding an empty one.
#include <string>

#include "base/messages/zmsg.h"
#include "storage/utilities/dutilfile.h"
#include "storage/compound/dwfile.h"

void CopyLogicalFile(WFile &source, WFile &target, uint32_t n, uint32_t m)
{
    if (!source.Compound() || !target.Compound())
        throw ZError("При копировании логических файлов " + source.Name() + " или " + target.Name() + " не составной",
                     0);
    // The target is measured first: source and target may be one file, and reading must start at n.
    const uint32_t targetLength = LogicalFileLength(target, m);
    if (source.OpenLogicalFile(n) == EmptyLogicalFileLength && targetLength != EmptyLogicalFileLength) {
        target.ClearLogicalFile(m);
        return;
    }
    target.BeginWrite(m);
    try {
        WRec record;
        while (source.ReadRecord(record))
            target.WriteRec(record);
    } catch (...) {
        // A half copy must never be committed: the target keeps its old logical file.
        target.EndWrite(m, false);
        throw;
    }
    target.EndWrite(m, true);
}

uint32_t LogicalFileLength(WFile &file, uint32_t n) { return file.OpenLogicalFile(n); }

uint32_t FindEmptyLogicalFile(WFile &file, uint32_t excluded, uint32_t first)
{
    for (uint32_t i = first; i < file.FileCount(); ++i)
        if (i != excluded && file.OpenLogicalFile(i) == EmptyLogicalFileLength)
            return i;
    RaiseMessage("Необходимо увеличить количество логических файлов", 0);
}
