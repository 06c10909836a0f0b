#include "protocols/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// Digits of the fast path: products of up to 9 digits keep enough bits below
// the rounding position to tell a tie from a clear case.
constexpr int kFastDigits = 9;

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
static_assert(sizeof kExactPowers / sizeof kExactPowers[0] > 17, "10^precision must be exact");

// The fast path's range of values and of powers of ten.
constexpr double kFastLow = 1e-290;
constexpr double kFastHigh = 1e290;
constexpr int kLargestPower = 300;

// 10^k for |k| <= kLargestPower, each within one unit in the last place.
const double* PowersOfTen() {
    static const auto table = [] {
        std::vector<double> powers(2 * kLargestPower + 1);
        for (int k = -kLargestPower; k <= kLargestPower; ++k)
            powers[k + kLargestPower] = std::pow(10.0, k);
        return powers;
    }();
    return table.data() + kLargestPower;
}

void PutDigits(char* digits, uint64_t r, int count) {
    for (int i = count - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + r % 10);
        r /= 10;
    }
}

// Rounds |value| to `precision` digits in double arithmetic and keeps the
// result only where the rounding direction is certain: the scaled value must
// lie clearly away from the midpoint between two integers, further than its
// possible error. Ties and near ties go to the exact path.
bool FastDigits(double value, int precision, DecimalDigits& out) {
    if (precision > kFastDigits || !(value >= kFastLow && value < kFastHigh))
        return false;
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int binaryExponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    // value in [2^b, 2^(b+1)): its decimal exponent is floor(b log10 2) or
    // one more (78913 / 2^18 is log10 2 to the precision needed here).
    int exponent = (binaryExponent * 78913) >> 18;
    const double low = kExactPowers[precision - 1];
    const double high = kExactPowers[precision];
    // One rounding in the table and one in the product: a relative error
    // below 2^-51, far inside the tolerance below.
    double scaled = value * PowersOfTen()[precision - 1 - exponent];
    if (scaled >= high) {
        ++exponent;
        scaled /= 10.0;
    } else if (scaled < low) {
        --exponent;
        scaled *= 10.0;
    }
    // Whatever the last two steps decided near a power of ten, both ways
    // round to the same digits (the carry below).
    const uint64_t whole = static_cast<uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    const double tolerance = scaled * 0x1p-48;
    if (std::fabs(fraction - 0.5) <= tolerance)
        return false;
    uint64_t r = whole + (fraction > 0.5 ? 1 : 0);
    if (static_cast<double>(r) >= high) {
        r = static_cast<uint64_t>(low);
        ++exponent;
    }
    PutDigits(out.digits, r, precision);
    out.exponent = exponent;
    return true;
}

// The exact digits from std::to_chars, which rounds as printf does.
DecimalDigits ExactDigits(double value, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, precision - 1);
    DecimalDigits out{};
    int count = 0;
    const char* p = buffer;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (*p != '.')
            out.digits[count++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, exponent);
    out.exponent = exponent;
    return out;
}

void Pad(std::string& out, char c, int count) {
    if (count > 0)
        out.append(static_cast<size_t>(count), c);
}

char SignOf(bool negative, bool plus, bool space) {
    if (negative)
        return '-';
    if (plus)
        return '+';
    return space ? ' ' : '\0';
}

// Sign, then the body, padded to width as printf pads: spaces before the
// sign, zeros after it (zeroPad), or spaces after the body (left).
void AppendPadded(std::string& out, char sign, const char* body, size_t length, int width,
                  bool left, bool zeroPad) {
    const int used = static_cast<int>(length) + (sign ? 1 : 0);
    const int padding = width - used;
    if (!left && !zeroPad)
        Pad(out, ' ', padding);
    if (sign)
        out.push_back(sign);
    if (!left && zeroPad)
        Pad(out, '0', padding);
    out.append(body, length);
    if (left)
        Pad(out, ' ', padding);
}

// The largest precision handled without the C library: beyond 17 digits a
// double has no more digits of its own, printf writes its exact expansion.
constexpr int kMaxOwnPrecision = 17;

// The C library decides between fixed and exponent form before it rounds:
// a value below 10^precision that rounds up to it (999.5 with "%#.3g") was
// to be written without fraction digits, and after the carry it keeps none,
// "1.e+03", where the rounded exponent alone would give "1.00e+03".
bool CarriedOutOfFixed(double value, const DecimalDigits& d, int precision) {
    if (d.exponent != precision || std::fabs(value) >= kExactPowers[precision])
        return false;
    for (int i = 1; i < precision; ++i)
        if (d.digits[i] != '0')
            return false;
    return d.digits[0] == '1';
}

} // namespace

DecimalDigits RoundToDigits(double value, int precision) {
    DecimalDigits digits;
    if (value != 0.0 && FastDigits(std::fabs(value), precision, digits))
        return digits;
    return ExactDigits(value, precision);
}

void AppendG(std::string& out, double value, const GSpec& spec) {
    const bool negative = std::signbit(value);
    const char sign = SignOf(negative, spec.plus, spec.space);
    if (!std::isfinite(value)) {
        const char* text =
            std::isnan(value) ? (spec.upper ? "NAN" : "nan") : (spec.upper ? "INF" : "inf");
        AppendPadded(out, sign, text, 3, spec.width, spec.left, false);
        return;
    }
    const int precision = spec.precision == 0 ? 1 : spec.precision;
    if (precision > kMaxOwnPrecision) {
        char format[16];
        std::snprintf(format, sizeof format, "%%%s%s%s%s%s*.*%c", spec.left ? "-" : "",
                      spec.plus ? "+" : "", spec.space ? " " : "", spec.alternate ? "#" : "",
                      spec.zero ? "0" : "", spec.upper ? 'G' : 'g');
        const int length = std::snprintf(nullptr, 0, format, spec.width, precision, value);
        std::vector<char> text(static_cast<size_t>(length) + 1);
        std::snprintf(text.data(), text.size(), format, spec.width, precision, value);
        out.append(text.data(), static_cast<size_t>(length));
        return;
    }
    const DecimalDigits d = value == 0.0
                                ? DecimalDigits{{'0', '0', '0', '0', '0', '0', '0', '0', '0', '0',
                                                 '0', '0', '0', '0', '0', '0', '0'},
                                                0}
                                : RoundToDigits(value, precision);
    const int x = d.exponent;
    // Body: at most 17 digits, "0." and four zeros, the point, "e-308".
    char body[40];
    int length = 0;
    int fractionStart; // first character after the decimal point
    if (precision > x && x >= -4) {
        if (x >= 0) {
            std::memcpy(body, d.digits, static_cast<size_t>(x) + 1);
            length = x + 1;
            body[length++] = '.';
            fractionStart = length;
            std::memcpy(body + length, d.digits + x + 1, static_cast<size_t>(precision - 1 - x));
            length += precision - 1 - x;
        } else {
            body[length++] = '0';
            body[length++] = '.';
            fractionStart = length;
            for (int i = 0; i < -x - 1; ++i)
                body[length++] = '0';
            std::memcpy(body + length, d.digits, static_cast<size_t>(precision));
            length += precision;
        }
    } else {
        body[length++] = d.digits[0];
        body[length++] = '.';
        fractionStart = length;
        const int fraction = CarriedOutOfFixed(value, d, precision) ? 0 : precision - 1;
        std::memcpy(body + length, d.digits + 1, static_cast<size_t>(fraction));
        length += fraction;
    }
    if (!spec.alternate) {
        while (length > fractionStart && body[length - 1] == '0')
            --length;
        if (length == fractionStart)
            --length; // no fraction: no decimal point either
    }
    if (!(precision > x && x >= -4)) {
        body[length++] = spec.upper ? 'E' : 'e';
        body[length++] = x < 0 ? '-' : '+';
        const int magnitude = x < 0 ? -x : x;
        if (magnitude >= 100)
            body[length++] = static_cast<char>('0' + magnitude / 100);
        body[length++] = static_cast<char>('0' + magnitude / 10 % 10);
        body[length++] = static_cast<char>('0' + magnitude % 10);
    }
    AppendPadded(out, sign, body, static_cast<size_t>(length), spec.width, spec.left,
                 spec.zero && !spec.left);
}

namespace {

struct Conversion {
    GSpec flags; // flags, width and precision of any conversion
    bool hasPrecision = false;
    int length = 0; // -2 hh, -1 h, 0 none, 1 l, 2 ll, 3 L
    char type = '\0';
};

// Parses the conversion after '%'; false for anything not handled here.
bool ParseConversion(const char*& p, Conversion& c) {
    for (;; ++p) {
        if (*p == '-')
            c.flags.left = true;
        else if (*p == '+')
            c.flags.plus = true;
        else if (*p == ' ')
            c.flags.space = true;
        else if (*p == '#')
            c.flags.alternate = true;
        else if (*p == '0')
            c.flags.zero = true;
        else
            break;
    }
    int width = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if ((width = width * 10 + (*p - '0')) > 4096)
            return false;
    c.flags.width = width;
    if (*p == '.') {
        ++p;
        int precision = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            if ((precision = precision * 10 + (*p - '0')) > 4096)
                return false;
        c.hasPrecision = true;
        c.flags.precision = precision;
    }
    if (*p == 'h') {
        c.length = p[1] == 'h' ? -2 : -1;
        p += c.length == -2 ? 2 : 1;
    } else if (*p == 'l') {
        c.length = p[1] == 'l' ? 2 : 1;
        p += c.length;
    } else if (*p == 'L') {
        c.length = 3;
        ++p;
    }
    c.type = *p;
    switch (c.type) {
    case 'd':
    case 'i':
    case 'u':
        return c.length != 3;
    case 'g':
    case 'G':
        return c.length == 0 || c.length == 1;
    case 's':
    case 'c':
        return c.length == 0;
    default:
        return false;
    }
}

void AppendInteger(std::string& out, bool negative, unsigned long long magnitude,
                   const Conversion& c) {
    char digits[24];
    int count = 0;
    for (; magnitude != 0; magnitude /= 10)
        digits[sizeof digits - 1 - count++] = static_cast<char>('0' + magnitude % 10);
    // A precision is the least number of digits (then '0' pads no more);
    // precision 0 writes no digit for 0.
    const int least = c.hasPrecision ? c.flags.precision : 1;
    const int zeros = least > count ? least - count : 0;
    std::string body(static_cast<size_t>(zeros), '0');
    body.append(digits + sizeof digits - count, static_cast<size_t>(count));
    const char sign = c.type == 'u' ? '\0' : SignOf(negative, c.flags.plus, c.flags.space);
    AppendPadded(out, sign, body.data(), body.size(), c.flags.width, c.flags.left,
                 c.flags.zero && !c.flags.left && !c.hasPrecision);
}

void AppendSigned(std::string& out, long long value, const Conversion& c) {
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    AppendInteger(out, value < 0, magnitude, c);
}

// Appends one conversion, taking its argument from args.
void AppendConversion(std::string& out, const Conversion& c, va_list& args) {
    switch (c.type) {
    case 'd':
    case 'i': {
        long long v;
        if (c.length == 2)
            v = va_arg(args, long long);
        else if (c.length == 1)
            v = va_arg(args, long);
        else
            v = va_arg(args, int);
        if (c.length == -1)
            v = static_cast<short>(v);
        else if (c.length == -2)
            v = static_cast<signed char>(v);
        AppendSigned(out, v, c);
        break;
    }
    case 'u': {
        unsigned long long v;
        if (c.length == 2)
            v = va_arg(args, unsigned long long);
        else if (c.length == 1)
            v = va_arg(args, unsigned long);
        else
            v = va_arg(args, unsigned int);
        if (c.length == -1)
            v = static_cast<unsigned short>(v);
        else if (c.length == -2)
            v = static_cast<unsigned char>(v);
        AppendInteger(out, false, v, c);
        break;
    }
    case 'g':
    case 'G': {
        GSpec spec = c.flags;
        spec.upper = c.type == 'G';
        if (!c.hasPrecision)
            spec.precision = 6;
        AppendG(out, va_arg(args, double), spec);
        break;
    }
    case 's': {
        const char* text = va_arg(args, const char*);
        if (!text)
            text = "(null)";
        const size_t length = c.hasPrecision ? strnlen(text, static_cast<size_t>(c.flags.precision))
                                             : std::strlen(text);
        AppendPadded(out, '\0', text, length, c.flags.width, c.flags.left, false);
        break;
    }
    case 'c': {
        const char ch = static_cast<char>(va_arg(args, int));
        AppendPadded(out, '\0', &ch, 1, c.flags.width, c.flags.left, false);
        break;
    }
    }
}

std::string FormatWithLibrary(const char* format, va_list args) {
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(again);
    return text;
}

} // namespace

std::string FormatFast(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list original;
    va_copy(original, args);
    // One buffer that keeps its capacity; the result is copied out once.
    thread_local std::string out;
    out.clear();
    const char* p = format;
    bool handled = true;
    while (*p) {
        const char* percent = std::strchr(p, '%');
        if (!percent) {
            out.append(p);
            break;
        }
        out.append(p, static_cast<size_t>(percent - p));
        p = percent + 1;
        if (*p == '%') {
            out.push_back('%');
            ++p;
            continue;
        }
        Conversion c;
        if (!ParseConversion(p, c)) {
            handled = false;
            break;
        }
        ++p;
        AppendConversion(out, c, args);
    }
    va_end(args);
    std::string result = handled ? out : FormatWithLibrary(format, original);
    va_end(original);
    return result;
}
