#include "storage/config/rdwr_cfg.h"

#include <algorithm>
#include <cstring>

#include "base/memory/Bytes.h"
#include "base/text/CfgLanguage.h"
#include "base/numbers/NumericHelpers.h"
#include "base/messages/zmsg.h"

namespace {

s_Cfg theCfg;

// The base library reads the two language bytes through these.
uint8_t RecordLanguageByte() { return Cfg->RecordLanguage(); }
uint8_t MessageLanguageByte() { return Cfg->MessageLanguage(); }

[[maybe_unused]] const bool languageReadersRegistered =
    (SetCfgLanguageReaders(RecordLanguageByte, MessageLanguageByte), true);

AnsiString FieldText(const uint8_t *fixed, uint32_t from)
{
    const uint8_t *start = fixed + from;
    const uint8_t *end = fixed + CfgField::VersionEnd;
    return AnsiString(reinterpret_cast<const char *>(start), std::find(start, end, 0) - start);
}

}  // namespace

s_Cfg *Cfg = &theCfg;
AnsiString CfgFolder;

s_Cfg::s_Cfg() { std::memset(Fixed, 0, sizeof Fixed); }

uint32_t s_Cfg::U32(uint32_t offset) const { return LoadU32(Fixed + offset); }

void s_Cfg::SetU32(uint32_t offset, uint32_t value) { StoreU32(Fixed + offset, value); }

AnsiString s_Cfg::VersionText() const { return FieldText(Fixed, CfgField::VersionText); }

AnsiString s_Cfg::VersionNumbers() const { return FieldText(Fixed, CfgField::VersionNumbers); }

bool s_Cfg::SetVersionNumbers(const AnsiString &numbers)
{
    if (numbers.size() > CfgField::VersionEnd - CfgField::VersionNumbers - 1)
        return false;
    std::memcpy(Fixed + CfgField::VersionNumbers, numbers.data(), numbers.size());
    Fixed[CfgField::VersionNumbers + numbers.size()] = 0;
    return true;
}

bool s_Cfg::operator==(const s_Cfg &other) const
{
    return std::memcmp(Fixed, other.Fixed, sizeof Fixed) == 0 && std::equal(Texts, Texts + CfgTextCount, other.Texts);
}

std::vector<uint8_t> StoreCfg(const s_Cfg &cfg, const AnsiString &fileName)
{
    size_t size = CfgFixedLength;
    for (const AnsiString &text : cfg.Texts)
        size += 2 + text.size();
    if (size > CfgStoredLimit)
        throw ZError("Конфигурация не сохранена в файл " + fileName + ": её размер " + std::to_string(size) +
                         " байт превышает допустимые " + std::to_string(CfgStoredLimit),
                     0);
    std::vector<uint8_t> bytes(cfg.Fixed, cfg.Fixed + CfgFixedLength);
    bytes.reserve(size);
    for (const AnsiString &text : cfg.Texts) {
        AppendU16(bytes, static_cast<uint16_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    return bytes;
}

void ParseCfg(const uint8_t *bytes, size_t size, s_Cfg &cfg, const AnsiString &fileName)
{
    size = std::min<size_t>(size, CfgStoredLimit);
    const size_t fixed = std::min<size_t>(size, CfgFixedLength);
    if (fixed > 0)
        std::memcpy(cfg.Fixed, bytes, fixed);
    std::memset(cfg.Fixed + fixed, 0, CfgFixedLength - fixed);
    const uint8_t *cursor = bytes + fixed;
    const uint8_t *end = bytes + size;
    bool whole = fixed == CfgFixedLength;
    for (AnsiString &text : cfg.Texts) {
        if (!whole || !ReadShortText(cursor, end, text)) {
            whole = false;
            text.clear();
        }
    }
    if (!whole)
        throw ZError("Файл конфигурации " + fileName + " повреждён: он короче, чем указано в нём самом", 0);
}

void ReadCfgRawView(const uint8_t *bytes, size_t size, s_Cfg &cfg, uint8_t (&tail)[CfgRawTailLength])
{
    uint8_t image[CfgRawViewLength] = {};
    if (size > 0)
        std::memcpy(image, bytes, std::min<size_t>(size, CfgRawViewLength));
    std::memcpy(cfg.Fixed, image, CfgFixedLength);
    std::memcpy(tail, image + CfgFixedLength, CfgRawTailLength);
}

std::vector<uint8_t> CfgRawImage(const s_Cfg &cfg, const uint8_t (&tail)[CfgRawTailLength])
{
    std::vector<uint8_t> image(cfg.Fixed, cfg.Fixed + CfgFixedLength);
    image.insert(image.end(), tail, tail + CfgRawTailLength);
    return image;
}
