// Bytes as UTF-8: valid UTF-8 stays as it is, anything else becomes Windows-1252 characters.

#include "Utf8Text.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

TEST(Utf8Text, ValidUtf8StaysAndUserTextGoesIntoTheDocumentsEncoding) {
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

    // A file's encoding, and what the user's text becomes in it: UTF-8 goes into a Windows-1252
    // document as its bytes (the five undefined ones as the C1 controls the window shows), other
    // bytes stay as they are, and a character that Windows-1252 has not is named.
    EXPECT_EQ(EncodingOfBytes("caf\xc3\xa9"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOfBytes("\xef\xbb\xbfx"), TextEncoding::Utf8);
    for (const char* bytes : {"", "ascii only", "caf\xe9", "caf\xc3\xa9 \xe9"})
        EXPECT_EQ(EncodingOfBytes(bytes), TextEncoding::Windows1252) << bytes;

    const struct {
        const char* text;
        TextEncoding encoding;
        const char* bytes; // nullptr: refused
        char32_t refused;
    } cases[] = {
        {"W\xc3\xbcrger \xe2\x82\xac \xc2\x81 \xc5\xb8", TextEncoding::Windows1252,
         "W\xfcrger \x80 \x81 \x9f", 0},
        {"W\xfcrger", TextEncoding::Windows1252, "W\xfcrger", 0}, // not UTF-8: bytes
        {"W\xfcrger", TextEncoding::Utf8, "W\xfcrger", 0},
        {"\xc5\x81\xc3\xb3", TextEncoding::Utf8, "\xc5\x81\xc3\xb3", 0},
        {"\xc3\xb3\xc5\x81", TextEncoding::Windows1252, nullptr, U'\u0141'},
        {"a\xc2\x80", TextEncoding::Windows1252, nullptr, U'\u0080'},
        {"\xf0\x9f\x98\x80", TextEncoding::Windows1252, nullptr, U'\U0001F600'},
    };
    for (const auto& c : cases) {
        std::string bytes;
        char32_t refused = 0;
        EXPECT_EQ(EncodeUserText(c.text, c.encoding, bytes, refused), c.bytes != nullptr) << c.text;
        if (c.bytes) {
            EXPECT_EQ(bytes, c.bytes) << c.text;
        }
        EXPECT_EQ(refused, c.refused) << c.text;
    }
}
