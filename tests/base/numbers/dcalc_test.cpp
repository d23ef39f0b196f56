// The expression calculator: notations, precedence, signs, functions, the choice function S, every
// error with the position reached, the stack limits, and the evaluator on texts the check refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/numbers/dcalc.h"
#include "base/messages/zmsg.h"
#include "tests/support/ShownMessages.h"
#include "tests/support/ZErrorMatch.h"

namespace {

// Checks a text without showing anything: the position reached and the message number (0 for none).
struct Checked {
    int position;
    int message;
};
Checked Check(const AnsiString &text, int notation, bool identifiers = false, const TDcalcReader &reader = {})
{
    int error = 0;
    const int position = CheckExpression(text, notation, error, reader, identifiers);
    return {position, error == 0 ? 0 : error - 900};
}

double Eval(const AnsiString &text) { return DcalcEvaluate(text, false); }

// Reads a run of letters "a".."z" as one identifier worth its length.
int LetterReader(const char *&cursor, double &value)
{
    const char *start = cursor;
    while (*cursor >= 'a' && *cursor <= 'z')
        ++cursor;
    value = static_cast<double>(cursor - start);
    return 0;
}

}  // namespace

TEST(DcalcNotations, MultiplyAndPowerAreWrittenByTheNotation)
{
    for (const char *text : {"2+3.4", "2С3", "2c3", "2C3"})  // Cyrillic and Latin C
        EXPECT_EQ(Check(text, 0).message, 0) << text;
    for (const char *text : {"2+3x4", "2+3Х4", "2^3"})
        EXPECT_EQ(Check(text, 1).message, 0) << text;
    EXPECT_EQ(Eval("2+3.4"), 14);
    EXPECT_EQ(Eval("2+3x4"), 14);
    EXPECT_EQ(Eval("2+3х4"), 14);  // Cyrillic
    EXPECT_EQ(Eval("2C3"), 8);
    EXPECT_EQ(Eval("2^3"), 8);
    EXPECT_EQ(Eval("7:2"), 3.5);
    EXPECT_EQ(Eval("2,5/0,5"), 5);

    const Checked x = Check("2+3x4", 0);  // the other notation's sign
    EXPECT_EQ(x.message, 23);
    EXPECT_EQ(x.position, 4);
    const Checked dot = Check("2.3", 1);
    EXPECT_EQ(dot.message, 23);
    EXPECT_EQ(dot.position, 2);
    EXPECT_EQ(Check("2.3x4^2C1", 2).message, 0);  // notation 2 takes both
    EXPECT_EQ(Check("1+2", 0).position, 4);       // a sound text: its length + 1
}

TEST(DcalcPrecedence, PowersGoFromLeftToRightAndBindTighterThanProducts)
{
    EXPECT_EQ(Eval("2^3^2"), 64);
    EXPECT_EQ(Eval("2x3^2"), 18);
    EXPECT_EQ(Eval("1+2x3-4"), 3);
    EXPECT_EQ(Eval("8/4/2"), 1);
    EXPECT_EQ(Eval("(1+2)x3"), 9);
    EXPECT_EQ(Eval("1+2="), 3);  // "=" is skipped
}

TEST(DcalcSigns, LeadingSignsActOnZeroAndSignedNumbersFollowOperators)
{
    EXPECT_EQ(Eval("-2+5"), 3);
    EXPECT_EQ(Eval("(-2)"), -2);
    EXPECT_EQ(Eval("+2"), 2);
    EXPECT_EQ(Eval("-2^2"), -4);  // 0 - 2^2
    EXPECT_EQ(Eval("3x-2"), -6);
    EXPECT_EQ(Eval("3--,5"), 3.5);
    EXPECT_EQ(Eval("2^-1"), 0.5);

    const Checked signThenParen = Check("3x-(2)", 1);  // after an operator only a signed number
    EXPECT_EQ(signThenParen.message, 26);
    EXPECT_EQ(signThenParen.position, 3);
    EXPECT_EQ(Check("(x2)", 1).message, 26);  // an operator after "("
    EXPECT_EQ(Check("/3", 1).message, 26);
}

TEST(DcalcFunctions, AbsoluteFloorRoundAndZeroTests)
{
    EXPECT_EQ(Eval("M(-2,5)"), 2.5);
    EXPECT_EQ(Eval("м(-2,5)"), 2.5);
    EXPECT_EQ(Eval("M-2,5"), 2.5);  // without "(": the operand that follows
    EXPECT_EQ(Eval("Ц(2,7)"), 2);
    EXPECT_EQ(Eval("Ц(-2,7)"), -3);  // floor
    EXPECT_EQ(Eval("ц2,7+1"), 3);
    EXPECT_EQ(Eval("R1(2,25)"), 2.3);
    EXPECT_EQ(Eval("r0(2,5)x2"), 6);
    EXPECT_EQ(Eval("V(0,5)+V(0)"), 1);
    EXPECT_EQ(Eval("W(0)+W(3)"), 1);
    EXPECT_EQ(Eval("2xM(1-3)"), 4);

    EXPECT_EQ(Check("R(2)", 1).message, 26);   // R needs its digit
    EXPECT_EQ(Check("R12", 1).message, 26);    // and "(" after it
    EXPECT_EQ(Check("V2", 1).message, 26);     // V and W only with "("
    EXPECT_EQ(Check("2M(3)", 1).message, 23);  // a function after an operand
    EXPECT_EQ(Check("M", 1).message, 26);      // M waiting for its operand at the end
}

TEST(DcalcChoice, SIsOneWhenTheReadersValueLiesInARange)
{
    const double values[] = {5, 4, 2};
    int call = 0;
    TDcalcReader reader = [&](const char *&, double &value) {
        value = values[call++];
        return 0;
    };
    EXPECT_EQ(DcalcEvaluate("S([1_3;5])", false, reader), 1);  // 5 is the range 5 to 5
    EXPECT_EQ(DcalcEvaluate("S([1_3;5])", false, reader), 0);  // 4
    EXPECT_EQ(DcalcEvaluate("S([1_3;5])", false, reader), 1);  // 2
    EXPECT_EQ(call, 3);                                        // once per evaluation
    EXPECT_EQ(Eval("S([-1_1])x3"), 3);                         // no reader: the value 0

    EXPECT_EQ(Check("S([1_3;5])", 0, true).message, 0);
    const Checked noFlag = Check("1+S([1])", 0, false);
    EXPECT_EQ(noFlag.message, 37);
    EXPECT_EQ(noFlag.position, 3);
    EXPECT_EQ(Check("S[1]", 0, true).message, 37);
    for (const char *bad : {"S(1)", "S([])", "S([1_])", "S([1;;2])", "S([1", "S([1]", "S([1]x"}) {
        const Checked c = Check(bad, 0, true);
        EXPECT_EQ(c.message, 38) << bad;
    }
}

TEST(DcalcIdentifiers, ReadersGiveValuesStopAndReportErrors)
{
    EXPECT_EQ(DcalcEvaluate("ab+abc", false, LetterReader), 5);
    EXPECT_EQ(Eval("ab+1"), 1);  // no reader: worth 0
    EXPECT_EQ(Check("ab+1", 1).message, 23);
    EXPECT_EQ(Check("ab+1", 1, true, LetterReader).message, 0);
    EXPECT_EQ(Check("2ab", 1, true, LetterReader).message, 23);  // an operand after an operand

    // The value-only form of the check accepts whatever it reads.
    int error = 0;
    const TDcalcValueReader values = [](const char *&cursor) {
        ++cursor;
        return 1.0;
    };
    EXPECT_EQ(CheckExpression("a+b", 1, error, values, true), 4);
    EXPECT_EQ(error, 0);

    // A positive status ends the check there; a negative one is the reader's own error.
    const TDcalcReader stops = [](const char *&, double &) { return 1; };
    EXPECT_EQ(Check("1+a+2", 1, true, stops).position, 3);
    const TDcalcReader fails = [](const char *&, double &) { return -31; };
    const Checked failed = Check("1+a", 1, true, fails);
    EXPECT_EQ(failed.message, 31);
    EXPECT_EQ(failed.position, 3);
    TShownMessages shown;
    int showError = -1;
    CheckExpression("1+a", 1, showError, fails, true);
    EXPECT_TRUE(shown.texts.empty());  // the reader has told the user itself
    EXPECT_EQ(DcalcEvaluate("1+a", true, fails), 0);
    EXPECT_TRUE(shown.texts.empty());

    // A reader that does not move, or moves outside the text, is refused instead of followed.
    const TDcalcReader stands = [](const char *&, double &) { return 0; };
    EXPECT_EQ(Check("1+a", 1, true, stands).message, 23);
    const TDcalcReader runsAway = [](const char *&cursor, double &) {
        cursor += 100;
        return 0;
    };
    EXPECT_EQ(Check("1+a", 1, true, runsAway).message, 23);
    EXPECT_EQ(DcalcEvaluate("1+a", false, runsAway), 0);
}

TEST(DcalcErrors, EachMessageWithThePositionReached)
{
    struct Case {
        const char *text;
        int notation;
        int message;
        int position;
    } cases[] = {
        {"(1+2", 1, 25, 5},   {"1+2)", 1, 24, 4}, {"1+", 1, 23, 3},   {"1+(", 1, 25, 4},
        {"(1+)", 1, 23, 4},   {")", 1, 24, 1},    {"2(3)", 1, 23, 2}, {"1,,2", 1, 26, 1},
        {"2+-,,5", 1, 26, 3}, {"1 +2", 1, 23, 2}, {"2xx3", 1, 26, 3}, {"a", 1, 23, 1},
    };
    for (const Case &c : cases) {
        const Checked r = Check(c.text, c.notation);
        EXPECT_EQ(r.message, c.message) << c.text;
        EXPECT_EQ(r.position, c.position) << c.text;
    }
    EXPECT_EQ(Check("", 1).message, 0);
}

TEST(DcalcErrors, ArithmeticErrorsGiveZeroAndOneMessageWhenShown)
{
    struct Case {
        const char *text;
        int message;
    } cases[] = {{"1/0", 27}, {"1/(2-2)", 27}, {"0C0", 28}, {"(-8)^0,5", 29}, {"0^-1", 27}, {"0^(-2)", 27}};
    for (const Case &c : cases) {
        TShownMessages shown;
        EXPECT_EQ(DcalcEvaluate(c.text, true), 0) << c.text;
        ASSERT_EQ(shown.texts.size(), 1u) << c.text;
        EXPECT_EQ(shown.texts[0], MessageText(c.text, c.message)) << c.text;
        EXPECT_EQ(DcalcEvaluate(c.text, false), 0);
        EXPECT_EQ(shown.texts.size(), 1u) << "shown without the flag: " << c.text;
    }
    EXPECT_EQ(Eval("(-8)^2"), 64);
    EXPECT_EQ(Eval("0^2"), 0);
    EXPECT_EQ(Eval(""), 0);
    TShownMessages shown;
    EXPECT_EQ(DcalcEvaluate("==", true), 0);  // nothing but "=": as empty
    EXPECT_TRUE(shown.texts.empty());
}

TEST(DcalcErrors, TheEvaluatorRefusesWhatTheCheckRefusesWithoutReadingOutside)
{
    struct Case {
        const char *text;
        int message;
    } cases[] = {{"2+", 23}, {"/3", 26}, {")", 24}, {"S([1", 38}, {"1,,2", 26}, {"((1)", 25}, {"M", 26}};
    for (const Case &c : cases) {
        TShownMessages shown;
        EXPECT_EQ(DcalcEvaluate(c.text, true), 0) << c.text;
        ASSERT_EQ(shown.texts.size(), 1u) << c.text;
        EXPECT_EQ(shown.texts[0], MessageText(c.text, c.message)) << c.text;
    }
}

TEST(DcalcErrors, TheErrorVariableGetsNineHundredPlusTheNumberAndNothingIsShown)
{
    TShownMessages shown;
    int error = 0;
    EXPECT_EQ(CheckExpression("(1+2", 1, error), 5);
    EXPECT_EQ(error, 925);
    error = 0;
    EXPECT_EQ(CheckExpression("1+2", 1, error), 4);
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(shown.texts.empty());

    error = -1;
    EXPECT_EQ(CheckExpression("1+2)", 1, error), 4);
    EXPECT_EQ(error, -1);
    ASSERT_EQ(shown.texts.size(), 1u);
    EXPECT_EQ(shown.texts[0], MessageText("1+2)", 24));
}

TEST(DcalcStack, TheFiftiethEntryOfEitherStackRaisesTheStackLimit)
{
    TDcalcStacks stacks;
    for (int i = 0; i < 49; ++i)
        stacks.PushValue(i);
    ZError e = CatchZError([&] { stacks.PushValue(49); });
    EXPECT_EQ(e.Number(), 0);
    EXPECT_EQ(e.Message(), AnsiString("Превышение размерности стека при вычислении выражения"));
    EXPECT_EQ(stacks.ValueCount(), 49);

    // The start marker and 48 "(" fill the operator stack to 49; the 49th "(" would be its 50th.
    const AnsiString deep = AnsiString(48, '(') + "1" + AnsiString(48, ')');
    EXPECT_EQ(Eval(deep), 1);
    const AnsiString tooDeep = AnsiString(49, '(') + "1" + AnsiString(49, ')');
    EXPECT_EQ(CatchZError([&] { Eval(tooDeep); }).Number(), 0);
    EXPECT_EQ(Check(tooDeep, 1).message, 0);  // the check keeps no stacks

    // Through a text the value stack never fills first: every pending value has its operator.
    AnsiString chain;
    for (int i = 0; i < 24; ++i)
        chain += "R1(1+";
    chain += "1" + AnsiString(24, ')');
    EXPECT_EQ(Eval(chain), 25);
}

TEST(DcalcReducer, AppliesByPriorityAndStopsAtTheOpening)
{
    TDcalcStacks stacks;
    stacks.PushValue(2);
    stacks.PushOperator(DcalcAdd);
    stacks.PushValue(3);
    stacks.PushOperator(DcalcMultiply);
    stacks.PushValue(4);
    EXPECT_EQ(ApplyPendingOperators(stacks, DcalcAdd), 0);  // both: the product, then the sum
    EXPECT_EQ(stacks.ValueCount(), 1);
    EXPECT_EQ(stacks.TopOperator(), DcalcStart);
    EXPECT_EQ(ApplyPendingOperators(stacks, DcalcClose), 24);  // no "(" to close
    stacks.PushOperator(DcalcSubtract);
    EXPECT_EQ(ApplyPendingOperators(stacks, DcalcEnd), 23);  // an operator with one value
    EXPECT_EQ(DcalcPriority(DcalcPower), 6);
    EXPECT_EQ(DcalcPriority(DcalcStart), 0);
    EXPECT_EQ(DcalcPriority(200), 0);
}

TEST(DcalcSubstitute, IdentifiersBecomeTheirValues)
{
    const TDcalcReader reader = [](const char *&cursor, double &value) {
        if (std::strncmp(cursor, "tax", 3) == 0) {  // the reader reads the whole name, x and all
            cursor += 3;
            value = 2.5;
        } else {
            cursor += 1;
            value = -3;
        }
        return 0;
    };
    EXPECT_EQ(SubstituteValues("tax.q+M(2,50)", reader), "2,5.-3+M(2,50)");
    EXPECT_EQ(SubstituteValues("S(q[1_2])+tax", reader), "S(-3[1_2])+2,5");
    EXPECT_EQ(SubstituteValues("1+tax)+tax", reader), "1+2,5)+tax");  // from the error on: unchanged
}
