#include "tests/support/RizaFileBuilder.h"

namespace testdata {

Bytes RizaTextData(const RizaText &text, uint16_t storedLength)
{
    Bytes data{static_cast<uint8_t>(text.number), static_cast<uint8_t>(text.number >> 8), text.flags,
               static_cast<uint8_t>(storedLength), static_cast<uint8_t>(storedLength >> 8)};
    data.insert(data.end(), text.text.begin(), text.text.end());
    return data;
}

Bytes RizaTextData(const RizaText &text) { return RizaTextData(text, static_cast<uint16_t>(text.text.size())); }

Bytes TwoLanguageText(const std::string &russian, const std::string &ukrainian, const std::string &tail, bool withClose)
{
    std::string t = "\x04" + russian;
    if (!ukrainian.empty())
        t += "\x05" + ukrainian;
    if (withClose || !tail.empty())
        t += "\x03" + tail;
    return B(t);
}

CompoundFileBuilder RizaFileBuilder(uint32_t sectionCount, const std::map<uint32_t, std::vector<RizaText>> &sections)
{
    CompoundFileBuilder file = CompoundFileBuilder::Created(sectionCount);
    for (const auto &[n, texts] : sections) {
        std::vector<Bytes> records;
        for (const RizaText &t : texts)
            records.push_back(RizaTextData(t));
        file.Commit(n, records);
    }
    return file;
}

Bytes RizaFile(uint32_t sectionCount, const std::map<uint32_t, std::vector<RizaText>> &sections)
{
    return RizaFileBuilder(sectionCount, sections).Build();
}

Bytes RizaFile(const std::vector<RizaText> &texts) { return RizaFile(kTextSection + 1, {{kTextSection, texts}}); }

}  // namespace testdata
