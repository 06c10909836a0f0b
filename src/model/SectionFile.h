#pragma once

#include <cstdio>

// Record numbers above this are taken as damage, not as a table that large.
constexpr long kMaxRecordNumber = 1000000;

// Positions the reader behind the first line that starts with keyword,
// searching from the current position to the end and once more from the
// beginning; a UTF-8 byte order mark before the keyword is passed over.
// buffer must hold kLineBufferSize characters.
bool FindSection(std::FILE* file, const char* keyword, char* buffer);

// Writes one line end of a system or load-case file (CR LF on every platform).
void WriteLineEnd(std::FILE* file);
