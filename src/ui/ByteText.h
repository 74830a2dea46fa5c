#pragma once

#include "TextEncoding.h"

#include <QString>

#include <string>
#include <string_view>

// bytes as text by the core's rule (Utf8Text.h): valid UTF-8 as UTF-8, anything else one
// Windows-1252 character a byte, so nothing turns into replacement marks.
QString TextOfBytes(std::string_view bytes);

// What the user typed, as the bytes the core stores (UTF-8).
std::string BytesOfText(const QString& text);

// A value as the user edited it, as bytes in the document's encoding. The edit fields refuse
// what the encoding cannot hold as it is typed, so only a character shown already (a UTF-8 value
// in a file of other bytes) or one typed into a number, which reads it as nothing, can fail: the
// text then stays UTF-8, as it was shown.
std::string BytesOfEdit(const QString& text, TextEncoding encoding);

// A path from a file dialog as the bytes the file system knows it by.
std::string BytesOfPath(const QString& path);
