// Value text: how numbers are read from files and from typed text, and how values are written.

#include "ValueText.h"
#include "FieldEntry.h"
#include "FieldGroup.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

const float kNone = -12345.0f; // stands for "returned false and left the value alone"

std::string Describe(std::string_view text) {
    return "text \"" + std::string(text) + "\"";
}

TEST(ValueText, ParseTypedFloat) {
    const std::string hugeDigits = "1" + std::string(400, '0');
    const std::string tinyDigits = "0." + std::string(400, '0') + "1";
    const struct {
        std::string text;
        float want;
    } cases[] = {
        {"1.5", 1.5f},
        {"  \t\n-1.5e2xyz", -150.0f},
        {"+.5", 0.5f},
        {".5", 0.5f},
        {"-.5", -0.5f},
        {"5.", 5.0f},
        {"1e", 1.0f},
        {"1e+", 1.0f},
        {"2.5E-1", 0.25f},
        {"0.1", 0.1f},
        {"16777217", 16777216.0f},
        {"1e39", FLT_MAX},
        {"-1e39", -FLT_MAX},
        {"1e400", FLT_MAX},
        {"1e99999999999999999999", FLT_MAX},
        {"-1e99999999999999999999", -FLT_MAX},
        {hugeDigits, FLT_MAX},
        {"1e-50", 0.0f},
        {"1e-400", 0.0f},
        {"1e-99999999999999999999", 0.0f},
        {tinyDigits, 0.0f},
        {"0e999999", 0.0f},
        {"0." + std::string(51, '0') + "1e60", 1e8f},
        {"340282346638528859811704183484516925440.000000", FLT_MAX},
        {"inf", 0.0f},
        {"-infinity", 0.0f},
        {"nan", 0.0f},
        {"NAN(1)", 0.0f},
        {"0x1p4", 0.0f},
        {"0x10", 0.0f},
        {"abc", 0.0f},
        {"", 0.0f},
        {".", 0.0f},
        {"-", 0.0f},
        {"- 5", 0.0f},
        {"x5", 0.0f},
        {"1,5", 1.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseTypedFloat(c.text), c.want) << Describe(c.text);
    EXPECT_TRUE(std::signbit(ParseTypedFloat("-0")));
    EXPECT_TRUE(std::signbit(ParseTypedFloat("-1e-50")));
}

TEST(ValueText, ParseTypedInteger) {
    const struct {
        const char* text;
        std::int32_t want;
    } cases[] = {
        {"42", 42},
        {"  \t42abc", 42},
        {"-17", -17},
        {"+8", 8},
        {"3.9", 3},
        {"1e5", 1},
        {"0x10", 0},
        {"000000000000000000000000012", 12},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999", INT32_MIN},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {".5", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseTypedInteger(c.text), c.want) << Describe(c.text);
}

TEST(ValueText, ReadFloatValueStartsAtTheFirstDigit) {
    const struct {
        const char* text;
        float want;
    } cases[] = {
        {" -2.5", -2.5f},
        {" \"3\"", 3.0f},
        {" .5", 0.5f},
        {" -.5", -0.5f},
        {"x.5", 0.5f},
        {"..5", 0.5f},
        {" 1e3", 1000.0f},
        {" 1.5E-2", 0.015f},
        {" 2.5e", 2.5f},
        {" 5.", 5.0f},
        {" +5", 5.0f},
        {" --5", -5.0f},
        {" - 5", 5.0f},
        {" 12abc", 12.0f},
        {" value -7.25 m/s", -7.25f},
        {" 1e39", FLT_MAX},
        {" -1e39", -FLT_MAX},
        {" 1e-50", 0.0f},
        {" 1e99999999999999999999", FLT_MAX},
        {" 0x10", 0.0f},
        {" inf5", 5.0f},
        {" abc", kNone},
        {" inf", kNone},
        {" -inf", kNone},
        {" nan", kNone},
        {" .", kNone},
        {"", kNone},
    };
    for (const auto& c : cases) {
        float value = kNone;
        bool read = ReadFloatValue(c.text, value);
        EXPECT_EQ(read, c.want != kNone) << Describe(c.text);
        EXPECT_EQ(value, c.want) << Describe(c.text);
    }
}

TEST(ValueText, ReadIntegerValueStartsAtTheFirstDigit) {
    const std::int32_t none = -12345;
    const struct {
        const char* text;
        std::int32_t want;
    } cases[] = {
        {" 1500", 1500},
        {" 3.7", 3},
        {" -20", -20},
        {" 1x", 1},
        {" \"42\"", 42},
        {"x-5", -5},
        {" --5", -5},
        {" - 5", 5},
        {" +5", 5},
        {" -.5", 5},
        {" 0x1F", 0},
        {" 2147483648", INT32_MAX},
        {" -2147483648", INT32_MIN},
        {" -99999999999", INT32_MIN},
        {" abc", none},
        {"", none},
        {" -", none},
    };
    for (const auto& c : cases) {
        std::int32_t value = none;
        bool read = ReadIntegerValue(c.text, value);
        EXPECT_EQ(read, c.want != none) << Describe(c.text);
        EXPECT_EQ(value, c.want) << Describe(c.text);
    }
}

TEST(ValueText, FormatFloatAndInteger) {
    EXPECT_EQ(FormatFloat(0.1f), "0.100000");
    EXPECT_EQ(FormatFloat(16777217.0f), "16777216.000000");
    EXPECT_EQ(FormatFloat(-0.25f), "-0.250000");
    EXPECT_EQ(FormatFloat(1.0f / 3.0f), "0.333333");
    EXPECT_EQ(FormatFloat(1234.5678f), "1234.567749");
    EXPECT_EQ(FormatFloat(0.0000001f), "0.000000");
    EXPECT_EQ(FormatFloat(-0.0000001f), "-0.000000");
    EXPECT_EQ(FormatFloat(0.0f), "0.000000");
    EXPECT_EQ(FormatFloat(FLT_MAX), "340282346638528859811704183484516925440.000000");
    EXPECT_EQ(FormatFloat(-FLT_MAX), "-340282346638528859811704183484516925440.000000");
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-20), "-20");
    EXPECT_EQ(FormatInteger(INT32_MAX), "2147483647");
    EXPECT_EQ(FormatInteger(INT32_MIN), "-2147483648");

    // The text is what "%f" gives in the C locale.
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value))
            continue;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
        ASSERT_EQ(FormatFloat(value), expected);
    }
}

// Whatever is written reads back as the same value, so loading and saving again never drifts.
TEST(ValueText, WrittenFloatsReadBackTheSame) {
    std::mt19937 random(11);
    for (int i = 0; i < 200000; ++i) {
        float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value))
            continue;
        const std::string text = FormatFloat(value);
        float back = 0.0f;
        ASSERT_TRUE(ReadFloatValue(" " + text, back)) << text;
        ASSERT_EQ(FormatFloat(back), text) << "bits " << std::bit_cast<std::uint32_t>(value);
        ASSERT_EQ(ParseTypedFloat(text), back) << text;
        if (std::fabs(value) >= 16.0f) {
            ASSERT_EQ(back, value) << text; // six decimals hold every bit from here up
        }
    }
}

TEST(ValueText, FormattingIgnoresTheLocale) {
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8",  "de_DE",      "fr_FR.UTF-8",
                                  "fr_FR.utf8",  "nl_NL.UTF-8", "ru_RU.UTF-8"};
    const char* found = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string printed = probe;
    const std::string formatted = FormatFloat(-2.5f);
    const float parsed = ParseTypedFloat("1.25");
    const float comma = ParseTypedFloat("1,25");
    float read = 0.0f;
    ReadFloatValue(" 3.75", read);
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(printed, "1,5") << found << " does not use a decimal comma";
    EXPECT_EQ(formatted, "-2.500000");
    EXPECT_EQ(parsed, 1.25f);
    EXPECT_EQ(comma, 1.0f);
    EXPECT_EQ(read, 3.75f);
}

TEST(ValueText, ApplyTypedValueAndFormatValue) {
    CFieldGroup group("G", "");
    CFieldEntry text("s", &group, FieldType::String, "");
    CFieldEntry real("f", &group, FieldType::Float, "");
    CFieldEntry whole("i", &group, FieldType::Integer, "");

    ApplyTypedValue(text, " keep \"all\" of it ");
    EXPECT_EQ(text.m_bPresent, 1);
    EXPECT_EQ(text.m_strValue, " keep \"all\" of it ");
    EXPECT_EQ(FormatValue(text), " keep \"all\" of it ");
    ApplyTypedValue(text, "");
    EXPECT_EQ(text.m_bPresent, 0);
    EXPECT_EQ(text.m_strValue, " keep \"all\" of it "); // the slot is kept

    ApplyTypedValue(real, "1e39");
    EXPECT_EQ(real.m_bPresent, 1);
    EXPECT_EQ(real.m_fValue, FLT_MAX);
    ApplyTypedValue(real, "abc");
    EXPECT_EQ(real.m_bPresent, 1);
    EXPECT_EQ(real.m_fValue, 0.0f);
    ApplyTypedValue(real, "0.1");
    EXPECT_EQ(FormatValue(real), "0.100000");

    ApplyTypedValue(whole, "-99999999999");
    EXPECT_EQ(whole.m_nValue, INT32_MIN);
    EXPECT_EQ(FormatValue(whole), "-2147483648");
    ApplyTypedValue(whole, "");
    EXPECT_EQ(whole.m_bPresent, 0);
    EXPECT_EQ(whole.m_nValue, INT32_MIN);

    CFieldEntry odd("o", &group, static_cast<FieldType>(5), "");
    ApplyTypedValue(odd, "1");
    EXPECT_EQ(odd.m_bPresent, 0);
    EXPECT_EQ(FormatValue(odd), "");

    EXPECT_EQ(FindUnstorableChar("plain text ] = 'ok'"), '\0');
    EXPECT_EQ(FindUnstorableChar("a\"b"), '"');
    EXPECT_EQ(FindUnstorableChar("a[b\"c"), '[');
    EXPECT_EQ(FindUnstorableChar("x\ry"), '\r');
    EXPECT_EQ(FindUnstorableChar("x\n"), '\n');
    EXPECT_EQ(FindUnstorableChar(""), '\0');
}

} // namespace
