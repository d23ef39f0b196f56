#pragma once
// Arithmetic expressions in the product's own notation: a syntax check that reports the first error
// as a numbered message, an evaluator over doubles with an operator-precedence stack, and a rewrite
// of an expression with its identifiers replaced by their values.
//
// Numbers are written with a decimal comma. Notation 0 multiplies with "." and raises with C (Latin
// or Cyrillic, either case); notation 1 multiplies with X (Latin or Cyrillic, either case) and raises
// with "^"; notation 2 accepts both. "+", "-", "/" and ":" belong to both. Functions: M( absolute
// value, Ц( floor, Rd( rounding to d decimals, V( 1 when not zero, W( 1 when zero (zero: magnitude
// below 1e-10), and S([a_b;c;...]) 1 when the caller's current value lies in one of the ranges. M
// and Ц without "(" apply to the operand that follows. "=" is skipped; a blank is not (it starts an
// identifier). Powers are taken from left to right: 2^3^2 is 64.
#include <array>
#include <cstdint>
#include <functional>

#include "framework/runtime/AnsiString.h"

// Reads one identifier at the cursor, moves the cursor past it and gives its value. Returns 0 when
// the identifier is accepted, a positive number to end the expression there, or a negative one for
// an error (minus its message number), which the reader reports itself. After "S(" it is asked for
// the value to test and may leave the cursor where it is. A lambda or a plain function will do.
using TDcalcReader = std::function<int(const char *&cursor, double &value)>;
// A reader that only gives values: every identifier it reads is accepted.
using TDcalcValueReader = std::function<double(const char *&cursor)>;

// Checks an expression and returns the 1-based position reached: the length + 1 when the expression
// is sound, else the position of its first error. With `error` negative on entry the error is shown
// (ShowMessageNo with the expression); otherwise it is stored in `error` as 900 + its message number
// (a reader's error likewise). Without `identifiersAllowed` an identifier is message 23 and S is 37.
// Without a reader an identifier runs up to the next operator, parenthesis or "=".
int CheckExpression(const AnsiString &text, int notation, int &error, const TDcalcReader &reader = {},
                    bool identifiersAllowed = false);
int CheckExpression(const AnsiString &text, int notation, int &error, const TDcalcValueReader &reader,
                    bool identifiersAllowed);

// Evaluates an expression in either notation. An empty text is 0. Any error gives 0 and one message
// (shown only with `showErrors`): the check's messages, 27 division by zero (or 0 raised to a
// negative power), 28 zero to the power zero, 29 a negative number to a fractional power. Without a
// reader identifiers are worth 0. Raises ZError 0 when an expression needs more than the stacks hold.
double DcalcEvaluate(const AnsiString &text, bool showErrors, const TDcalcReader &reader = {});

// The expression with every identifier (and the value S tests, when a reader reads one there)
// replaced by its value written by FloatToFitText with at most 15 decimals; everything else is
// copied. From an error on, the rest is copied unchanged. Shows nothing.
AnsiString SubstituteValues(const AnsiString &text, const TDcalcReader &reader);

// ---- the reducer -----------------------------------------------------------------------------
// Operator codes: 1 add, 2 subtract, 3 multiply, 4 divide, 5 power, 8 ")", 9 "(", 10 M(, 11 Ц(,
// 12 R(, 13 V(, 14 W(; 6 marks the start of the expression and 7 its end.
enum : std::uint8_t {
    DcalcAdd = 1,
    DcalcSubtract = 2,
    DcalcMultiply = 3,
    DcalcDivide = 4,
    DcalcPower = 5,
    DcalcStart = 6,
    DcalcEnd = 7,
    DcalcClose = 8,
    DcalcOpen = 9,
    DcalcAbs = 10,
    DcalcFloor = 11,
    DcalcRound = 12,
    DcalcNonZero = 13,
    DcalcZero = 14,
};
std::uint8_t DcalcPriority(std::uint8_t code);

// The value stack and the operator stack, each of at most 49 entries: the 50th raises ZError 0
// "Превышение размерности стека при вычислении выражения". The operator stack starts with the start
// marker.
class TDcalcStacks {
public:
    static constexpr int Limit = 50;
    TDcalcStacks() { PushOperator(DcalcStart); }
    void PushValue(double value);
    void PushOperator(std::uint8_t code);
    bool PopValue(double &value);
    int ValueCount() const { return values_; }
    int OperatorCount() const { return operators_; }
    std::uint8_t TopOperator() const { return operators_ > 0 ? operatorStack_[operators_ - 1] : 0; }
    void DropOperator()
    {
        if (operators_ > 0)
            --operators_;
    }

private:
    std::array<double, Limit - 1> valueStack_{};
    std::array<std::uint8_t, Limit - 1> operatorStack_{};
    int values_ = 0;
    int operators_ = 0;
};

// Applies the pending operators before `code`: for an operator, those of equal or higher priority
// (left to right); for ")" those down to the nearest "(" or function, then that function, removing
// it; for the end marker all of them. Returns 0, or the message number of the first error: 27, 28,
// 29 as in DcalcEvaluate, 23 for an operator without two values, 24 for a ")" without "(", 25 for a
// "(" left open at the end.
int ApplyPendingOperators(TDcalcStacks &stacks, std::uint8_t code);
