// The version stamp of a compound file: the text in the first record of logical file 0.
#include <cstring>

#include "base/messages/zmsg.h"
#include "storage/compound/dwfile.h"
#include "storage/config/rdwr_cfg.h"

uint32_t WFile::ReadVersion()
{
    OpenLogicalFile(0);
    WRec record(MaxRecordLength + 1);
    // An empty logical file 0 yields the end record's text "@", which parses as an old format.
    ReadRecord(record);
    const char *text = reinterpret_cast<const char *>(record.Data());
    return ParseAndCompareVersion(version_, AnsiString(text, strnlen(text, record.Length())));
}

void WFile::WriteVersion(const AnsiString &text)
{
    BeginWrite(0);
    WriteRecord(0, static_cast<uint32_t>(text.size()), text.data());
    EndWrite(0, true);
}

uint32_t WFile::CheckFileVersion(AnsiString &text, const AnsiString &name, bool show)
{
    const uint32_t result = ReadVersion();
    text = version_.text;
    if (show && (result & VersionOtherVariant)) {
        ShowMessageNo(AnsiString(), version_.variant == 2 ? 989 : 990);
        return result;
    }
    if ((result & VersionFileNewer) && !name.empty())
        ShowWarning(name + "|" + text + "|" + Cfg->VersionText(), 12);
    return result;
}
