// FormatFast against the C library: every case compares with what snprintf
// writes for the same format and value.

#include "protocols/NumberFormat.h"

#include "support/TestSeed.h"

#include <cfloat>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Library(const char* format, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Own(const char* format, double value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return FormatFast(format, value);
#pragma GCC diagnostic pop
}

double FromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Counts and reports the first few mismatches instead of millions of lines.
class Comparison {
public:
    void Check(const char* format, double value) {
        ++count_;
        const std::string expected = Library(format, value);
        const std::string actual = Own(format, value);
        if (actual == expected)
            return;
        if (++failures_ <= 10)
            ADD_FAILURE() << format << " of " << std::hexfloat << value << std::defaultfloat << " ("
                          << value << "): \"" << actual << "\", C library \"" << expected << "\"";
    }
    void CheckAll(const std::vector<const char*>& formats, double value) {
        for (const char* format : formats)
            Check(format, value);
    }
    long count() const { return count_; }

private:
    long count_ = 0;
    long failures_ = 0;
};

// The conversions the protocols write, first, then flag and precision variety.
const std::vector<const char*> kProtocolFormats = {"%#10.4lg", "%#7.4lg", "%#.4lg", "%10lg"};

std::vector<const char*> EveryPrecision() {
    static const char* const formats[] = {
        "%.0g",   "%.1g",   "%.2g",   "%.3g",   "%.4g",   "%.5g",   "%.6g",   "%.7g",
        "%.8g",   "%.9g",   "%.10g",  "%.11g",  "%.12g",  "%.13g",  "%.14g",  "%.15g",
        "%.16g",  "%.17g",  "%#.0g",  "%#.1g",  "%#.2g",  "%#.3g",  "%#.4g",  "%#.5g",
        "%#.6g",  "%#.7g",  "%#.8g",  "%#.9g",  "%#.10g", "%#.11g", "%#.12g", "%#.13g",
        "%#.14g", "%#.15g", "%#.16g", "%#.17g", "%g",     "%#g",    "%G",     "%#.3G"};
    return {std::begin(formats), std::end(formats)};
}

const std::vector<const char*> kFlagFormats = {
    "%-12.3g", "%+g",     "% g",   "%012.4g", "%-#12.4g", "%+#012.5G", "% 010g",
    "%-+8g",   "%#-+12g", "%3.1g", "%.20g",   "%#.25g",   "%025.18g",  "%-0+#9.2g"};

TEST(NumberFormatTest, RandomBitPatternsInProtocolFormats) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937_64 random(seed);
    Comparison compare;
    for (int i = 0; i < 400000; ++i)
        compare.CheckAll(kProtocolFormats, FromBits(random()));
    EXPECT_GE(compare.count(), 1600000);
}

// Values of results: moderate magnitudes with a few digits, where the
// protocol's four digits meet ties and near ties most often.
TEST(NumberFormatTest, RandomResultValues) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    Comparison compare;
    for (int i = 0; i < 400000; ++i) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        compare.CheckAll(kProtocolFormats, value);
        // Short decimals (2.5, 0.125, 1234.5) are exact ties at some precision.
        const double shortDecimal = std::round(value * 8.0) / 8.0;
        compare.Check("%#10.4lg", shortDecimal);
        compare.Check("%.3g", shortDecimal);
    }
    EXPECT_GE(compare.count(), 2400000);
}

TEST(NumberFormatTest, RandomBitPatternsInEveryPrecisionAndFlag) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937_64 random(seed);
    Comparison compare;
    const std::vector<const char*> formats = EveryPrecision();
    for (int i = 0; i < 20000; ++i) {
        const double value = FromBits(random());
        compare.CheckAll(formats, value);
        compare.CheckAll(kFlagFormats, value);
    }
}

TEST(NumberFormatTest, PowersOfTenAndTheirNeighbours) {
    Comparison compare;
    const std::vector<const char*> formats = EveryPrecision();
    for (int k = -324; k <= 308; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "1e%d", k);
        const double power = std::strtod(text, nullptr);
        for (double value : {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL),
                             -power, 5 * power, 9.5 * power, 0.5 * power}) {
            compare.CheckAll(formats, value);
            compare.CheckAll(kProtocolFormats, value);
        }
    }
}

// Exact ties d.dd…d5 × 10^x (exactly representable) and the doubles next to
// them: the C library rounds ties to even.
TEST(NumberFormatTest, HalfwayCases) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937_64 random(seed);
    Comparison compare;
    const std::vector<const char*> formats = EveryPrecision();
    for (int i = 0; i < 30000; ++i) {
        // n / 2^j has a finite decimal expansion; odd n × 5 makes the last
        // digit a 5.
        const uint64_t n = (random() % (uint64_t{1} << 40)) | 1;
        const int j = static_cast<int>(random() % 24);
        const double tie = std::ldexp(static_cast<double>(n * 5), -j);
        for (double value : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, HUGE_VAL)}) {
            compare.CheckAll(formats, value);
            compare.CheckAll(kProtocolFormats, value);
        }
    }
    // Integers ending in 5 at the rounding digit of the protocol's %#10.4lg.
    for (int v = 10005; v < 100000; v += 10)
        compare.CheckAll(kProtocolFormats, v);
    for (double value : {0.5, 1.5, 2.5, 0.125, 0.375, 9.5, 99.5, 999.5, 9999.5, 0.0001, 0.00012345,
                         1.0005, 2.0005})
        compare.CheckAll(formats, value);
}

TEST(NumberFormatTest, SubnormalsZeroInfinityAndNotANumber) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937_64 random(seed);
    Comparison compare;
    const std::vector<const char*> formats = EveryPrecision();
    for (int i = 0; i < 20000; ++i) {
        const uint64_t mantissa = random() & ((uint64_t{1} << 52) - 1);
        const uint64_t sign = random() & (uint64_t{1} << 63);
        compare.CheckAll(formats, FromBits(sign | mantissa));
        compare.CheckAll(kProtocolFormats, FromBits(sign | mantissa));
    }
    for (double value : {0.0, -0.0, DBL_MIN, -DBL_MIN, DBL_TRUE_MIN, -DBL_TRUE_MIN, DBL_MAX,
                         -DBL_MAX, HUGE_VAL, -HUGE_VAL, std::nan(""), -std::nan("")}) {
        compare.CheckAll(formats, value);
        compare.CheckAll(kProtocolFormats, value);
        compare.CheckAll(kFlagFormats, value);
    }
}

// %g writes exponent form when the exponent after rounding is below −4 or
// not below the precision; the values that round across those exponents.
TEST(NumberFormatTest, ExponentSwitchBoundaries) {
    Comparison compare;
    for (int precision = 0; precision <= 17; ++precision) {
        char plain[16], alternate[16];
        std::snprintf(plain, sizeof plain, "%%.%dg", precision);
        std::snprintf(alternate, sizeof alternate, "%%#.%dg", precision);
        const int p = precision == 0 ? 1 : precision;
        for (int x : {-6, -5, -4, -3, p - 2, p - 1, p, p + 1}) {
            const double power = std::pow(10.0, x);
            const double halfUnit = 0.5 * std::pow(10.0, x - p);
            for (double value : {power, power - halfUnit, power - 2 * halfUnit, power + halfUnit,
                                 std::nextafter(power - halfUnit, 0.0),
                                 std::nextafter(power - halfUnit, HUGE_VAL)}) {
                for (double signedValue : {value, -value}) {
                    compare.Check(plain, signedValue);
                    compare.Check(alternate, signedValue);
                    compare.CheckAll(kProtocolFormats, signedValue);
                }
            }
        }
    }
}

TEST(NumberFormatTest, WholeProtocolLinesAsTheLibraryWritesThem) {
    const unsigned seed = TestSeed();
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int> number(-99999, 999999);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    char expected[512];
    for (int i = 0; i < 20000; ++i) {
        const int a = number(random), b = number(random);
        const long c = number(random);
        const double x = value(random) * std::pow(10.0, static_cast<int>(random() % 20) - 10);
        const double y = value(random);
        std::snprintf(expected, sizeof expected, "%5d %#10.4lg %#10.4lg %3d|%-3ld|%7.7s|%c\n", a, x,
                      y, b, c, "Querkraft", 'J');
        EXPECT_EQ(FormatFast("%5d %#10.4lg %#10.4lg %3d|%-3ld|%7.7s|%c\n", a, x, y, b, c,
                             "Querkraft", 'J'),
                  expected);
        std::snprintf(expected, sizeof expected, "%+05d|%-6i|%.3d|%.0d|%5.2d|%u|%lu|%lld|%hd|%10s",
                      a, b, a, 0, b, static_cast<unsigned>(a), static_cast<unsigned long>(c),
                      static_cast<long long>(c) * 100000, static_cast<short>(a), "x");
        EXPECT_EQ(FormatFast("%+05d|%-6i|%.3d|%.0d|%5.2d|%u|%lu|%lld|%hd|%10s", a, b, a, 0, b,
                             static_cast<unsigned>(a), static_cast<unsigned long>(c),
                             static_cast<long long>(c) * 100000, static_cast<short>(a), "x"),
                  expected);
    }
    EXPECT_EQ(FormatFast("%d %d %%", INT_MIN, INT_MAX),
              std::to_string(INT_MIN) + " " + std::to_string(INT_MAX) + " %");
}

// Formats are remembered by address; a buffer that holds another format at
// the same address is parsed again.
TEST(NumberFormatTest, AFormatBufferMayChange) {
    char format[32];
    std::strcpy(format, "%#.3g|");
    EXPECT_EQ(Own(format, 0.5), Library(format, 0.5));
    std::strcpy(format, "%-8.2g|");
    EXPECT_EQ(Own(format, 0.5), "0.5     |");
    std::strcpy(format, "%e|");
    EXPECT_EQ(Own(format, 0.5), "5.000000e-01|");
}

// Conversions the fast path does not know go to the C library whole.
TEST(NumberFormatTest, OtherConversionsFallBackToTheLibrary) {
    EXPECT_EQ(FormatFast("%5d %10.3f %e %x|%*d", 7, 2.5, 1e-7, 255u, 4, 3),
              "    7      2.500 1.000000e-07 ff|   3");
    EXPECT_EQ(FormatFast("%Lg %g", 1.5L, 2.0), "1.5 2");
    EXPECT_EQ(FormatFast("%s", ""), "");
    EXPECT_EQ(FormatFast("ohne Umwandlung"), "ohne Umwandlung");
}

} // namespace
