#include "update/journal/UndoCommand.h"

#include <cctype>

#include "update/journal/JournalLine.h"

namespace {

constexpr size_t DigitsLength = 20;

bool ReadTenDigits(const AnsiString &text, size_t from, uint32_t &value)
{
    uint64_t v = 0;
    for (size_t i = from; i < from + 10; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c))
            return false;
        v = v * 10 + (c - '0');
    }
    if (v > 0xFFFFFFFFu)
        return false;
    value = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

bool ParseBackupCommand(const AnsiString &text, TBackupCommand &command)
{
    if (text.size() < DigitsLength)
        return false;
    size_t digits = text.size() - DigitsLength;
    if (!ReadTenDigits(text, digits, command.Checksum) || !ReadTenDigits(text, digits + 10, command.Size))
        return false;
    AnsiString paths = text.substr(0, digits);
    size_t lt = paths.find('<');
    if (lt == AnsiString::npos)
        return false;
    command.Target = paths.substr(0, lt);
    command.Backup = paths.substr(lt + 1);
    return true;
}

bool ParseCreatedCommand(const AnsiString &text, AnsiString &name)
{
    if (text.size() < DigitsLength)
        return false;
    size_t digits = text.size() - DigitsLength;
    uint32_t unused;
    if (!ReadTenDigits(text, digits, unused) || !ReadTenDigits(text, digits + 10, unused))
        return false;
    size_t lt = text.find('<');
    if (lt == AnsiString::npos || lt >= digits)
        return false;
    name = text.substr(lt + 1, digits - lt - 1);
    return true;
}

bool BackupAsJournaled(uint32_t sum, uint64_t size, uint32_t journaledSum, uint32_t journaledSize)
{
    return sum == journaledSum && static_cast<uint32_t>(size) == journaledSize;
}

bool IsAbsolutePath(const AnsiString &name)
{
    if (name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' && name[2] == '\\')
        return true;
    return name.size() >= 3 && name[0] == '\\' && name[1] == '\\' && name[2] != '\\';
}

bool IsDriveOrShareRoot(const AnsiString &folder)
{
    AnsiString path = folder;
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    if (path.size() == 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
        return true;
    if (path.size() < 3 || path[0] != '\\' || path[1] != '\\' || path[2] == '\\')
        return false;
    // "\\srv\share" or "\\srv": at most one backslash after the server's name.
    const size_t share = path.find('\\', 2);
    return share == AnsiString::npos || path.find('\\', share + 1) == AnsiString::npos;
}

bool FinishedRunJournal(const std::vector<AnsiString> &lines, AnsiString &tempFolder, bool &rolledBack)
{
    tempFolder.clear();
    rolledBack = false;
    bool newest = true;
    bool beforeEnd = false;  // the command right before the end is still to come
    for (size_t i = lines.size(); i-- > 0;) {
        AnsiString line = lines[i];
        if (!IsCommandLine(line))
            continue;
        int code = 0;
        AnsiString text;
        if (!VerifyLine(line) || !StripSignature(line) || !ParseCommandLine(line, code, text)) {
            if (newest)
                return false;
            beforeEnd = false;
            continue;
        }
        if (newest && code != ejc_End)
            return false;
        if (beforeEnd)
            rolledBack = code == ejc_Variant && text == RolledBackVariantText;
        beforeEnd = newest;
        newest = false;
        if (code == ejc_TempFolder) {
            tempFolder = text;
            return true;
        }
        if (code == ejc_Start)
            return true;
    }
    return !newest;
}
