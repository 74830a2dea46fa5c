#pragma once

#include "FieldType.h"
#include "TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CFieldEntry;

// Value text shared by the reader, the writer, the editor and the command-line tool, so that
// none of them can disagree about what a value reads or looks like.
//
// Numbers follow one decimal grammar: digits with an optional point and fraction, or a point
// and at least one digit, then an optional exponent (e or E, optional sign, digits). No inf,
// nan or hex forms. A Float beyond the float range becomes the largest finite float of its
// sign; an Integer beyond 32 bits becomes INT32_MIN or INT32_MAX.

// Typed text, read leniently: leading white space, an optional sign, then as much of a number
// as the text holds; the rest is ignored and text without a number gives 0.
float ParseTypedFloat(std::string_view text);
std::int32_t ParseTypedInteger(std::string_view text);

// Where a value stands in a text: from its first byte to just past its last.
struct CTextSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// A value text from a tank file line (everything after the first '='). The number starts at the
// first decimal digit, or at a point or minus sign right before it. Returns false, leaving
// value alone, when the text holds no digit; otherwise span, when given, learns where the
// number read stands.
bool ReadFloatValue(std::string_view valueText, float& value, CTextSpan* span = nullptr);
bool ReadIntegerValue(std::string_view valueText, std::int32_t& value, CTextSpan* span = nullptr);

// text without the blanks and tabs at both of its ends.
std::string_view TrimBlanks(std::string_view text);

// True when text is wholly a number of type, as the command line takes them: blanks or tabs, an
// optional sign, the number, blanks or tabs. A Float's number is of the decimal grammar; an
// Integer's is digits, with an optional point and only zeros after it ("2500.0"). Such text
// reads leniently (ParseTyped*) as the same value. Any text is a String.
bool IsNumberText(FieldType type, std::string_view text);

// Why text is not a number of type: "'TEXT' is not a number", and " (use a point for
// decimals)" when a point in place of its comma would make it one; for an Integer written with a
// fraction that is not all zeros, "'TEXT' is not a whole number".
std::string NotANumberReason(FieldType type, std::string_view text);

// Whether a number text (IsNumberText) fits its type: an Integer from -2147483648 to 2147483647,
// a Float whose magnitude does not round beyond the largest single-precision value. A Float so
// small that it reads as 0 fits.
bool IsInRange(FieldType type, std::string_view text);

// Why a number text does not fit: "'TEXT' is out of range (an Integer holds -2147483648 to
// 2147483647)" or "... (a Float holds up to 3.4028235e38)".
std::string OutOfRangeReason(FieldType type, std::string_view text);

// True when text is a number of type as the command line takes it (IsNumberText) and in range:
// a value the user gives this way is written into a file exactly as given. Any text is a String.
bool IsExactNumber(FieldType type, std::string_view text);

// Why the command line refuses text for a field of type (NotANumberReason, OutOfRangeReason);
// empty when it takes it. An empty text (which removes a field) and any String are taken.
std::string NumberRefusal(FieldType type, std::string_view text);

// "%f" (six decimals, no exponent) and "%d", independent of the process's locale.
std::string FormatFloat(float value);
std::string FormatInteger(std::int32_t value);

// The field's value as the writer writes it and the value box shows it: a String as stored
// (without quotes), a Float with six decimals, an Integer in decimal. The value slot is
// formatted whether or not the field is present.
std::string FormatValue(const CFieldEntry& entry);

// The value as the editor's layout writes it: a String in double quotes, a number as
// FormatValue.
std::string WrittenValue(const CFieldEntry& entry);

// The value as a kept file gets it where it changed: a String in double quotes, a number as its
// file wrote it or as the user gave it (the field's text), or as FormatValue when it has none.
std::string KeptValue(const CFieldEntry& entry);

// The line the editor writes for a field under key, without its line end: key, " = ", then the
// written value. The writer, the keeping save, the tree and `dump` all show fields this way.
std::string FieldLine(std::string_view key, const CFieldEntry& entry);

// Applies text as the value box does: empty text makes the field absent (its slot is kept),
// any other text makes it present with the text read by type (a String takes it unchanged). A
// number keeps the text, blanks around it trimmed, to be written as given when it is an exact
// number (IsExactNumber); any other text that reads as another value forgets it, so that the
// value read is written in the editor's format. Leaves the modified flag to the caller.
void ApplyTypedValue(CFieldEntry& entry, std::string_view text);

// The characters that a String value cannot hold because it would not read back: a quote ends
// the value, a '[' turns its line into a header, a line break ends the line.
inline constexpr std::string_view kUnstorableChars = "\"[\r\n";

// The first character of text that is one of kUnstorableChars, or '\0' when there is none.
char FindUnstorableChar(std::string_view text);

// Whether a String value of a document in encoding can take the character c from the user: not
// one of kUnstorableChars, and one the encoding holds.
bool StringCanTake(TextEncoding encoding, char32_t c);

// Why it cannot, as a sentence without its full stop: "A String value cannot hold '[': ..." or
// "Windows-1252, the file's encoding, has no ..." (UTF-8).
std::string WhyStringCannotTake(TextEncoding encoding, char32_t c);

// Why a String value cannot hold c, one of kUnstorableChars, to follow "a String value": such as
// "cannot hold '[': the line would read as a group header".
std::string UnstorableCharReason(char c);
