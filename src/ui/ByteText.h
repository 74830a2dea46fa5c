#pragma once

#include <QString>

#include <string>
#include <string_view>

// bytes as text by the core's rule (Utf8Text.h): valid UTF-8 as UTF-8, anything else one
// Windows-1252 character a byte, so nothing turns into replacement marks.
QString TextOfBytes(std::string_view bytes);

// What the user typed, as the bytes the core stores (UTF-8).
std::string BytesOfText(const QString& text);

// A path from a file dialog as the bytes the file system knows it by.
std::string BytesOfPath(const QString& path);
