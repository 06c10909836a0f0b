#pragma once

#include <string>

// printf-style formatting with the C library's rules (snprintf underneath);
// every number in files and protocols goes through here, never through
// locale-dependent streams.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
