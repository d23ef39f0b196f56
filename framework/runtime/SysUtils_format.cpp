// Format, and floating-point numbers <-> text with the process-wide decimal separator.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/runtime/SysUtils.h"

char DecimalSeparator = '.';

namespace {

[[noreturn]] void BadFormat(const AnsiString &format)
{
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

AnsiString Digits(unsigned long long v, unsigned base, bool upper)
{
    const char *set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    AnsiString r;
    do {
        r.insert(r.begin(), set[v % base]);
        v /= base;
    } while (v != 0);
    return r;
}

AnsiString FixedText(double v, int decimals)
{
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    AnsiString r = buf;
    size_t dot = r.find('.');
    if (dot != AnsiString::npos)
        r[dot] = DecimalSeparator;
    return r;
}

}  // namespace

AnsiString Format(const AnsiString &format, std::initializer_list<TVarRec> args)
{
    return FormatV(format, std::vector<TVarRec>(args));
}

AnsiString FormatV(const AnsiString &format, const std::vector<TVarRec> &args)
{
    AnsiString out;
    size_t next = 0;
    auto take = [&]() -> const TVarRec & {
        if (next >= args.size())
            BadFormat(format);
        return args[next++];
    };
    auto takeCount = [&]() {
        const TVarRec &a = take();
        if (a.kind() != TVarRec::Kind::Int && a.kind() != TVarRec::Kind::UInt)
            BadFormat(format);
        return static_cast<int>(a.asInt());
    };

    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            out.push_back(c);
            continue;
        }
        if (++i >= format.size())
            BadFormat(format);
        if (format[i] == '%') {
            out.push_back('%');
            continue;
        }
        bool left = false;
        if (format[i] == '-') {
            left = true;
            ++i;
        }
        int width = -1, precision = -1;
        auto number = [&](int &target) {
            if (i < format.size() && format[i] == '*') {
                target = takeCount();
                ++i;
                return;
            }
            if (i < format.size() && format[i] >= '0' && format[i] <= '9') {
                target = 0;
                while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
                    target = target * 10 + (format[i] - '0');
                    if (target > 100000)
                        BadFormat(format);
                    ++i;
                }
            }
        };
        number(width);
        if (i < format.size() && format[i] == '.') {
            ++i;
            precision = 0;
            number(precision);
        }
        if (i >= format.size())
            BadFormat(format);
        char type = format[i];
        const TVarRec &arg = take();
        bool isInteger = arg.kind() == TVarRec::Kind::Int || arg.kind() == TVarRec::Kind::UInt;
        AnsiString text;
        switch (type) {
        case 'd':
        case 'D':
        case 'u':
        case 'U': {
            if (!isInteger)
                BadFormat(format);
            bool negative = false;
            unsigned long long magnitude;
            if ((type == 'd' || type == 'D') && arg.kind() == TVarRec::Kind::Int && arg.asInt() < 0) {
                negative = true;
                magnitude = 0ULL - static_cast<unsigned long long>(arg.asInt());
            } else if ((type == 'u' || type == 'U') && arg.kind() == TVarRec::Kind::Int && arg.asInt() < 0) {
                // An unsigned directive shows a negative 32-bit value as its bit pattern.
                magnitude = static_cast<unsigned>(arg.asInt());
            } else {
                magnitude = arg.asUInt();
            }
            text = Digits(magnitude, 10, false);
            if (precision > static_cast<int>(text.size()))
                text.insert(0, static_cast<size_t>(precision) - text.size(), '0');
            if (negative)
                text.insert(text.begin(), '-');
            break;
        }
        case 'x':
        case 'X': {
            if (!isInteger)
                BadFormat(format);
            unsigned long long v = arg.asUInt();
            if (arg.kind() == TVarRec::Kind::Int && arg.asInt() < 0 && arg.asInt() >= INT32_MIN)
                v = static_cast<unsigned>(arg.asInt());
            text = Digits(v, 16, true);
            if (precision > static_cast<int>(text.size()))
                text.insert(0, static_cast<size_t>(precision) - text.size(), '0');
            break;
        }
        case 's':
        case 'S':
            if (arg.kind() != TVarRec::Kind::Text)
                BadFormat(format);
            text = arg.asText();
            if (precision >= 0 && static_cast<size_t>(precision) < text.size())
                text.resize(static_cast<size_t>(precision));
            break;
        case 'f':
        case 'F':
            if (arg.kind() == TVarRec::Kind::Text)
                BadFormat(format);
            text = FixedText(arg.kind() == TVarRec::Kind::Float ? arg.asFloat() : static_cast<double>(arg.asInt()),
                             precision < 0 ? 2 : (precision > 18 ? 18 : precision));
            break;
        default: BadFormat(format);
        }
        if (width > static_cast<int>(text.size())) {
            size_t pad = static_cast<size_t>(width) - text.size();
            if (left)
                text.append(pad, ' ');
            else
                text.insert(0, pad, ' ');
        }
        out += text;
    }
    return out;
}

AnsiString FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    // Fifteen significant digits, no trailing zeros, no exponent for ordinary magnitudes.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    AnsiString r = buf;
    size_t dot = r.find('.');
    if (dot != AnsiString::npos)
        r[dot] = DecimalSeparator;
    return r;
}

double StrToFloat(const AnsiString &s)
{
    AnsiString t = Trim(s);
    for (char &c : t)
        if (c == DecimalSeparator)
            c = '.';
    if (t.empty())
        throw EConvertError("'" + s + "' is not a valid floating point value");
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            throw EConvertError("'" + s + "' is not a valid floating point value");
    char *end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size())
        throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}
