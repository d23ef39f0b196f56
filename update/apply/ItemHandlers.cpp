#include "update/apply/ItemHandlers.h"

#include <algorithm>

#include "framework/runtime/SysUtils.h"
#include "update/journal/UndoCommand.h"
#include "update/payload/Checksum.h"
#include "update/payload/PartNfo.h"

TMissingFolders MissingFolders(const AnsiString &fileName, const std::function<int(const AnsiString &name)> &attributes)
{
    TMissingFolders result;
    AnsiString folder = ExtractFileDir(fileName);
    // A drive or share that is not there is no folder to make: the walk ends below its root. Any entry
    // that is there ends it too: a file on the path is never taken for a folder to make.
    while (!folder.empty() && !IsDriveOrShareRoot(folder)) {
        const int attr = attributes(folder);
        if (attr != -1) {
            if ((attr & faDirectory) == 0)
                result.FileInTheWay = folder;
            break;
        }
        result.Folders.push_back(folder);
        const AnsiString parent = ExtractFileDir(folder);
        if (parent == folder)
            break;
        folder = parent;
    }
    std::reverse(result.Folders.begin(), result.Folders.end());
    return result;
}

AnsiString CreatedFolderCommandText(const AnsiString &folder)
{
    return "z<" + folder + FormatChecksum(0) + FormatChecksum(0);
}

bool ItemForEdition(uint8_t type, uint32_t editionEntry, uint8_t editionByte)
{
    switch (type) {
    case PE1DIFF: return editionByte == 0;
    case PE2DIFF: return editionByte != 0;
    case ADDREPM: return uint32_t(editionByte) + 1 == editionEntry;
    default: return true;
    }
}

bool PeOldSizeAccepted(uint64_t size, uint32_t recorded)
{
    return (size > recorded ? size - recorded : recorded - size) <= 1;
}
