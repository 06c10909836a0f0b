#include "grid/GridNumbers.h"

#include "model/Format.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

// Runs the conversions of its lifetime in the "C" locale (this thread only).
class CNumericScope {
public:
    CNumericScope() : previous_(uselocale(CLocale())) {}
    ~CNumericScope() { uselocale(previous_); }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    static locale_t CLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return c;
    }
    locale_t previous_;
};

bool IsFlag(char c) {
    return std::strchr("-+ #0", c) != nullptr;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads one conversion after its '%' at format[i]; returns its kind and moves
// i behind it. For "%%" literal is set.
FormatKind ReadConversion(const std::string& format, size_t& i, bool& literal) {
    literal = false;
    if (i < format.size() && format[i] == '%') {
        ++i;
        literal = true;
        return FormatKind::Invalid;
    }
    while (i < format.size() && IsFlag(format[i]))
        ++i;
    while (i < format.size() && IsDigit(format[i]))
        ++i;
    if (i < format.size() && format[i] == '.') {
        ++i;
        while (i < format.size() && IsDigit(format[i]))
            ++i;
    }
    int longs = 0;
    int shorts = 0;
    for (; i < format.size() && (format[i] == 'l' || format[i] == 'h'); ++i)
        ++(format[i] == 'l' ? longs : shorts);
    if (i >= format.size())
        return FormatKind::Invalid;
    const char conversion = format[i++];
    if (conversion == '\0')
        return FormatKind::Invalid;
    if (longs == 0 && shorts == 0 && std::strchr("di", conversion))
        return FormatKind::Integer;
    if (longs <= 1 && shorts == 0 && std::strchr("fFeEgGaA", conversion))
        return FormatKind::Real;
    return FormatKind::Invalid;
}

std::string Limited(std::string text) {
    if (text.size() > static_cast<size_t>(kMaxCellText))
        text.resize(static_cast<size_t>(kMaxCellText));
    return text;
}

} // namespace

FormatKind ClassifyFormat(const std::string& format) {
    FormatKind found = FormatKind::Invalid;
    int conversions = 0;
    for (size_t i = 0; i < format.size();) {
        if (format[i++] != '%')
            continue;
        bool literal = false;
        const FormatKind kind = ReadConversion(format, i, literal);
        if (literal)
            continue;
        if (kind == FormatKind::Invalid)
            return FormatKind::Invalid;
        found = kind;
        ++conversions;
    }
    return conversions == 1 ? found : FormatKind::Invalid;
}

std::string FormatInteger(const std::string& format, int32_t value) {
    if (ClassifyFormat(format) != FormatKind::Integer)
        return std::string();
    CNumericScope scope;
    return Limited(Format(format.c_str(), static_cast<int>(value)));
}

std::string FormatReal(const std::string& format, double value) {
    if (ClassifyFormat(format) != FormatKind::Real)
        return std::string();
    CNumericScope scope;
    return Limited(Format(format.c_str(), value));
}

bool ReadLeadingInteger(const std::string& text, int32_t& value) {
    CNumericScope scope;
    errno = 0;
    const long read = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || read < INT32_MIN || read > INT32_MAX)
        return false;
    value = static_cast<int32_t>(read);
    return true;
}

double LeadingReal(const std::string& text) {
    CNumericScope scope;
    return std::strtod(text.c_str(), nullptr);
}

bool ReadLeadingReal(const std::string& text, double& value) {
    const double read = LeadingReal(text);
    if (!std::isfinite(read))
        return false;
    value = read;
    return true;
}

std::string ExactReal(double value) {
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}
