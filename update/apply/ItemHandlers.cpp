#include "update/apply/ItemHandlers.h"

#include <algorithm>

#include "framework/runtime/SysUtils.h"
#include "update/journal/UndoCommand.h"
#include "update/payload/Checksum.h"
#include "update/payload/PartNfo.h"

std::vector<AnsiString> MissingFolders(const AnsiString &fileName,
                                       const std::function<bool(const AnsiString &folder)> &exists)
{
    std::vector<AnsiString> missing;
    AnsiString folder = ExtractFileDir(fileName);
    // A drive or share that is not there is no folder to make: the walk ends below its root.
    while (!folder.empty() && !IsDriveOrShareRoot(folder) && !exists(folder)) {
        missing.push_back(folder);
        const AnsiString parent = ExtractFileDir(folder);
        if (parent == folder)
            break;
        folder = parent;
    }
    std::reverse(missing.begin(), missing.end());
    return missing;
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
