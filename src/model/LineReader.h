#pragma once

#include <cstdio>

// Size of the buffer ReadLine fills: at most kLineBufferSize - 1 characters
// and the terminating zero.
constexpr int kLineBufferSize = 1000;

// Reads one line of a text file (system, load-case and settings files).
// Bytes are taken as they are (UTF-8 passes through), NUL bytes are dropped.
// A line ends with LF, CR LF or a lone CR, so files from Unix, Windows and old
// Mac editors read alike; no line holds a CR. A line longer than size - 1
// characters is cut there; its remainder comes back as the next line. Tabs are
// expanded to the next multiple of 8 columns while the line stays shorter than
// size - 1 characters; a tab in the last position stays.
// Returns false at the end of the file when nothing was read (buffer empty).
bool ReadLine(std::FILE* file, char* buffer, int size = kLineBufferSize);
