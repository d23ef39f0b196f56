#include "base/numbers/dcalc.h"

#include <cmath>
#include <vector>

#include "base/numbers/NumericHelpers.h"
#include "base/messages/zmsg.h"
#include "framework/runtime/SysUtils.h"

namespace {

constexpr double ZeroThreshold = 1e-10;
constexpr int MaxReaderError = 99999;

// Message numbers of the built-in texts.
constexpr int MsgBadOperator = 23;
constexpr int MsgNoOpening = 24;
constexpr int MsgNoClosing = 25;
constexpr int MsgBadNumber = 26;
constexpr int MsgDivisionByZero = 27;
constexpr int MsgZeroToZero = 28;
constexpr int MsgNegativeToFraction = 29;
constexpr int MsgBadS = 37;
constexpr int MsgBadRanges = 38;

const std::uint8_t priorities[16] = {7, 4, 4, 5, 5, 6, 0, 1, 3, 2, 3, 3, 3, 3, 3, 0};

constexpr std::uint8_t FunctionS = 15;  // not an operator code: S is read whole as an operand

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNumberChar(char c) { return IsDigit(c) || c == ','; }
bool IsBinary(std::uint8_t code) { return code >= DcalcAdd && code <= DcalcPower; }
bool IsFunction(std::uint8_t code) { return code >= DcalcAbs && code <= DcalcZero; }

// The operator a character writes, with the notation it belongs to (2: both); 0 for none.
std::uint8_t OperatorCode(char c, int &notation)
{
    notation = 2;
    switch (static_cast<unsigned char>(c)) {
    case '+': return DcalcAdd;
    case '-': return DcalcSubtract;
    case '/':
    case ':': return DcalcDivide;
    case '.': notation = 0; return DcalcMultiply;
    case 'C':
    case 'c':
    case 0xD1:  // С
    case 0xF1:  // с
        notation = 0;
        return DcalcPower;
    case 'X':
    case 'x':
    case 0xD5:  // Х
    case 0xF5:  // х
        notation = 1;
        return DcalcMultiply;
    case '^': notation = 1; return DcalcPower;
    default: return 0;
    }
}

std::uint8_t FunctionCode(char c)
{
    switch (static_cast<unsigned char>(c)) {
    case 'M':
    case 'm':
    case 0xCC:  // М
    case 0xEC:  // м
        return DcalcAbs;
    case 0xD6:  // Ц
    case 0xF6:  // ц
        return DcalcFloor;
    case 'R':
    case 'r': return DcalcRound;
    case 'V':
    case 'v': return DcalcNonZero;
    case 'W':
    case 'w': return DcalcZero;
    case 'S': return FunctionS;
    default: return 0;
    }
}

double ApplyFunction(std::uint8_t code, double x)
{
    switch (code) {
    case DcalcAbs: return std::fabs(x);
    case DcalcFloor: return std::floor(x);
    case DcalcNonZero: return std::fabs(x) >= ZeroThreshold ? 1 : 0;
    case DcalcZero: return std::fabs(x) < ZeroThreshold ? 1 : 0;
    default: return x;
    }
}

// One step of an expression as the scanner hands it on.
struct Token {
    enum Kind { End, Operand, Sign, Binary, Open, Function, Close, Stop } kind = End;
    std::uint8_t code = 0;
    double value = 0;  // an operand's value; the digit of R
    int position = 0;  // 1-based
    // The text a reader read (an identifier, or the value S tests) and the value it gave.
    size_t spanStart = 0, spanEnd = 0;
    double spanValue = 0;
};

// Reads an expression token by token and holds it to the rules of the check: which token may follow
// which, parentheses, numbers, functions and the range list of S. The check and the evaluator both
// read through it, so the evaluator never meets a sequence the check would refuse, and each reader
// call happens once.
class Scanner {
public:
    Scanner(const AnsiString &text, int notation, bool identifiers, const TDcalcReader &reader)
        : text_(text), notation_(notation < 0 || notation > 2 ? 2 : notation), identifiers_(identifiers),
          reader_(reader)
    {}

    // The next token, or false with Error() and ErrorPosition() set.
    bool Next(Token &t);
    int Error() const { return error_; }
    int ErrorPosition() const { return static_cast<int>(errorAt_) + 1; }
    // The error came from the reader, which has reported it.
    bool ReaderError() const { return readerError_; }

private:
    enum class Prev { Start, Operand, Operator, Opening, Closing, Prefix };

    bool Fail(int number, size_t at)
    {
        error_ = number;
        errorAt_ = at;
        return false;
    }
    // The character at i, '\0' past the end (which no rule takes for anything it expects).
    char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
    bool AfterOperand() const { return prev_ == Prev::Operand || prev_ == Prev::Closing; }
    bool Number(Token &t, size_t at, size_t digitsFrom);
    bool Identifier(Token &t, size_t at);
    bool ChoiceFunction(Token &t, size_t at);
    // Asks the reader at `from`; false on an error. `stop` is set for a positive status.
    bool Ask(size_t from, size_t &to, double &value, bool mustMove, bool &stop);
    bool ReadRangeNumber(size_t &p, double &value);
    bool EmitOperand(Token &t, size_t at, double value);

    const AnsiString &text_;
    int notation_;
    bool identifiers_;
    const TDcalcReader &reader_;
    size_t pos_ = 0;
    Prev prev_ = Prev::Start;
    int depth_ = 0;
    std::vector<std::uint8_t> prefixes_;  // M and Ц without "(" waiting for their operand
    int error_ = 0;
    size_t errorAt_ = 0;
    bool readerError_ = false;
};

bool Scanner::EmitOperand(Token &t, size_t at, double value)
{
    for (auto p = prefixes_.rbegin(); p != prefixes_.rend(); ++p)
        value = ApplyFunction(*p, value);
    prefixes_.clear();
    t.kind = Token::Operand;
    t.value = value;
    t.position = static_cast<int>(at) + 1;
    prev_ = Prev::Operand;
    return true;
}

bool Scanner::Number(Token &t, size_t at, size_t digitsFrom)
{
    if (AfterOperand())
        return Fail(MsgBadOperator, at);
    size_t end = digitsFrom;
    while (end < text_.size() && IsNumberChar(text_[end]))
        ++end;
    double value;
    try {
        value = TextToFloatComma(text_.substr(at, end - at));
    } catch (const EConvertError &) {
        return Fail(MsgBadNumber, at);
    }
    pos_ = end;
    return EmitOperand(t, at, value);
}

bool Scanner::Ask(size_t from, size_t &to, double &value, bool mustMove, bool &stop)
{
    stop = false;
    value = 0;
    to = from;
    if (!reader_)
        return true;
    const char *base = text_.c_str();
    const char *cursor = base + from;
    const int status = reader_(cursor, value);
    if (status < 0) {
        readerError_ = true;
        const long long number = -static_cast<long long>(status);
        return Fail(static_cast<int>(number > MaxReaderError ? MaxReaderError : number), from);
    }
    if (status > 0) {
        stop = true;
        return true;
    }
    // A reader that stood still or left the text would make the scan loop or read outside it.
    if (cursor < base + from || cursor > base + text_.size() || (mustMove && cursor == base + from))
        return Fail(MsgBadOperator, from);
    to = static_cast<size_t>(cursor - base);
    return true;
}

bool Scanner::Identifier(Token &t, size_t at)
{
    if (!identifiers_ || AfterOperand())
        return Fail(MsgBadOperator, at);
    size_t end = at;
    double value = 0;
    if (reader_) {
        bool stop;
        if (!Ask(at, end, value, true, stop))
            return false;
        if (stop) {
            t.kind = Token::Stop;
            t.position = static_cast<int>(at) + 1;
            return true;
        }
    } else {
        // Up to the next operator, parenthesis or "=".
        int notation;
        do
            ++end;
        while (end < text_.size() && OperatorCode(text_[end], notation) == 0 && text_[end] != '(' &&
               text_[end] != ')' && text_[end] != '=');
    }
    pos_ = end;
    t.spanStart = at;
    t.spanEnd = end;
    t.spanValue = value;
    return EmitOperand(t, at, value);
}

bool Scanner::ReadRangeNumber(size_t &p, double &value)
{
    size_t q = p;
    if (At(q) == '-' || At(q) == '+')
        ++q;
    while (At(q) == ',')
        ++q;
    if (!IsDigit(At(q)))
        return Fail(MsgBadRanges, p);
    const char *cursor = text_.c_str() + p;
    try {
        value = CursorReadFloat(cursor);
    } catch (const EConvertError &) {
        return Fail(MsgBadRanges, p);
    }
    p = static_cast<size_t>(cursor - text_.c_str());
    return true;
}

// S([a_b;c;...]): the reader gives the value to test after "S("; the ranges follow up to "]" and ")".
bool Scanner::ChoiceFunction(Token &t, size_t at)
{
    if (!identifiers_ || At(at + 1) != '(')
        return Fail(MsgBadS, at);
    size_t p = at + 2;
    double tested;
    bool stop;
    size_t end;
    if (!Ask(p, end, tested, false, stop))
        return false;
    if (stop) {
        t.kind = Token::Stop;
        t.position = static_cast<int>(p) + 1;
        return true;
    }
    t.spanStart = p;
    t.spanEnd = end;
    t.spanValue = tested;
    p = end;
    if (At(p) != '[')
        return Fail(MsgBadRanges, p);
    ++p;
    bool inside = false;
    for (;;) {
        double a, b;
        if (!ReadRangeNumber(p, a))
            return false;
        b = a;
        if (At(p) == '_') {
            ++p;
            if (!ReadRangeNumber(p, b))
                return false;
        }
        if (a <= tested && tested <= b)
            inside = true;
        if (At(p) == ';') {
            ++p;
            continue;
        }
        if (At(p) == ']') {
            ++p;
            break;
        }
        return Fail(MsgBadRanges, p);
    }
    if (At(p) != ')')
        return Fail(MsgBadRanges, p);
    pos_ = p + 1;
    return EmitOperand(t, at, inside ? 1 : 0);
}

bool Scanner::Next(Token &t)
{
    t = Token();
    for (;;) {
        while (pos_ < text_.size() && text_[pos_] == '=')
            ++pos_;
        const size_t at = pos_;
        t.position = static_cast<int>(at) + 1;
        if (at >= text_.size()) {
            if (prev_ == Prev::Prefix)
                return Fail(MsgBadNumber, at);
            if (depth_ > 0)
                return Fail(MsgNoClosing, at);
            if (prev_ == Prev::Operator || prev_ == Prev::Opening)
                return Fail(MsgBadOperator, at);
            t.kind = Token::End;
            return true;
        }
        const char c = text_[at];
        int family;
        if (const std::uint8_t code = OperatorCode(c, family)) {
            if (notation_ != 2 && family != 2 && family != notation_)
                return Fail(MsgBadOperator, at);
            const bool sign = code == DcalcAdd || code == DcalcSubtract;
            if (AfterOperand()) {
                pos_ = at + 1;
                prev_ = Prev::Operator;
                t.kind = Token::Binary;
                t.code = code;
                return true;
            }
            if (sign && (prev_ == Prev::Start || prev_ == Prev::Opening)) {
                pos_ = at + 1;
                prev_ = Prev::Operator;
                t.kind = Token::Sign;
                t.code = code;
                return true;
            }
            // After an operator or a prefix only a sign that starts a number may stand.
            if (sign && IsNumberChar(At(at + 1)))
                return Number(t, at, at + 1);
            return Fail(MsgBadNumber, at);
        }
        if (IsNumberChar(c))
            return Number(t, at, at);
        if (c == '(') {
            if (AfterOperand())
                return Fail(MsgBadOperator, at);
            if (prev_ == Prev::Prefix)
                return Fail(MsgBadNumber, at);
            pos_ = at + 1;
            ++depth_;
            prev_ = Prev::Opening;
            t.kind = Token::Open;
            t.code = DcalcOpen;
            return true;
        }
        if (c == ')') {
            if (depth_ == 0)
                return Fail(MsgNoOpening, at);
            if (!AfterOperand())
                return Fail(prev_ == Prev::Prefix ? MsgBadNumber : MsgBadOperator, at);
            pos_ = at + 1;
            --depth_;
            prev_ = Prev::Closing;
            t.kind = Token::Close;
            t.code = DcalcClose;
            return true;
        }
        if (const std::uint8_t code = FunctionCode(c)) {
            if (AfterOperand())
                return Fail(MsgBadOperator, at);
            if (code == FunctionS)
                return ChoiceFunction(t, at);
            size_t open = at + 1;
            if (code == DcalcRound) {
                if (!IsDigit(At(at + 1)))
                    return Fail(MsgBadNumber, at);
                t.value = At(at + 1) - '0';
                ++open;
            }
            if (At(open) == '(' && prev_ != Prev::Prefix) {
                pos_ = open + 1;
                ++depth_;
                prev_ = Prev::Opening;
                t.kind = Token::Function;
                t.code = code;
                return true;
            }
            if (code != DcalcAbs && code != DcalcFloor)
                return Fail(MsgBadNumber, at);
            // M or Ц without "(": applies to the operand that follows.
            prefixes_.push_back(code);
            pos_ = at + 1;
            prev_ = Prev::Prefix;
            continue;
        }
        return Identifier(t, at);
    }
}

[[noreturn]] void StackLimit() { RaiseMessage("Превышение размерности стека при вычислении выражения", 0); }

int ApplyBinary(TDcalcStacks &stacks, std::uint8_t code)
{
    double a, b;
    if (!stacks.PopValue(b) || !stacks.PopValue(a))
        return MsgBadOperator;
    double r = 0;
    switch (code) {
    case DcalcAdd: r = a + b; break;
    case DcalcSubtract: r = a - b; break;
    case DcalcMultiply: r = a * b; break;
    case DcalcDivide:
        if (std::fabs(b) < ZeroThreshold)
            return MsgDivisionByZero;
        r = a / b;
        break;
    case DcalcPower:
        if (std::fabs(a) < ZeroThreshold) {
            if (std::fabs(b) < ZeroThreshold)
                return MsgZeroToZero;
            if (b < 0)
                return MsgDivisionByZero;  // 0 to a negative power divides by zero
            r = 0;
        } else if (a < 0 && b != std::floor(b)) {
            return MsgNegativeToFraction;
        } else {
            r = std::pow(a, b);
        }
        break;
    default: return MsgBadOperator;
    }
    stacks.PushValue(r);
    return 0;
}

// Applies the binary operators on top of the stack while `more` says so.
template <typename More>
int ApplyWhile(TDcalcStacks &stacks, More more)
{
    while (IsBinary(stacks.TopOperator()) && more(stacks.TopOperator())) {
        const std::uint8_t code = stacks.TopOperator();
        stacks.DropOperator();
        if (const int n = ApplyBinary(stacks, code))
            return n;
    }
    return 0;
}

}  // namespace

std::uint8_t DcalcPriority(std::uint8_t code) { return code < 16 ? priorities[code] : 0; }

void TDcalcStacks::PushValue(double value)
{
    if (values_ >= Limit - 1)
        StackLimit();
    valueStack_[values_++] = value;
}

void TDcalcStacks::PushOperator(std::uint8_t code)
{
    if (operators_ >= Limit - 1)
        StackLimit();
    operatorStack_[operators_++] = code;
}

bool TDcalcStacks::PopValue(double &value)
{
    if (values_ == 0)
        return false;
    value = valueStack_[--values_];
    return true;
}

int ApplyPendingOperators(TDcalcStacks &stacks, std::uint8_t code)
{
    if (code == DcalcClose) {
        if (const int n = ApplyWhile(stacks, [](std::uint8_t) { return true; }))
            return n;
        const std::uint8_t top = stacks.TopOperator();
        if (top == DcalcOpen) {
            stacks.DropOperator();
            return 0;
        }
        if (!IsFunction(top))
            return MsgNoOpening;
        stacks.DropOperator();
        double x;
        if (!stacks.PopValue(x))
            return MsgBadOperator;
        if (top == DcalcRound) {
            double digits;
            if (!stacks.PopValue(digits))
                return MsgBadOperator;
            x = RoundToDecimals(static_cast<int>(digits), x);
        } else {
            x = ApplyFunction(top, x);
        }
        stacks.PushValue(x);
        return 0;
    }
    if (code == DcalcEnd) {
        if (const int n = ApplyWhile(stacks, [](std::uint8_t) { return true; }))
            return n;
        const std::uint8_t top = stacks.TopOperator();
        return top == DcalcOpen || IsFunction(top) ? MsgNoClosing : 0;
    }
    const std::uint8_t own = DcalcPriority(code);
    return ApplyWhile(stacks, [own](std::uint8_t top) { return DcalcPriority(top) >= own; });
}

int CheckExpression(const AnsiString &text, int notation, int &error, const TDcalcReader &reader,
                    bool identifiersAllowed)
{
    Scanner scanner(text, notation, identifiersAllowed, reader);
    Token t;
    while (scanner.Next(t)) {
        if (t.kind == Token::End)
            return static_cast<int>(text.size()) + 1;
        if (t.kind == Token::Stop)
            return t.position;
    }
    const int number = scanner.Error();
    if (error < 0) {
        if (!scanner.ReaderError())
            ShowMessageNo(text, number);
    } else {
        error = 900 + number;
    }
    return scanner.ErrorPosition();
}

int CheckExpression(const AnsiString &text, int notation, int &error, const TDcalcValueReader &reader,
                    bool identifiersAllowed)
{
    TDcalcReader statusReader;
    if (reader)
        statusReader = [&reader](const char *&cursor, double &value) {
            value = reader(cursor);
            return 0;
        };
    return CheckExpression(text, notation, error, statusReader, identifiersAllowed);
}

double DcalcEvaluate(const AnsiString &text, bool showErrors, const TDcalcReader &reader)
{
    if (text.empty())
        return 0;
    Scanner scanner(text, 2, true, reader);
    TDcalcStacks stacks;
    auto fail = [&](int number, bool reported) {
        if (showErrors && !reported)
            ShowMessageNo(text, number);
        return 0.0;
    };
    Token t;
    for (;;) {
        if (!scanner.Next(t))
            return fail(scanner.Error(), scanner.ReaderError());
        int n = 0;
        switch (t.kind) {
        case Token::Operand: stacks.PushValue(t.value); break;
        case Token::Sign:
            stacks.PushValue(0);  // a leading sign acts on 0
            [[fallthrough]];
        case Token::Binary:
            n = ApplyPendingOperators(stacks, t.code);
            if (n == 0)
                stacks.PushOperator(t.code);
            break;
        case Token::Open: stacks.PushOperator(DcalcOpen); break;
        case Token::Function:
            if (t.code == DcalcRound)
                stacks.PushValue(t.value);
            stacks.PushOperator(t.code);
            break;
        case Token::Close: n = ApplyPendingOperators(stacks, DcalcClose); break;
        case Token::Stop: return 0;  // the reader ended the expression before its end
        case Token::End: {
            n = ApplyPendingOperators(stacks, DcalcEnd);
            // Nothing but "=" is worth 0, as the empty text is.
            double value = 0;
            if (n == 0 && stacks.ValueCount() > 0 && (stacks.ValueCount() != 1 || !stacks.PopValue(value)))
                n = MsgBadOperator;
            return n ? fail(n, false) : value;
        }
        }
        if (n)
            return fail(n, false);
    }
}

AnsiString SubstituteValues(const AnsiString &text, const TDcalcReader &reader)
{
    Scanner scanner(text, 2, true, reader);
    AnsiString out;
    size_t copied = 0;
    Token t;
    while (scanner.Next(t) && t.kind != Token::End && t.kind != Token::Stop) {
        if (t.kind == Token::Operand && t.spanEnd > t.spanStart) {
            out += text.substr(copied, t.spanStart - copied);
            out += FloatToFitText(-15, t.spanValue);
            copied = t.spanEnd;
        }
    }
    out += text.substr(copied);
    return out;
}
