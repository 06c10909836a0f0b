#pragma once

#include <string>
#include <string_view>

// Checks a byte stream for well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF), one byte at a time, so that a file can
// be checked without holding it in memory.
class Utf8Validator {
public:
    void Feed(unsigned char byte);
    // True when every byte fed so far forms complete, valid UTF-8.
    bool Valid() const { return valid_ && pending_ == 0; }
    // True once a byte broke the rules; no later byte can mend that.
    bool Failed() const { return !valid_; }

private:
    bool valid_ = true;
    int pending_ = 0;
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
};

bool IsValidUtf8(std::string_view text);

// Converts Windows-1252 text (the Western European Windows code page) to
// UTF-8. The five byte values that code page leaves undefined become the C1
// control characters of the same number, as Windows itself maps them.
std::string Windows1252ToUtf8(std::string_view text);
