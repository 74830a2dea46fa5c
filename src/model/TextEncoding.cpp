#include "TextEncoding.h"

#include "Utf8Text.h"

#include <cstdio>
#include <cstring>

namespace {

// The Windows-1252 byte of c; false when it has none. Written out rather than taken from iconv:
// the window shows the five bytes that Windows-1252 leaves undefined as the C1 controls of the
// same number (Cp1252Char), and what the user types must go back to the bytes shown.
bool Cp1252Byte(char32_t c, char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (unsigned b = 0x80; b < 0xA0; ++b) {
        if (Cp1252Char(static_cast<unsigned char>(b)) == c) {
            byte = static_cast<char>(b);
            return true;
        }
    }
    return false;
}

} // namespace

TextEncoding EncodingOfBytes(std::string_view bytes) {
    // Eight bytes at a time up to the first high one: most files are ASCII only, and loading
    // one should cost little more than reading it.
    std::size_t at = 0;
    for (std::uint64_t word = 0; at + sizeof word <= bytes.size(); at += sizeof word) {
        std::memcpy(&word, bytes.data() + at, sizeof word);
        if (word & 0x8080808080808080u)
            break;
    }
    for (; at < bytes.size(); ++at) {
        if (static_cast<unsigned char>(bytes[at]) >= 0x80)
            return IsValidUtf8(bytes.substr(at)) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    }
    return TextEncoding::Windows1252;
}

bool CanHold(TextEncoding encoding, char32_t c) {
    char byte = 0;
    return encoding == TextEncoding::Utf8 || Cp1252Byte(c, byte);
}

bool EncodeUserText(std::string_view text, TextEncoding encoding, std::string& bytes,
                    char32_t& refused) {
    if (encoding == TextEncoding::Utf8 || !IsValidUtf8(text)) {
        bytes = text;
        return true;
    }
    bytes.clear();
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextUtf8Char(text, at);
        char byte = 0;
        if (!Cp1252Byte(c, byte)) {
            refused = c;
            return false;
        }
        bytes += byte;
    }
    return true;
}

std::string CannotHoldReason(TextEncoding encoding, char32_t c) {
    std::string shown;
    AppendUtf8(shown, c);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return std::string(encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252") +
           ", the file's encoding, has no '" + shown + "' (" + code + ")";
}
