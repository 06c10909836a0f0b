// Feeds arbitrary bytes to the line reader: every line it returns is short
// enough, holds no NUL and no line end (LF or CR), and the reader always
// comes to the end of the input.

#include "model/LineReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file)
        return 0;
    char buffer[kLineBufferSize + 1];
    buffer[kLineBufferSize] = '\x7f'; // a guard the reader must never touch
    size_t lines = 0;
    while (ReadLine(file, buffer)) {
        const size_t length = std::strlen(buffer);
        if (length > kLineBufferSize - 1 || std::memchr(buffer, '\n', length) ||
            std::memchr(buffer, '\r', length) ||
            buffer[kLineBufferSize] != '\x7f')
            std::abort();
        // Every line consumes at least one byte.
        if (++lines > size)
            std::abort();
    }
    if (buffer[0] != '\0')
        std::abort();
    std::fclose(file);
    return 0;
}
