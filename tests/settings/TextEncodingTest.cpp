#include "settings/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8Check, AcceptsWellFormedText) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("Knoten"));
    EXPECT_TRUE(IsValidUtf8("Größe Stäbe Auflagerkräfte"));
    EXPECT_TRUE(IsValidUtf8("\xE2\x82\xAC"));         // €
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));     // U+1F600
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));     // U+10FFFF
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3))); // NUL is a character
}

TEST(Utf8Check, RejectsMalformedText) {
    EXPECT_FALSE(IsValidUtf8("Gr\xF6\xDF"
                             "e"));                // Windows-1252
    EXPECT_FALSE(IsValidUtf8("\xC3"));             // cut sequence
    EXPECT_FALSE(IsValidUtf8("\xC3\x28"));         // bad continuation
    EXPECT_FALSE(IsValidUtf8("\x80"));             // lone continuation
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xFF"));
}

TEST(Windows1252, ConvertsLatinLettersAndTheSpecialRange) {
    EXPECT_EQ(Windows1252ToUtf8("Gr\xF6\xDF"
                                "e"),
              "Größe");
    EXPECT_EQ(Windows1252ToUtf8("\xC4\xD6\xDC\xE4\xF6\xFC"), "ÄÖÜäöü");
    EXPECT_EQ(Windows1252ToUtf8("\x80 \x84\x93\x94 \x96 \x99"), "€ „“” – ™");
    EXPECT_EQ(Windows1252ToUtf8("\x8A\x9F"), "ŠŸ");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(Windows1252ToUtf8("plain"), "plain");
    EXPECT_TRUE(IsValidUtf8(Windows1252ToUtf8(std::string("\x80\x81\x8D\x8F\x90\x9D\xFF"))));
}

} // namespace
