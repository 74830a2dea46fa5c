// Value text: how numbers are read from files and from typed text, and how values are written.

#include "ValueText.h"

#include "FieldEntry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

const float kNone = -12345.0f; // stands for "returned false and left the value alone"
const std::int32_t kNoInt = -12345;

// Each value with every text that must give it.
template <class T> using Table = std::vector<std::pair<T, std::vector<std::string>>>;

// Checks that read gives each value of table from every one of its texts: typed text always
// gives one; a file's value text (read(text, value)) tells whether it read one, none standing
// for "returned false and left the value alone".
template <class T, class Read> void ExpectReads(const Table<T>& table, T none, Read read) {
    for (const auto& [want, texts] : table) {
        for (const std::string& text : texts) {
            T value = none;
            if constexpr (std::is_invocable_v<Read, const std::string&>)
                value = read(text);
            else
                EXPECT_EQ(read(text, value), want != none) << '"' << text << '"';
            EXPECT_EQ(value, want) << '"' << text << '"';
        }
    }
}

// Typed text: leading blanks, then as much of a number as there is; anything else reads as 0.
TEST(ValueText, TypedTextIsReadAsFarAsItIsANumberAndAFilesFromItsFirstDigit) {
    const Table<float> floats = {
        {1.5f, {"1.5"}},
        {-150.0f, {"  \t\n-1.5e2xyz"}},
        {0.5f, {"+.5", ".5"}},
        {-0.5f, {"-.5"}},
        {5.0f, {"5."}},
        {1.0f, {"1e", "1e+", "1,5"}},
        {0.25f, {"2.5E-1"}},
        {0.1f, {"0.1"}},
        {16777216.0f, {"16777217"}},
        {1e8f, {"0." + std::string(51, '0') + "1e60"}},
        {FLT_MAX,
         {"1e39", "1e400", "1e99999999999999999999", "1" + std::string(400, '0'),
          "1" + std::string(400, '0') + "e-10", "340282346638528859811704183484516925440.000000"}},
        {-FLT_MAX, {"-1e39", "-1e99999999999999999999"}},
        {0.0f,
         {"1e-50", "1e-400", "1e-99999999999999999999", "0." + std::string(400, '0') + "1",
          "0." + std::string(9399, '0') + "1e9000", "0e999999", "inf", "-infinity", "nan", "NAN(1)",
          "0x1p4", "0x10", "abc", "", ".", "-", "- 5", "x5"}},
    };
    ExpectReads(floats, kNone, ParseTypedFloat);
    EXPECT_TRUE(std::signbit(ParseTypedFloat("-0")));
    EXPECT_TRUE(std::signbit(ParseTypedFloat("-1e-50")));
    const Table<std::int32_t> integers = {
        {42, {"42", "  \t42abc"}},
        {-17, {"-17"}},
        {8, {"+8"}},
        {3, {"3.9"}},
        {1, {"1e5"}},
        {12, {"000000000000000000000000012"}},
        {INT32_MAX, {"2147483647", "2147483648", "99999999999999999999999999"}},
        {INT32_MIN, {"-2147483648", "-2147483649", "-99999999999"}},
        {0, {"0x10", "abc", "", "-", "- 5", ".5"}},
    };
    ExpectReads(integers, kNoInt, ParseTypedInteger);

    // A file's value text: the number starts at the first digit, or at a point or minus right
    // before it.
    const Table<float> fileFloats = {
        {-2.5f, {" -2.5"}},
        {3.0f, {" \"3\""}},
        {0.5f, {" .5", "x.5", "..5"}},
        {-0.5f, {" -.5"}},
        {1000.0f, {" 1e3"}},
        {0.015f, {" 1.5E-2"}},
        {2.5f, {" 2.5e"}},
        {5.0f, {" 5.", " +5", " - 5", " inf5"}},
        {-5.0f, {" --5"}},
        {12.0f, {" 12abc"}},
        {-7.25f, {" value -7.25 m/s"}},
        {FLT_MAX, {" 1e39", " 1e99999999999999999999"}},
        {-FLT_MAX, {" -1e39"}},
        {0.0f, {" 1e-50", " 0x10"}},
        {kNone, {" abc", " inf", " -inf", " nan", " .", ""}},
    };
    ExpectReads(fileFloats, kNone,
                [](const std::string& text, float& value) { return ReadFloatValue(text, value); });
    const Table<std::int32_t> fileIntegers = {
        {1500, {" 1500"}},
        {3, {" 3.7"}},
        {-20, {" -20"}},
        {1, {" 1x"}},
        {42, {" \"42\""}},
        {-5, {"x-5", " --5"}},
        {5, {" - 5", " +5", " -.5"}},
        {0, {" 0x1F"}},
        {INT32_MAX, {" 2147483648"}},
        {INT32_MIN, {" -2147483648", " -99999999999"}},
        {kNoInt, {" abc", "", " -"}},
    };
    ExpectReads(fileIntegers, kNoInt, [](const std::string& text, std::int32_t& value) {
        return ReadIntegerValue(text, value);
    });
}

// What the command line takes as a number: the decimal grammar for a Float, whole numbers for an
// Integer, blanks around; the reason names the text and suggests a point for a comma.
TEST(ValueText, OnlyNumbersAreNumberTextAndExactOnesAreKeptAsGiven) {
    const struct {
        FieldType type;
        std::vector<std::string> numbers, refused;
    } table[] = {
        {FieldType::Float,
         {"22.5", " -2.5\t", "+.5", "5.", "1e3", "1.5E+03", "1e400"},
         {"22,5", "abc", "2 500", "1e", "-", ".", "", " ", "inf", "0x10", "12abc", "- 5"}},
        {FieldType::Integer,
         {"2500", " -17 ", "+8", "2500.0", "2500.", "99999999999"},
         {"2500,0", "12.5", "1e3", ".0", "2 500", "abc", "", "0x1F", "3.07"}},
    };
    for (const auto& [type, numbers, refused] : table) {
        for (const std::string& text : numbers)
            EXPECT_TRUE(IsNumberText(type, text)) << text;
        for (const std::string& text : refused)
            EXPECT_FALSE(IsNumberText(type, text)) << text;
    }
    // A point in place of the comma would make a number of the type, or not: a spreadsheet that
    // writes decimal commas.
    for (const auto& [type, text, hint] : {std::tuple{FieldType::Integer, "2500,0", true},
                                           {FieldType::Integer, "22,5", false},
                                           {FieldType::Float, "22,5", true},
                                           {FieldType::Float, "1,2,3", false}})
        EXPECT_EQ(NotANumberReason(type, text), "'" + std::string(text) + "' is not a number" +
                                                    (hint ? " (use a point for decimals)" : ""));

    // What the command line refuses and why: not a number, not a whole number, out of range. A
    // number it takes is written as given, blanks trimmed; lenient text forgets the text unless it
    // reads as the value held.
    const std::string none;
    const auto range = [](FieldType type, std::string text) {
        return "'" + text + "' is out of range (" +
               (type == FieldType::Integer ? "an Integer holds -2147483648 to 2147483647)"
                                           : "a Float holds up to 3.4028235e38)");
    };
    using enum FieldType;
    const struct {
        FieldType type;
        const char* text;
        std::string refusal;
        const char* kept; // the text the field keeps to be written
    } cases[] = {
        {Integer, " 00111 ", none, "00111"},
        {Integer, "+2500", none, "+2500"},
        {Integer, "2147483647", none, "2147483647"},
        {Integer, "-2147483648", none, "-2147483648"},
        {Integer, "0002147483647.00", none, "0002147483647.00"},
        {Integer, "2147483648", range(Integer, "2147483648"), ""},
        {Integer, "-2147483649", range(Integer, "-2147483649"), ""},
        {Integer, "99999999999999999999", range(Integer, "99999999999999999999"), ""},
        {Integer, "3300.5", "'3300.5' is not a whole number", ""},
        {Integer, "25o0", "'25o0' is not a number", ""},
        {Integer, "1e3", "'1e3' is not a number", ""}, // a whole number, but not in its own type
        {Integer, "2 500", "'2 500' is not a number", ""},
        {Integer, "", none, ""},
        {Float, "1e-7", none, "1e-7"},
        {Float, "0.0000004", none, "0.0000004"},
        {Float, "3.4028235e38", none, "3.4028235e38"},
        {Float, "-3.4028235e38", none, "-3.4028235e38"},
        {Float, "1e-400", none, "1e-400"}, // so small it reads as 0: taken
        {Float, "3.4028236e38", range(Float, "3.4028236e38"), ""},
        {Float, "-1e39", range(Float, "-1e39"), ""},
        {Float, "1e99999999999999999999", range(Float, "1e99999999999999999999"), ""},
        {Float, "1000000000000000000000000000000000000000", // 1e39
         range(Float, "1000000000000000000000000000000000000000"), ""},
        {Float, "2.5x", "'2.5x' is not a number", ""},
        {String, "2.5x", none, "2.5x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NumberRefusal(c.type, c.text), c.refusal);
        EXPECT_EQ(IsExactNumber(c.type, c.text), c.refusal.empty() && *c.text);
        int index = 6; // GameObject.maxHealth, an Integer
        if (c.type != Integer)
            index = c.type == Float ? 5 : 0; // buildTime, baseName
        CFieldEntry field(index);
        field.m_bPresent = true;
        field.m_strValue = "old";
        ApplyTypedValue(field, c.text);
        if (*c.text) {
            EXPECT_EQ(field.m_strValue, c.kept);
            EXPECT_EQ(KeptValue(field), c.type == String ? "\"2.5x\""
                                        : *c.kept        ? c.kept
                                                         : FormatValue(field));
        }
    }
    // Lenient text that reads as the value the field holds keeps the text it was given.
    CFieldEntry health(6);
    ApplyTypedValue(health, "0025");
    ApplyTypedValue(health, "25x");
    EXPECT_EQ(health.m_strValue, "0025");
    ApplyTypedValue(health, "26x");
    EXPECT_EQ(KeptValue(health), "26");
}

// The text is what "%f" gives in the C locale, and whatever is written reads back as the same
// value, so loading and saving again never drifts: values at the edges, then random ones.
TEST(ValueText, WrittenNumbersAreThoseOfPrintfAndReadBackTheSameByEitherPath) {
    std::vector<float> values = {0.1f,       16777217.0f, -0.25f,     1.0f / 3.0f,  1234.5678f,
                                 0.0000001f, -0.0000001f, 0.0f,       -0.0f,        FLT_MAX,
                                 -FLT_MAX,   0.0078125f,  0.0234375f, 4294967040.0f};
    std::mt19937 random(11);
    while (values.size() < 200000) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (std::isfinite(value))
            values.push_back(value);
    }
    for (const float value : values) {
        const std::string text = FormatFloat(value);
        char printed[64];
        std::snprintf(printed, sizeof printed, "%f", static_cast<double>(value));
        ASSERT_EQ(text, printed);
        float back = 0.0f;
        ASSERT_TRUE(ReadFloatValue(" " + text, back)) << text;
        ASSERT_EQ(FormatFloat(back), text) << "bits " << std::bit_cast<std::uint32_t>(value);
        ASSERT_EQ(ParseTypedFloat(text), back) << text;
        if (std::fabs(value) >= 16.0f) {
            ASSERT_EQ(back, value) << text; // six decimals hold every bit from here up
        }
    }
    for (const std::int32_t value : {0, -20, INT32_MAX, INT32_MIN})
        EXPECT_EQ(FormatInteger(value), std::to_string(value));

    // Values of up to 15 digits take a faster path than longer ones; both must read alike.
    std::mt19937_64 random64(5);
    for (int i = 0; i < 300000; ++i) {
        std::string text = std::to_string(random64() % 10'000'000'000'000'000);
        text.insert(random64() % (text.size() + 1), ".");
        if (text == ".")
            continue;
        const std::string zeroFirst = "0" + text; // from_chars wants a digit before the point
        double general = 0.0;
        std::from_chars(zeroFirst.data(), zeroFirst.data() + zeroFirst.size(), general);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(ParseTypedFloat(text)),
                  std::bit_cast<std::uint32_t>(static_cast<float>(general)))
            << text;
    }
}

// make test's setup installs the locale: it writes numbers with a decimal comma.
TEST(ValueText, FormattingIgnoresTheLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed";
    const std::string formatted = FormatFloat(-2.5f);
    const float parsed = ParseTypedFloat("1.25"), comma = ParseTypedFloat("1,25");
    float read = 0.0f;
    ReadFloatValue(" 3.75", read);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(formatted, "-2.500000");
    EXPECT_EQ(parsed, 1.25f);
    EXPECT_EQ(comma, 1.0f);
    EXPECT_EQ(read, 3.75f);
}

} // namespace
