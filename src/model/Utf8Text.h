#pragma once

#include <string>
#include <string_view>

// Values, names and paths are kept as the bytes read. Files from other editors are as likely to
// be in Windows-1252 as in UTF-8, so wherever bytes are shown as text (the window, JSON output),
// bytes that are valid UTF-8 are read as UTF-8 and any others one character a byte as
// Windows-1252, rather than with replacement marks: nothing is lost either way, and the window
// and the command-line tool show the same characters.

// True when bytes are well-formed UTF-8 (RFC 3629: shortest forms only, no surrogates, nothing
// beyond U+10FFFF). A leading byte order mark is text like any other.
bool IsValidUtf8(std::string_view bytes);

// Appends c (a Unicode scalar value) to out as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// The character that starts at at in text, which must be valid UTF-8; moves at past it.
char32_t NextUtf8Char(std::string_view text, std::size_t& at);

// The character that byte stands for in Windows-1252. The five bytes it leaves undefined map to
// the C1 control of the same number, as Windows itself maps them.
char32_t Cp1252Char(unsigned char byte);

// bytes as UTF-8: themselves when valid UTF-8, otherwise each byte's Windows-1252 character.
// The result is always valid UTF-8.
std::string Utf8OfBytes(std::string_view bytes);
