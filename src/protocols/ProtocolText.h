#pragma once

#include <cstdio>
#include <string>

// Small pieces both protocols are made of.

inline void Put(std::FILE* file, const std::string& text) {
    std::fputs(text.c_str(), file);
}

// A line of count copies of c followed by "\n".
std::string RuleLine(char c, int count);

// Letters of the support codes (0 'N', 1 'J') and of the hinge types
// (0 'N', 1 'Q', 2 'M'). A code outside the table, possible only from a
// hand-edited file, prints '?' instead of reading past the table.
char SupportLetter(int code);
char HingeTypeLetter(int type);

// The file-name part of a path ("" for "").
std::string FileNamePart(const std::string& path);
