#include "protocols/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The largest width and precision written here; beyond them (and for the
// number of digits a precision of thousands asks for) the C library writes.
constexpr int kMaxField = 400;

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

constexpr char kDigitPairs[] = "0001020304050607080910111213141516171819202122232425262728293031323"
                               "3343536373839404142434445464748495051525354555657585960616263646566"
                               "676869707172737475767778798081828384858687888990919293949596979899";

// The count lowest decimal digits of r, two at a time.
void PutDigits(char* digits, uint64_t r, int count) {
    char* p = digits + count;
    for (; count >= 2; count -= 2) {
        const char* pair = kDigitPairs + 2 * (r % 100);
        r /= 100;
        *--p = pair[1];
        *--p = pair[0];
    }
    if (count)
        *--p = static_cast<char>('0' + r % 10);
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
    out = {r, exponent};
    return true;
}

// The exact digits from std::to_chars, which rounds as printf does.
DecimalDigits ExactDigits(double value, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, precision - 1);
    DecimalDigits out{0, 0};
    const char* p = buffer;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (*p != '.')
            out.significand = out.significand * 10 + static_cast<uint64_t>(*p - '0');
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, out.exponent);
    return out;
}

// Copies of a few characters as fixed-size moves that may overlap: the
// library's memcpy costs more than the copy itself for a field of ten.
void CopySmall(char* to, const char* from, size_t count) {
    if (count >= 8 && count <= 16) {
        std::memcpy(to, from, 8);
        std::memcpy(to + count - 8, from + count - 8, 8);
    } else if (count >= 4 && count < 8) {
        std::memcpy(to, from, 4);
        std::memcpy(to + count - 4, from + count - 4, 4);
    } else if (count < 4) {
        for (size_t i = 0; i < count; ++i)
            to[i] = from[i];
    } else {
        std::memcpy(to, from, count);
    }
}

// Room behind every reservation of Output, so that a short fill may write a
// fixed 16 characters.
constexpr size_t kSlack = 16;

void FillSmall(char* to, char c, size_t count) {
    if (count <= kSlack)
        std::memset(to, c, kSlack);
    else
        std::memset(to, c, count);
}

// The characters of one call, on the stack while they fit.
class Output {
public:
    Output() = default;
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // count characters to be written by the caller (and kSlack more that
    // may be scribbled on).
    char* Room(size_t count) {
        if (static_cast<size_t>(end_ - next_) < count + kSlack)
            Grow(count + kSlack);
        char* room = next_;
        next_ += count;
        return room;
    }
    void Append(const char* text, size_t count) { CopySmall(Room(count), text, count); }
    std::string Text() const { return std::string(begin_, next_); }

private:
    void Grow(size_t count) {
        const size_t used = static_cast<size_t>(next_ - begin_);
        std::vector<char> bigger(2 * (used + count));
        std::memcpy(bigger.data(), begin_, used);
        heap_.swap(bigger);
        begin_ = heap_.data();
        next_ = begin_ + used;
        end_ = begin_ + heap_.size();
    }

    char local_[256];
    std::vector<char> heap_;
    char* begin_ = local_;
    char* next_ = local_;
    char* end_ = local_ + sizeof local_;
};

char SignOf(bool negative, bool plus, bool space) {
    if (negative)
        return '-';
    if (plus)
        return '+';
    return space ? ' ' : '\0';
}

// Sign, then the body, padded to width as printf pads: spaces before the
// sign, zeros after it (zeroPad), or spaces after the body (left). The field
// is put together in one buffer and appended at once.
void AppendPadded(Output& out, char sign, const char* body, size_t length, int width, bool left,
                  bool zeroPad) {
    const size_t used = length + (sign ? 1 : 0);
    const size_t padding = width > 0 && static_cast<size_t>(width) > used ? width - used : 0;
    char* p = out.Room(used + padding);
    if (!left && !zeroPad) {
        FillSmall(p, ' ', padding);
        p += padding;
    }
    if (sign)
        *p++ = sign;
    if (!left && zeroPad) {
        FillSmall(p, '0', padding);
        p += padding;
    }
    CopySmall(p, body, length);
    if (left)
        FillSmall(p + length, ' ', padding);
}

// The largest precision handled without the C library: beyond 17 digits a
// double has no more digits of its own, printf writes its exact expansion.
constexpr int kMaxOwnPrecision = 17;

// The C library decides between fixed and exponent form before it rounds:
// a value below 10^precision that rounds up to it (999.5 with "%#.3g") was
// to be written without fraction digits, and after the carry it keeps none,
// "1.e+03", where the rounded exponent alone would give "1.00e+03".
bool CarriedOutOfFixed(double value, const DecimalDigits& d, int precision) {
    return d.exponent == precision &&
           d.significand == static_cast<uint64_t>(kExactPowers[precision - 1]) &&
           std::fabs(value) < kExactPowers[precision];
}

} // namespace

DecimalDigits RoundToDigits(double value, int precision) {
    DecimalDigits digits;
    if (value != 0.0 && FastDigits(std::fabs(value), precision, digits))
        return digits;
    return ExactDigits(value, precision);
}

namespace {

void WriteG(Output& out, double value, const GSpec& spec) {
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
        out.Append(text.data(), static_cast<size_t>(length));
        return;
    }
    const DecimalDigits d = value == 0.0 ? DecimalDigits{0, 0} : RoundToDigits(value, precision);
    const int x = d.exponent;
    const bool fixed = precision > x && x >= -4;
    // Body: at most 17 digits, "0." and four zeros, the point, "e-308". The
    // digits are written once, where they stand, and moved byte by byte to
    // make room for the point.
    char body[64];
    int length;
    const int fractionStart = fixed && x >= 0 ? x + 2 : 2; // after the point
    if (fixed && x < 0) {
        std::memcpy(body, "0.0000", 6);
        PutDigits(body + 1 - x, d.significand, precision);
        length = 1 - x + precision;
    } else {
        PutDigits(body + 1, d.significand, precision);
        const int whole = fixed ? x + 1 : 1; // digits before the point
        for (int i = 0; i < whole; ++i)
            body[i] = body[i + 1];
        body[whole] = '.';
        length = precision + 1;
        if (!fixed && CarriedOutOfFixed(value, d, precision))
            length = 2;
    }
    if (!spec.alternate) {
        while (length > fractionStart && body[length - 1] == '0')
            --length;
        if (length == fractionStart)
            --length; // no fraction: no decimal point either
    }
    if (!fixed) {
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
        if ((width = width * 10 + (*p - '0')) > kMaxField)
            return false;
    c.flags.width = width;
    if (*p == '.') {
        ++p;
        int precision = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            if ((precision = precision * 10 + (*p - '0')) > kMaxField)
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

void AppendInteger(Output& out, bool negative, unsigned long long magnitude, const Conversion& c) {
    char digits[24];
    int count = 0;
    for (; magnitude != 0; magnitude /= 10)
        digits[sizeof digits - 1 - count++] = static_cast<char>('0' + magnitude % 10);
    // A precision is the least number of digits (then '0' pads no more);
    // precision 0 writes no digit for 0.
    const int least = c.hasPrecision ? c.flags.precision : 1;
    const int zeros = least > count ? least - count : 0;
    char body[kMaxField + sizeof digits];
    std::memset(body, '0', static_cast<size_t>(zeros));
    std::memcpy(body + zeros, digits + sizeof digits - count, static_cast<size_t>(count));
    const char sign = c.type == 'u' ? '\0' : SignOf(negative, c.flags.plus, c.flags.space);
    AppendPadded(out, sign, body, static_cast<size_t>(zeros + count), c.flags.width, c.flags.left,
                 c.flags.zero && !c.flags.left && !c.hasPrecision);
}

void AppendSigned(Output& out, long long value, const Conversion& c) {
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    AppendInteger(out, value < 0, magnitude, c);
}

// Appends one conversion, taking its argument from args.
void AppendConversion(Output& out, const Conversion& c, va_list& args) {
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
        WriteG(out, va_arg(args, double), spec);
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

void AppendG(std::string& out, double value, const GSpec& spec) {
    Output field;
    WriteG(field, value, spec);
    out += field.Text();
}

namespace {

// A format taken apart once: its literal pieces and its conversions.
struct Piece {
    size_t start = 0; // literal text: format[start, start + length)
    size_t length = 0;
    bool conversion = false;
    Conversion c;
};

struct ParsedFormat {
    const char* key = nullptr; // the address it was parsed from
    std::string format;        // its text, to tell a reused address
    std::vector<Piece> pieces;
    bool handled = false; // false: something only the C library writes
};

void Parse(const char* format, ParsedFormat& parsed) {
    parsed.key = format;
    parsed.format = format;
    parsed.pieces.clear();
    parsed.handled = true;
    const char* p = format;
    while (*p) {
        if (*p != '%' || p[1] == '%') {
            // Literal text up to the next conversion; "%%" is one '%'.
            Piece piece;
            piece.start = static_cast<size_t>(p - format);
            if (*p == '%') {
                piece.length = 1;
                p += 2;
            } else {
                while (*p && *p != '%')
                    ++p;
                piece.length = static_cast<size_t>(p - format) - piece.start;
            }
            parsed.pieces.push_back(piece);
            continue;
        }
        ++p;
        Piece piece;
        piece.conversion = true;
        if (!ParseConversion(p, piece.c)) {
            parsed.handled = false;
            return;
        }
        ++p;
        parsed.pieces.push_back(piece);
    }
}

// The formats of the protocols are a handful of string literals, each
// written many times: they are parsed once and found again by address (and
// text, in case a buffer holds another format at the same address).
const ParsedFormat& Parsed(const char* format) {
    constexpr size_t kSlots = 32;
    thread_local ParsedFormat cache[kSlots];
    ParsedFormat& slot = cache[(reinterpret_cast<uintptr_t>(format) >> 4) % kSlots];
    if (slot.key != format || slot.format != format)
        Parse(format, slot);
    return slot;
}

} // namespace

std::string FormatFast(const char* format, ...) {
    const ParsedFormat& parsed = Parsed(format);
    va_list args;
    va_start(args, format);
    if (!parsed.handled) {
        std::string text = FormatWithLibrary(format, args);
        va_end(args);
        return text;
    }
    Output out;
    const char* text = parsed.format.data();
    for (const Piece& piece : parsed.pieces) {
        if (piece.conversion)
            AppendConversion(out, piece.c, args);
        else
            out.Append(text + piece.start, piece.length);
    }
    va_end(args);
    return out.Text();
}
