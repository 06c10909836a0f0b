#pragma once

#include <cstdlib>
#include <optional>
#include <random>
#include <string>

// The seed of a seeded random test. A run takes a fresh seed each time, so
// that the runs together cover more than one fixed sequence; a failure names
// its seed (SeedTrace), and BALKOR_SEED set to it repeats that very run.

// BALKOR_SEED when it is set to a number (decimal, or hexadecimal with 0x).
inline std::optional<unsigned> ChosenTestSeed() {
    const char* text = std::getenv("BALKOR_SEED");
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 0);
    if (*end != '\0' || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<unsigned>(value);
}

inline unsigned TestSeed() {
    if (const std::optional<unsigned> chosen = ChosenTestSeed())
        return *chosen;
    return std::random_device()();
}

// For SCOPED_TRACE and failure messages.
inline std::string SeedTrace(unsigned seed) {
    const std::string number = std::to_string(seed);
    return "seed " + number + " (BALKOR_SEED=" + number + " repeats this run)";
}
