#include "model/LineReader.h"

#include <cstring>

namespace {

// Replaces tabs by blanks up to the next multiple of 8 columns.
void ExpandTabs(char* buffer, int size) {
    const int limit = size - 1;
    int length = static_cast<int>(std::strlen(buffer));
    for (int i = 0; i < length; ++i) {
        if (buffer[i] != '\t' || i == length - 1)
            continue;
        const int width = 8 - i % 8;
        if (length - 1 + width >= limit)
            continue;
        std::memmove(buffer + i + width, buffer + i + 1, static_cast<size_t>(length - i));
        std::memset(buffer + i, ' ', static_cast<size_t>(width));
        length += width - 1;
        i += width - 1;
    }
}

// After a CR: a LF right behind it belongs to the same line end.
void SkipLineFeedAfterReturn(std::FILE* file) {
    const int next = std::fgetc(file);
    if (next != '\n' && next != EOF)
        std::ungetc(next, file);
}

// Consumes a line end (LF, CR LF or a lone CR) that directly follows a line
// cut at the buffer limit, so that a line of exactly the limit does not
// produce an empty line.
void SkipLineEnd(std::FILE* file) {
    const int c = std::fgetc(file);
    if (c == '\r')
        SkipLineFeedAfterReturn(file);
    else if (c != '\n' && c != EOF)
        std::ungetc(c, file);
}

} // namespace

bool ReadLine(std::FILE* file, char* buffer, int size) {
    const int limit = size - 1;
    int length = 0;
    bool readAny = false;
    bool lineEnded = false;
    int c;
    while (length < limit && (c = std::fgetc(file)) != EOF) {
        readAny = true;
        if (c == '\n' || c == '\r') {
            if (c == '\r')
                SkipLineFeedAfterReturn(file);
            lineEnded = true;
            break;
        }
        if (c != '\0')
            buffer[length++] = static_cast<char>(c);
    }
    if (!lineEnded && length == limit)
        SkipLineEnd(file);
    buffer[length] = '\0';
    if (!readAny)
        return false;
    ExpandTabs(buffer, size);
    return true;
}
