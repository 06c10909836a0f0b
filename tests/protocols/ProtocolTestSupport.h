#pragma once

#include "model/Tables.h"
#include "protocols/Protocols.h"
#include "support/TableRows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// Runs a writer on a temporary file and returns what it wrote.
template <class Writer> std::string CaptureText(Writer write) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    write(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start)); // after the last "\n": empty for complete text
    return lines;
}

// Compares line by line, so that a failure names the first differing line.
inline void ExpectSameLines(const std::string& actual, const std::string& expected) {
    std::vector<std::string> a = SplitLines(actual), e = SplitLines(expected);
    for (size_t i = 0; i < std::min(a.size(), e.size()); ++i)
        EXPECT_EQ(a[i], e[i]) << "line " << i + 1;
    EXPECT_EQ(a.size(), e.size()) << "number of lines";
}

// 7:05:09 on 9 December 2026, printed in the "C" locale as "07:05:09  12/09/26".
inline ProtocolContext FixedContext(std::string system = "", std::string loads = "") {
    ProtocolContext context;
    context.systemFile = std::move(system);
    context.loadCaseFile = std::move(loads);
    context.timeLocale = "C";
    context.clock = [] {
        std::tm t{};
        t.tm_year = 2026 - 1900;
        t.tm_mon = 11;
        t.tm_mday = 9;
        t.tm_hour = 7;
        t.tm_min = 5;
        t.tm_sec = 9;
        return t;
    };
    return context;
}

inline std::string Repeat(char c, int n) {
    return std::string(n, c);
}

// The header for FixedContext with the given paths.
inline std::string ExpectedHeader(const std::string& system = "", const std::string& loads = "") {
    return "07:05:09  12/09/26\n" + Repeat('=', 82) + "\nSystem  : " + system +
           "\nLastfall: " + loads + "\n" + Repeat('=', 82) + "\n\n";
}

// True when text is a number as a whole.
inline bool ParseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

// A printed zero with a minus sign: "%g" prints no value but -0.0 that way
// (noise prints with its exponent), and the protocol must not show it.
inline bool IsNegativeZero(const std::string& text) {
    double value;
    return ParseNumber(text, value) && value == 0 && std::signbit(value);
}

// Like ExpectSameLines, except that where the expected line holds a zero the
// actual line may hold floating-point noise of the same field width instead
// (a theoretical 0 comes out of the solution as 0 up to rounding). Every
// other field must match character by character, and "-0.000" is no zero.
inline void ExpectSameLinesUpToZeroNoise(const std::string& actual, const std::string& expected) {
    std::vector<std::string> a = SplitLines(actual), e = SplitLines(expected);
    for (size_t i = 0; i < std::min(a.size(), e.size()); ++i) {
        if (a[i] == e[i])
            continue;
        std::istringstream as(a[i]), es(e[i]);
        std::vector<std::string> at{std::istream_iterator<std::string>(as), {}};
        std::vector<std::string> et{std::istream_iterator<std::string>(es), {}};
        bool same = a[i].size() == e[i].size() && at.size() == et.size();
        for (size_t k = 0; same && k < at.size(); ++k) {
            double av, ev;
            same = at[k] == et[k] || (ParseNumber(et[k], ev) && ev == 0 && ParseNumber(at[k], av) &&
                                      std::fabs(av) < 1e-9 && !IsNegativeZero(at[k]));
        }
        EXPECT_TRUE(same) << "line " << i + 1 << "\n  actual:   " << a[i]
                          << "\n  expected: " << e[i];
    }
    EXPECT_EQ(a.size(), e.size()) << "number of lines";
}
