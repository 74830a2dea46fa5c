#include "ByteText.h"

#include <gtest/gtest.h>

TEST(ByteTextTest, BytesShowAsUtf8WhenValidAndOneCharacterAByteOtherwise) {
    // Windows-1252: the euro sign, quotes and the five undefined bytes as C1 controls.
    EXPECT_EQ(TextOfBytes("\x80\x93\x94\x81\x9f caf\xe9"),
              QStringLiteral("\u20ac\u201c\u201d\u0081\u0178 caf\u00e9"));
    // One bad sequence makes the whole text Windows-1252, so nothing turns into marks.
    EXPECT_EQ(TextOfBytes("\xc3\xa9\xff"), QStringLiteral("\u00c3\u00a9\u00ff"));
    EXPECT_EQ(TextOfBytes("\xef\xbb\xbfx"), QStringLiteral("\ufeffx"));
    // Texts without one ASCII byte.
    EXPECT_EQ(TextOfBytes("\xc3\xa4\xc3\xb6"), QStringLiteral("\u00e4\u00f6"));
    EXPECT_EQ(TextOfBytes("\x80"), QStringLiteral("\u20ac"));
}
