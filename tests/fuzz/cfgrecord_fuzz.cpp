// Fuzz target for the configuration record's stored form (cfg.qmt) and the engine's fixed-size view
// of it. A stored form that reads must store again to the bytes it was read from and read back to the
// same record; one cut short must raise the loader's error; the engine's view must write back the
// file's first bytes, zero where the file has none.
#include <algorithm>
#include <cstring>

#include "base/messages/zmsg.h"
#include "storage/config/rdwr_cfg.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void AppendText(Bytes &out, const std::string &text)
{
    out.push_back(static_cast<std::uint8_t>(text.size()));
    out.push_back(static_cast<std::uint8_t>(text.size() >> 8));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    s_Cfg cfg;
    bool read = true;
    try {
        ParseCfg(data, size, cfg, "cfg.qmt");
    } catch (const ZError &) {
        read = false;
    }
    if (read) {
        const Bytes stored = StoreCfg(cfg, "cfg.qmt");
        if (stored.size() > size || !std::equal(stored.begin(), stored.end(), data))
            FuzzFinding("a record read from a stored form does not store to the same bytes");
        s_Cfg back;
        ParseCfg(stored.data(), stored.size(), back, "cfg.qmt");
        if (!(back == cfg))
            FuzzFinding("a stored record reads back to another record");
    } else if (size >= CfgEmptyStoredLength && size <= CfgStoredLimit) {
        // Refused although long enough: then some text must run past the end.
        std::size_t at = CfgFixedLength;
        int texts = 0;
        for (; texts < CfgTextCount && at + 2 <= size; ++texts) {
            at += 2 + (data[at] | data[at + 1] << 8);
            if (at > size)
                break;
        }
        if (texts == CfgTextCount)
            FuzzFinding("a whole stored form is refused");
    }

    s_Cfg view;
    std::uint8_t tail[CfgRawTailLength];
    ReadCfgRawView(data, size, view, tail);
    const Bytes image = CfgRawImage(view, tail);
    Bytes expected(CfgRawViewLength, 0);
    if (size != 0)
        std::memcpy(expected.data(), data, std::min<std::size_t>(size, CfgRawViewLength));
    if (image != expected)
        FuzzFinding("the engine's view does not write back the file's first bytes");
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    std::vector<Bytes> seeds;
    Bytes fixed(CfgFixedLength, 0);
    const std::string version = "ЦМТ-5 3.1.1.2";
    std::memcpy(fixed.data() + CfgField::VersionText, version.data(), version.size());
    fixed[CfgField::RecordLanguage] = 1;
    Bytes empty = fixed;
    for (int i = 0; i < CfgTextCount; ++i)
        AppendText(empty, "");
    seeds.push_back(empty);
    Bytes texts = fixed;
    for (int i = 0; i < CfgTextCount; ++i)
        AppendText(texts, std::string(static_cast<std::size_t>(i) * 3, static_cast<char>('A' + i)));
    seeds.push_back(texts);
    seeds.emplace_back(texts.begin(), texts.end() - 5);  // the last text cut short
    return seeds;
}
