#pragma once

#include <cstdint>
#include <string>

// Numbers of the grid cells and of the number field, with the C library's
// printf and strtod/strtol rules and the decimal point whatever the user's
// locale (the conversions run in the "C" locale).

// What a column's printf format converts: one int (d, i) or one double
// (f, F, e, E, g, G, a, A, with an optional l), with flags, width and
// precision; "%%" may appear anywhere. Anything else is Invalid and shows an
// empty text, so a wrong format can never read a wrong argument.
enum class FormatKind { Invalid, Integer, Real };
FormatKind ClassifyFormat(const std::string& format);

// A shown text has at most this many characters.
inline constexpr int kMaxCellText = 999;

// The value formatted with format; empty when the format does not fit.
std::string FormatInteger(const std::string& format, int32_t value);
std::string FormatReal(const std::string& format, double value);

// The leading number of text as strtol (base 10) or strtod read it; 0 when
// the text holds none. False when the number does not fit: an integer outside
// 32 bits, a real that is not finite ("1e999", "inf", "nan").
bool ReadLeadingInteger(const std::string& text, int32_t& value);
bool ReadLeadingReal(const std::string& text, double& value);
// The leading number as strtod reads it, infinite and NaN included.
double LeadingReal(const std::string& text);

// The shortest text that reads back as exactly value (what "%.17g" holds,
// without the digits it does not need): the clipboard's form of a number.
std::string ExactReal(double value);
