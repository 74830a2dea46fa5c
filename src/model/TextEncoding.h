#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The encoding a document's text is in, so that what the user types goes into a file in the
// file's own encoding and never mixes two in one file.
enum class TextEncoding : std::uint8_t {
    Windows1252, // one character a byte: new documents, ASCII-only files, any other bytes
    Utf8,        // files whose non-ASCII bytes are all valid UTF-8
};

// A byte order mark that some editors put at the start of a UTF-8 file.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The encoding of a file's bytes: UTF-8 when they hold a non-ASCII byte and all of them are
// valid UTF-8, Windows-1252 otherwise.
TextEncoding EncodingOfBytes(std::string_view bytes);

// Whether a document in encoding can hold the character c.
bool CanHold(TextEncoding encoding, char32_t c);

// Text the user gives (typed, a command-line value, a table's cell) as the bytes a document in
// encoding holds: valid UTF-8 is converted to encoding; anything else is taken as the bytes it
// is, as the user may give a file's own bytes. Returns false, with refused the first character
// that encoding cannot hold, when there is one; bytes then holds a part of the text at most.
bool EncodeUserText(std::string_view text, TextEncoding encoding, std::string& bytes,
                    char32_t& refused);

// Why a document in encoding cannot take c, such as "Windows-1252, the file's encoding, has no
// 'Ł' (U+0141)", in UTF-8.
std::string CannotHoldReason(TextEncoding encoding, char32_t c);
