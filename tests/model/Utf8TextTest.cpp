// Bytes as UTF-8: valid UTF-8 stays as it is, anything else becomes Windows-1252 characters.

#include "Utf8Text.h"

#include <gtest/gtest.h>

TEST(Utf8Text, ValidUtf8StaysAndAnythingElseIsReadAsWindows1252) {
    const std::pair<std::string, std::string> table[] = {
        {"", ""},
        {"plain", "plain"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80 \xf4\x8f\xbf\xbf", // up to U+10FFFF
         "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80 \xf4\x8f\xbf\xbf"},
        {"\xef\xbb\xbfx", "\xef\xbb\xbfx"}, // a byte order mark is text
        {"\x80\x81\x9f\xa0\xff", "\xe2\x82\xac\xc2\x81\xc5\xb8\xc2\xa0\xc3\xbf"},
        // Not UTF-8: overlong forms, surrogates, beyond U+10FFFF, cut short, a lone
        // continuation. One bad sequence makes the whole text Windows-1252.
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},
        {"\xe0\x9f\xbf", "\xc3\xa0\xc5\xb8\xc2\xbf"},
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},
        {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac"},
        {"\xf0\x8f\xbf\xbf", "\xc3\xb0\xc2\x8f\xc2\xbf\xc2\xbf"},
        {"\xc3\xa9\xe2\x82", "\xc3\x83\xc2\xa9\xc3\xa2\xe2\x80\x9a"},
        {"a\xbf", "a\xc2\xbf"},
    };
    for (const auto& [bytes, utf8] : table) {
        EXPECT_EQ(Utf8OfBytes(bytes), utf8) << bytes;
        EXPECT_EQ(IsValidUtf8(bytes), bytes == utf8) << bytes;
    }
}
