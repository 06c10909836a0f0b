#pragma once

#include <cstdint>
#include <string>

// printf-style formatting for the protocols, byte for byte what snprintf
// writes in the "C" locale, but without the C library's multi-precision
// arithmetic for %g: a results protocol holds millions of numbers.
//
// Handled here: %d %i %u (with h, hh, l, ll), %g %G (with L for long
// double handed to the C library), %s, %c and %%, with the flags - + space #
// 0, a width and a precision. Any other conversion, a '*' width or
// precision, or a length modifier not listed makes the whole call fall back
// to vsnprintf, so the result is always the C library's.
std::string FormatFast(const char* format, ...) __attribute__((format(printf, 1, 2)));

// One %g or %G conversion as printf writes it.
struct GSpec {
    int width = 0;
    int precision = 6;      // significant digits; 0 counts as 1
    bool left = false;      // '-'
    bool plus = false;      // '+'
    bool space = false;     // ' '
    bool alternate = false; // '#': keep the decimal point and trailing zeros
    bool zero = false;      // '0': pad with zeros after the sign
    bool upper = false;     // 'G'
};

// Appends value converted as by spec to out.
void AppendG(std::string& out, double value, const GSpec& spec);

// |value| rounded to precision (1 ... 17) significant digits as the C library
// rounds it (to nearest, ties to even, on the exact binary value): the digits
// as an integer of precision digits, and the decimal exponent of the first.
// value is finite and not zero.
struct DecimalDigits {
    uint64_t significand;
    int exponent;
};
DecimalDigits RoundToDigits(double value, int precision);
