#include "model/Format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string Format(const char* format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return std::string();
    }
    if (static_cast<size_t>(length) < sizeof small) {
        va_end(again);
        return std::string(small, static_cast<size_t>(length));
    }
    std::vector<char> large(static_cast<size_t>(length) + 1);
    std::vsnprintf(large.data(), large.size(), format, again);
    va_end(again);
    return std::string(large.data(), static_cast<size_t>(length));
}
