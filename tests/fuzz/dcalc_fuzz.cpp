// Fuzz target for the expression calculator. An input is an options byte (notation, identifiers
// flag, which reader) and the expression. Besides the sanitizers: the check's position lies inside
// the text or just past it, and a text the check accepts in notation 2 with identifiers gives at
// most an arithmetic message when evaluated (never one of the check's own).
#include <algorithm>

#include "base/numbers/dcalc.h"
#include "base/messages/zmsg.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/support/ShownMessages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr size_t MaxText = 4096;

// Reads a run of Latin small letters as one identifier worth its length; "q" alone stops the
// expression and "z" alone is an undefined identifier.
int LetterReader(const char *&cursor, double &value)
{
    const char *start = cursor;
    while (*cursor >= 'a' && *cursor <= 'z')
        ++cursor;
    const size_t length = static_cast<size_t>(cursor - start);
    if (length == 1 && *start == 'q')
        return 1;
    if (length == 1 && *start == 'z')
        return -31;
    value = static_cast<double>(length);
    return 0;
}

double EvaluateCounted(const AnsiString &text, const TDcalcReader &reader)
{
    try {
        return DcalcEvaluate(text, true, reader);
    } catch (const ZError &e) {
        if (e.Number() != 0)
            FuzzFinding("the evaluator raised something other than the stack limit");
        return 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int notation = data[0] % 3;
    const bool identifiers = (data[0] & 4) != 0;
    const TDcalcReader reader = (data[0] & 8) ? TDcalcReader(LetterReader) : TDcalcReader();
    const AnsiString text(reinterpret_cast<const char *>(data + 1), std::min(size - 1, MaxText));

    TShownMessages shown;
    int error = 0;
    const int position = CheckExpression(text, notation, error, reader, identifiers);
    if (position < 1 || position > static_cast<int>(text.size()) + 1)
        FuzzFinding("the check's position lies outside the text");
    if (error != 0 && error < 900)
        FuzzFinding("the error variable holds something else than 900 + n");
    if (!shown.texts.empty())
        FuzzFinding("the check showed a message in store mode");

    int both = 0;
    const int reached = CheckExpression(text, 2, both, reader, true);
    shown.texts.clear();
    EvaluateCounted(text, reader);
    if (both == 0 && reached == static_cast<int>(text.size()) + 1) {
        for (const AnsiString &t : shown.texts)
            if (t != MessageText(text, 27) && t != MessageText(text, 28) && t != MessageText(text, 29))
                FuzzFinding("a text the check accepts gave one of the check's messages");
    }
    if (shown.texts.size() > 1)
        FuzzFinding("an evaluation showed more than one message");

    SubstituteValues(text, reader);
    return 0;
}

std::vector<Bytes> FuzzSeedInputs()
{
    auto input = [](std::uint8_t options, const AnsiString &text) {
        Bytes b{options};
        b.insert(b.end(), text.begin(), text.end());
        return b;
    };
    return {
        input(0, "2+3.4"),
        input(1, "2+3x4^2"),
        input(2, "-2+5-(-2)x3С2"),
        input(2, "M(-2,5)+Ц(2,7)+R1(2,25)+V(0,5)+W(0)"),
        input(2, "м-2,5+ц2,7"),
        input(2 | 4 | 8, "S([1_3;5;-1,5_2])+abc/de=q"),
        input(1 | 4, "S([1_3])x(1+2)"),
        input(2, "1/0+0C0+(-8)^0,5"),
        input(2, "((((((((((1))))))))))"),
        input(1 | 4 | 8, "R1(1+R1(1+R1(ab)))"),
    };
}
