// The configuration change at the end of the apply loop: the product's configuration file, backed up
// first, is marked as updated to the new version. Only the fields that say so are written, in place,
// so the stored texts and every other byte stay as they are.
#include <exception>
#include <vector>

#include "framework/runtime/Classes.h"
#include "framework/runtime/SysUtils.h"
#include "update/apply/ApplyPlan.h"
#include "update/apply/FileOps.h"
#include "update/journal/JournalLine.h"
#include "update/run/uMain.h"

bool TForm1::UpdateConfigFile()
{
    const bool result = Guarded([&] {
        const AnsiString backup = TempFolder + "BAK" + std::to_string(SectionNumber) + "\\Cfg\\CFG.QMT";
        FileOpCreateFolder(ExtractFilePath(backup));
        const AnsiString target = (UpdateVariant == 1 ? CopyFolder : ProductFolder) + "Cfg\\CFG.QMT";
        if (CheckStep(CopyFileJournaled(target, backup, false, true), false) && FlushJournal()) {
            Log(ept_ConfigChange, target, true);
            // Opened by its plain path: the product's folder may hold any character.
            TFileStream file(target, fmOpenReadWrite | fmShareDenyWrite);
            std::vector<uint8_t> current(ConfigChangeSpan, 0);
            file.Read(current.data(), long(current.size()));
            for (const TCfgEdit &edit : ConfigChangeEdits(current, NewVersion)) {
                file.Seek(edit.Offset, soFromBeginning);
                FileOpWrite(file, target, edit.Bytes.data(), long(edit.Bytes.size()));
            }
            return true;
        }
        return false;
    });
    return CheckStep(result, false);
}
