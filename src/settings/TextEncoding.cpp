#include "settings/TextEncoding.h"

namespace {

// Unicode code points of the bytes 0x80 to 0x9F; from 0xA0 on the code page
// equals Latin-1.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

void Utf8Validator::Feed(unsigned char byte) {
    if (!valid_)
        return;
    if (pending_ > 0) {
        valid_ = byte >= low_ && byte <= high_;
        low_ = 0x80;
        high_ = 0xBF;
        --pending_;
        return;
    }
    if (byte < 0x80)
        return;
    // The range of the first continuation byte excludes overlong forms,
    // surrogates and code points above U+10FFFF.
    if (byte >= 0xC2 && byte <= 0xDF) {
        pending_ = 1;
    } else if (byte == 0xE0) {
        pending_ = 2;
        low_ = 0xA0;
    } else if (byte == 0xED) {
        pending_ = 2;
        high_ = 0x9F;
    } else if (byte >= 0xE1 && byte <= 0xEF) {
        pending_ = 2;
    } else if (byte == 0xF0) {
        pending_ = 3;
        low_ = 0x90;
    } else if (byte >= 0xF1 && byte <= 0xF3) {
        pending_ = 3;
    } else if (byte == 0xF4) {
        pending_ = 3;
        high_ = 0x8F;
    } else {
        valid_ = false;
    }
}

bool IsValidUtf8(std::string_view text) {
    Utf8Validator validator;
    for (char c : text)
        validator.Feed(static_cast<unsigned char>(c));
    return validator.Valid();
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0)
            AppendUtf8(out, kWindows1252High[byte - 0x80]);
        else
            AppendUtf8(out, byte);
    }
    return out;
}
