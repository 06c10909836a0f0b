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

// Consumes a line end that directly follows a line cut at the buffer limit,
// so that a line of exactly the limit does not produce an empty line. With
// pendingReturn the cut line ends in a CR, and a LF right behind it completes
// its line end. Returns true when a line end was consumed.
bool SkipLineEnd(std::FILE* file, bool pendingReturn) {
    int c = std::fgetc(file);
    if (c == '\n')
        return true;
    if (c == '\r' && !pendingReturn) {
        // A CR LF ends the cut line; a lone CR is no text and is dropped.
        int next = std::fgetc(file);
        if (next != '\n' && next != EOF)
            std::ungetc(next, file);
        return false;
    }
    if (c != EOF)
        std::ungetc(c, file);
    return false;
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
        if (c == '\n') {
            lineEnded = true;
            break;
        }
        if (c != '\0')
            buffer[length++] = static_cast<char>(c);
    }
    if (!lineEnded && length == limit)
        lineEnded = SkipLineEnd(file, buffer[length - 1] == '\r');
    if (length > 0 && buffer[length - 1] == '\r' && lineEnded)
        --length;
    buffer[length] = '\0';
    if (!readAny)
        return false;
    ExpandTabs(buffer, size);
    return true;
}
