#include "update/apply/ApplyPlan.h"

#include <string>

#include "base/memory/Bytes.h"
#include "framework/runtime/SysUtils.h"
#include "storage/config/rdwr_cfg.h"
#include "update/payload/Checksum.h"

namespace {

constexpr uint32_t UpdatedFlags = 0x9C600;
constexpr uint32_t UpdateFlagSet1 = 0x4 | 0x8 | 0x10 | 0x200 | 0x4000 | 0x200000 | 0x400000 | 0x4000000;
constexpr uint32_t UpdateFlagSet2 = 0x4 | 0x1000 | 0x400000 | 0x8000000;
constexpr uint32_t Setting197Value = 26;

TCfgEdit U32Edit(uint32_t offset, uint32_t value)
{
    TCfgEdit edit{offset, std::vector<uint8_t>(4)};
    StoreU32(edit.Bytes.data(), value);
    return edit;
}

uint32_t U32At(const std::vector<uint8_t> &bytes, uint32_t offset)
{
    // Bytes past the end of a short record read as 0.
    uint8_t word[4] = {};
    for (uint32_t i = 0; i < 4; ++i)
        if (offset + i < bytes.size())
            word[i] = bytes[offset + i];
    return LoadU32(word);
}

}  // namespace

AnsiString WorkPath(const AnsiString &tempFolder, const AnsiString &name) { return tempFolder + "WRK\\" + name; }

AnsiString BackupPath(const AnsiString &tempFolder, uint32_t section, const AnsiString &name)
{
    return tempFolder + "BAK" + std::to_string(section) + "\\" + name;
}

AnsiString ShortcutBackupPath(const AnsiString &tempFolder, const AnsiString &linkName)
{
    return tempFolder + "LNK\\" + linkName;
}

bool IsShortcutBackup(const AnsiString &backup, const AnsiString &tempFolder)
{
    const AnsiString folder = ShortcutBackupPath(tempFolder, AnsiString());
    return !tempFolder.empty() && backup.size() > folder.size() &&
           AnsiCompareText(backup.substr(0, folder.size()), folder) == 0 &&
           backup.find('\\', folder.size()) == AnsiString::npos;
}

AnsiString FirstPathTooLong(const TPartList &items, const AnsiString &tempFolder, const AnsiString &targetFolder,
                            uint32_t section)
{
    for (const TPartNfo &item : items) {
        if (item.Type == SECTION) {
            ++section;
            continue;
        }
        for (const AnsiString &path : {targetFolder + item.Name, BackupPath(tempFolder, section, item.Name),
                                       WorkPath(tempFolder, item.Name) + "~"})
            if (path.size() > MaxOpenPathLength)
                return path;
    }
    return AnsiString();
}

AnsiString BackupCommandText(const AnsiString &source, const AnsiString &backup, uint32_t sum, uint64_t size)
{
    return source + "<" + backup + FormatChecksum(sum) + FormatChecksum(uint32_t(size));
}

AnsiString CreatedCommandText(const AnsiString &path, uint32_t sum, uint64_t size)
{
    return "z<" + path + FormatChecksum(sum) + FormatChecksum(uint32_t(size));
}

std::vector<uint64_t> CopyPieces(uint64_t size)
{
    const uint64_t k = size / 10;
    if (k == 0)
        return {size};
    std::vector<uint64_t> pieces(10, k);
    pieces.push_back(size - 10 * k);
    return pieces;
}

TCompareBlocks CompareBlocks(uint64_t size)
{
    TCompareBlocks plan;
    if (size == 0)
        return plan;
    plan.Block = size / 100 ? size / 100 : size;
    plan.Count = size / plan.Block;
    plan.Rest = size - plan.Count * plan.Block;
    return plan;
}

std::vector<TCfgEdit> ConfigChangeEdits(const std::vector<uint8_t> &current, const AnsiString &newVersion)
{
    // The numbers and their NUL must end inside the version field.
    const size_t room = CfgField::VersionEnd - CfgField::VersionNumbers - 1;
    const AnsiString version = newVersion.substr(0, room);
    TCfgEdit versionEdit{CfgField::VersionNumbers, std::vector<uint8_t>(version.begin(), version.end())};
    versionEdit.Bytes.push_back(0);
    return {U32Edit(CfgField::Flags, U32At(current, CfgField::Flags) | UpdatedFlags), versionEdit,
            U32Edit(CfgField::UpdateFlags1, UpdateFlagSet1), U32Edit(CfgField::UpdateFlags2, UpdateFlagSet2),
            U32Edit(CfgField::Setting197, Setting197Value)};
}

AnsiString ProductCopyName(const AnsiString &newVersion)
{
    AnsiString name = "QMT5_";
    for (char c : newVersion)
        if (c != '.')
            name += c;
    return name;
}

AnsiString ShortcutFileName(const AnsiString &given, const AnsiString &newVersion)
{
    if (given.empty())
        return ProductCopyName(newVersion) + ".LNK";
    AnsiString name = given;
    for (char &c : name)
        if (static_cast<unsigned char>(c) < 32 || AnsiString("\\/:*?\"<>|").find(c) != AnsiString::npos)
            c = '_';
    return name + ".LNK";
}
