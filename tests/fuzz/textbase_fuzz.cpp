// Fuzz target for the text base's walker. Every input is a file image: each of its first sections is
// walked to its end, every text record found is looked up again by its number, and its parts are
// taken and copied into a small buffer. Every record and part handed out must lie inside the image
// and the text, and no copy may exceed its buffer.
#include <algorithm>

#include "base/memory/PackedWord.h"
#include "base/files/TextBase.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/RizaFileBuilder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void CheckSpan(TRizaData data, std::uint32_t span)
{
    const TRizaData text = TMRizaBs::TextOf(data);
    if (std::size_t(PackedHigh(span)) + PackedLow(span) > text.size())
        FuzzFinding("a part runs past its text");
    char buffer[16];
    if (TMRizaBs::CopySpan(data, span, buffer, sizeof buffer) > sizeof buffer)
        FuzzFinding("a copy exceeds its buffer");
}

void CheckRecord(const Bytes &file, TRizaData data)
{
    if (data.data() < file.data() || data.data() + data.size() > file.data() + file.size())
        FuzzFinding("a record lies outside the file");
    for (int language : {0, 1, 2})
        CheckSpan(data, TMRizaBs::LanguageSpan(data, language));
    CheckSpan(data, TMRizaBs::TailSpan(data));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Bytes file(data, data + size);
    TMRizaBs walker;
    walker.SetView(file.data(), file.size());
    const std::uint32_t sections = std::min<std::uint32_t>(walker.SectionCount(), 8);
    for (std::uint32_t n = 0; n <= sections; ++n) {
        if (!walker.SeekRecord(n))
            continue;
        walker.IsSectionType8();
        std::vector<std::uint16_t> numbers;
        TRizaData record;
        while (walker.NextRecord(record)) {
            CheckRecord(file, record);
            if (TMRizaBs::IsTextRecord(record) && numbers.size() < 16)
                numbers.push_back(static_cast<std::uint16_t>(record[0] | (record[1] << 8)));
        }
        for (std::uint16_t number : numbers) {
            walker.Rewind(0);
            const TRizaData found = walker.FindRecordById(number);
            if (found.empty() || !TMRizaBs::IsTextNumber(found, number))
                FuzzFinding("a text walked over is not found by its number");
            CheckRecord(file, found);
        }
    }
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    using namespace testdata;
    const RizaText full{7, 0, TwoLanguageText("Слово", "Слово укр", "хвіст")};
    const RizaText noTail{8, 1, TwoLanguageText("Да", "Так")};
    const RizaText unclosed{9, 0, B("\x04без конца")};
    CompoundFileBuilder edited = RizaFileBuilder(3, {{1, {full, noTail}}});
    const std::uint32_t first = edited.Record(RizaTextData(unclosed));
    const std::uint32_t gone = edited.Record(RizaTextData(full), kDeleted);
    edited.Commit(2, {RizaTextData(noTail)});
    edited.SetLink(first, gone);
    edited.SetEntry(2, first, 0);
    return {RizaFile(3, {{1, {full, noTail, unclosed}}}), edited.Build(), RizaFile(2, {})};
}
