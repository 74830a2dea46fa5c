#include "ValueText.h"

#include "FieldEntry.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <system_error>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// White space as the C library's isspace() sees it in the "C" locale.
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::size_t CountDigits(std::string_view s, std::size_t at) {
    std::size_t n = 0;
    while (at + n < s.size() && IsDigit(s[at + n]))
        ++n;
    return n;
}

// Length of the longest prefix of s, after an optional sign, that forms a number of the
// decimal grammar; 0 when there is none.
std::size_t DecimalPrefixLength(std::string_view s) {
    std::size_t at = 0;
    if (at < s.size() && (s[at] == '-' || s[at] == '+'))
        ++at;
    std::size_t intDigits = CountDigits(s, at);
    at += intDigits;
    std::size_t fracDigits = 0;
    if (at < s.size() && s[at] == '.') {
        fracDigits = CountDigits(s, at + 1);
        if (intDigits == 0 && fracDigits == 0)
            return 0;
        at += 1 + fracDigits;
    }
    if (intDigits == 0 && fracDigits == 0)
        return 0;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        std::size_t e = at + 1;
        if (e < s.size() && (s[e] == '-' || s[e] == '+'))
            ++e;
        if (std::size_t expDigits = CountDigits(s, e); expDigits > 0)
            at = e + expDigits;
    }
    return at;
}

// For a number that from_chars found out of range: true when its magnitude is huge rather than
// tiny. Only the decimal exponent matters at those extremes.
bool Overflows(std::string_view number) {
    std::size_t at = (number[0] == '-' || number[0] == '+') ? 1 : 0;
    long long position = 0; // decimal exponent of the first significant digit, plus one
    bool seenPoint = false, seenSignificant = false;
    for (; at < number.size() && number[at] != 'e' && number[at] != 'E'; ++at) {
        char c = number[at];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenSignificant) {
            if (c != '0') {
                seenSignificant = true;
                if (!seenPoint)
                    ++position;
            } else if (seenPoint) {
                --position;
            }
        } else if (!seenPoint) {
            ++position;
        }
    }
    long long exponent = 0;
    if (at < number.size()) {
        ++at;
        bool negative = number[at] == '-';
        if (number[at] == '-' || number[at] == '+')
            ++at;
        for (; at < number.size(); ++at) {
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (number[at] - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    return position + exponent > 0;
}

// Reads digits with an optional point and fraction, at most 15 digits in all and no exponent, as
// values in files mostly are: the digits as an integer and the power of ten to divide by are
// both exact doubles, so one division gives the correctly rounded double that from_chars would,
// several times faster. Returns false, leaving value alone, for any other text.
bool ReadShortDecimal(std::string_view text, double& value) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t digits = 0;
    int count = 0, decimals = 0;
    bool point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (IsDigit(c) && count < 15) {
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            ++count;
            decimals += point;
        } else {
            return false;
        }
    }
    value = static_cast<double>(digits) / kPowersOfTen[decimals];
    return true;
}

// Converts a number of the decimal grammar (as cut by DecimalPrefixLength) to a float.
float ToFloat(std::string_view number) {
    bool negative = number[0] == '-';
    // from_chars takes no '+'; the sign is applied below so that -0 stays -0.
    std::string_view unsigned_ = (number[0] == '-' || number[0] == '+') ? number.substr(1) : number;
    double value = 0.0;
    if (!ReadShortDecimal(unsigned_, value)) {
        auto [end, error] = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(),
                                            value, std::chars_format::general);
        if (error == std::errc::result_out_of_range)
            value = Overflows(number) ? std::numeric_limits<double>::max() : 0.0;
    }
    float result = value > FLT_MAX ? FLT_MAX : static_cast<float>(value);
    return negative ? -result : result;
}

std::int32_t ToInteger(std::string_view sign, std::string_view digits) {
    bool negative = sign == "-";
    std::int64_t value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > std::int64_t{INT32_MAX} + 1)
            break; // already beyond the range; no need to read on
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// Where the number of a tank file value text starts: at its first digit, or at a point or
// minus sign right before it (".5", "-5", "-.5"). npos when there is no digit.
std::size_t NumberStart(std::string_view text, bool allowPoint) {
    std::size_t digit = 0;
    while (digit < text.size() && !IsDigit(text[digit]))
        ++digit;
    if (digit == text.size())
        return std::string_view::npos;
    std::size_t start = digit;
    if (allowPoint && start > 0 && text[start - 1] == '.')
        --start;
    if (start > 0 && text[start - 1] == '-')
        --start;
    return start;
}

} // namespace

float ParseTypedFloat(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    std::size_t n = DecimalPrefixLength(text);
    return n == 0 ? 0.0f : ToFloat(text.substr(0, n));
}

std::int32_t ParseTypedInteger(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    std::string_view sign;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        sign = text.substr(0, 1);
        text.remove_prefix(1);
    }
    return ToInteger(sign, text.substr(0, CountDigits(text, 0)));
}

bool ReadFloatValue(std::string_view valueText, float& value, CTextSpan* span) {
    std::size_t start = NumberStart(valueText, true);
    if (start == std::string_view::npos)
        return false;
    std::string_view rest = valueText.substr(start);
    const std::size_t length = DecimalPrefixLength(rest);
    value = ToFloat(rest.substr(0, length));
    if (span)
        *span = {start, start + length};
    return true;
}

bool ReadIntegerValue(std::string_view valueText, std::int32_t& value, CTextSpan* span) {
    std::size_t start = NumberStart(valueText, false);
    if (start == std::string_view::npos)
        return false;
    std::string_view rest = valueText.substr(start);
    std::string_view sign = rest.front() == '-' ? rest.substr(0, 1) : std::string_view{};
    rest.remove_prefix(sign.size());
    const std::size_t digits = CountDigits(rest, 0);
    value = ToInteger(sign, rest.substr(0, digits));
    if (span)
        *span = {start, start + sign.size() + digits};
    return true;
}

bool IsNumberText(FieldType type, std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (type == FieldType::String)
        return true;
    if (first == std::string_view::npos)
        return false;
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (type == FieldType::Float)
        return DecimalPrefixLength(text) == text.size();
    std::size_t at = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const std::size_t digits = CountDigits(text, at);
    at += digits;
    if (digits > 0 && at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && text[at] == '0')
            ++at;
    }
    return digits > 0 && at == text.size();
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::string NotANumberReason(FieldType type, std::string_view text) {
    const std::string quoted = "'" + std::string(text) + "'";
    // A decimal fraction in an Integer field is plainly a number, only not one the field holds.
    if (const std::string_view number = TrimBlanks(text);
        type == FieldType::Integer && IsNumberText(FieldType::Float, number) &&
        number.find('.') != std::string_view::npos &&
        number.find_first_of("eE") == std::string_view::npos)
        return quoted + " is not a whole number";
    std::string reason = quoted + " is not a number";
    // A spreadsheet in a language that writes decimal commas exports numbers with them.
    if (auto comma = text.find(','); comma != std::string_view::npos) {
        std::string pointed(text);
        pointed[comma] = '.';
        if (IsNumberText(type, pointed))
            reason += " (use a point for decimals)";
    }
    return reason;
}

bool IsInRange(FieldType type, std::string_view text) {
    text = TrimBlanks(text);
    const bool negative = !text.empty() && text.front() == '-';
    const std::size_t sign = !text.empty() && (negative || text.front() == '+') ? 1 : 0;
    if (type == FieldType::Integer) {
        std::string_view digits = text.substr(sign, CountDigits(text, sign));
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
        const std::string_view limit = negative ? "2147483648" : "2147483647";
        return digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
    }
    if (type != FieldType::Float || DecimalPrefixLength(text) == 0)
        return true;
    const std::string_view number = text.substr(0, DecimalPrefixLength(text));
    double value = 0.0;
    const std::string_view digits = number.substr(sign);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        return !Overflows(number); // beyond any double, or so small that it reads as 0
    // What rounds to the largest float fits; only what would round to infinity does not.
    return !std::isinf(static_cast<float>(value));
}

std::string OutOfRangeReason(FieldType type, std::string_view text) {
    return "'" + std::string(text) + "' is out of range (" +
           (type == FieldType::Integer ? "an Integer holds -2147483648 to 2147483647)"
                                       : "a Float holds up to 3.4028235e38)");
}

bool IsExactNumber(FieldType type, std::string_view text) {
    return IsNumberText(type, text) && IsInRange(type, text);
}

std::string NumberRefusal(FieldType type, std::string_view text) {
    if (type == FieldType::String || text.empty())
        return {};
    if (!IsNumberText(type, text))
        return NotANumberReason(type, text);
    return IsInRange(type, text) ? std::string() : OutOfRangeReason(type, text);
}

std::string FormatFloat(float value) {
    // A float below 2^32 is a 24-bit integer times a power of two, so its millionths, rounded
    // half to even as printf rounds them, come exactly out of 64-bit integers, three times as
    // fast as the general conversion (a table of a thousand files formats tens of thousands).
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const int biased = static_cast<int>((bits >> 23) & 0xFF);
    std::uint64_t mantissa = bits & 0x7FFFFF;
    int exponent = -149; // value = mantissa * 2^exponent
    if (biased != 0) {
        mantissa |= 0x800000;
        exponent = biased - 150;
    }
    if (biased != 0xFF && exponent <= 8) {
        std::uint64_t millionths = 0;
        if (exponent >= 0) {
            millionths = (mantissa << exponent) * 1000000;
        } else if (const int shift = -exponent; shift <= 45) { // beyond, below half a millionth
            const std::uint64_t scaled = mantissa * 1000000;   // below 2^44
            millionths = scaled >> shift;
            const std::uint64_t rest = scaled - (millionths << shift);
            const std::uint64_t half = std::uint64_t{1} << (shift - 1);
            if (rest > half || (rest == half && (millionths & 1)))
                ++millionths;
        }
        char buffer[24];
        char* start = std::end(buffer);
        std::uint64_t fraction = millionths % 1000000, whole = millionths / 1000000;
        for (int i = 0; i < 6; ++i, fraction /= 10)
            *--start = static_cast<char>('0' + fraction % 10);
        *--start = '.';
        do {
            *--start = static_cast<char>('0' + whole % 10);
        } while (whole /= 10);
        if (bits >> 31)
            *--start = '-';
        return std::string(start, std::end(buffer));
    }
    // to_chars rather than "%f": printf follows the process's LC_NUMERIC, which the editor's
    // toolkit sets from the environment, and a file must never get a decimal comma.
    char buffer[64]; // FLT_MAX has 39 integer digits
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

std::string FormatInteger(std::int32_t value) {
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatValue(const CFieldEntry& entry) {
    switch (entry.Type()) {
    case FieldType::String:
        return entry.m_strValue;
    case FieldType::Float:
        return FormatFloat(entry.m_fValue);
    case FieldType::Integer:
        break;
    }
    return FormatInteger(entry.m_nValue);
}

std::string WrittenValue(const CFieldEntry& entry) {
    if (entry.Type() == FieldType::String)
        return '"' + entry.m_strValue + '"';
    return FormatValue(entry);
}

std::string KeptValue(const CFieldEntry& entry) {
    if (entry.Type() == FieldType::String || entry.m_strValue.empty())
        return WrittenValue(entry);
    return entry.m_strValue;
}

std::string FieldLine(std::string_view key, const CFieldEntry& entry) {
    std::string line(key);
    line += " = ";
    line += WrittenValue(entry);
    return line;
}

void ApplyTypedValue(CFieldEntry& entry, std::string_view text) {
    if (text.empty()) {
        entry.m_bPresent = false;
        return;
    }
    const CFieldEntry before = entry;
    switch (entry.Type()) {
    case FieldType::String:
        entry.m_strValue = text;
        break;
    case FieldType::Float:
        entry.m_fValue = ParseTypedFloat(text);
        break;
    case FieldType::Integer:
        entry.m_nValue = ParseTypedInteger(text);
        break;
    }
    entry.m_bPresent = true;
    if (entry.Type() != FieldType::String) {
        if (IsExactNumber(entry.Type(), text))
            entry.m_strValue = TrimBlanks(text);
        else if (!entry.SameValueAs(before)) // what reads as the value held changes nothing
            entry.m_strValue.clear();
    }
}

char FindUnstorableChar(std::string_view text) {
    auto at = text.find_first_of(kUnstorableChars);
    return at == std::string_view::npos ? '\0' : text[at];
}

std::string UnstorableCharReason(char c) {
    switch (c) {
    case '"':
        return "cannot hold '\"': it would end the value";
    case '[':
        return "cannot hold '[': the line would read as a group header";
    default:
        return "cannot hold a line break";
    }
}

namespace {

bool IsUnstorable(char32_t c) {
    return c < 0x80 && kUnstorableChars.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

bool StringCanTake(TextEncoding encoding, char32_t c) {
    return !IsUnstorable(c) && CanHold(encoding, c);
}

std::string WhyStringCannotTake(TextEncoding encoding, char32_t c) {
    return IsUnstorable(c) ? "A String value " + UnstorableCharReason(static_cast<char>(c))
                           : CannotHoldReason(encoding, c);
}
