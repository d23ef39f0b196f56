#include "tests/support/AliasFileBuilder.h"

namespace testdata {

std::string AliasLineText(const AliasLine &line)
{
    std::string text = line.name + "#" + line.folder;
    if (!line.second.empty())
        text += "#" + line.second;
    return text;
}

Bytes AliasFile(const std::vector<AliasLine> &lines)
{
    std::vector<Bytes> records;
    records.reserve(lines.size());
    for (const AliasLine &line : lines)
        records.push_back(B(AliasLineText(line)));
    return SimpleFile(records);
}

std::vector<AliasLine> ProductAliases() { return {{"EXE", "@\\EXE\\", ""}, {"CFG", "@\\Cfg\\", ""}}; }

}  // namespace testdata
