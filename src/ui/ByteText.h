#pragma once

#include <QString>

#include <string>
#include <string_view>

// The core keeps values, names and paths as the bytes it read. Files from other editors are as
// likely to be in Windows-1252 as in UTF-8, so bytes that are not valid UTF-8 are shown one
// character a byte rather than with replacement marks; nothing is lost either way.
QString TextOfBytes(std::string_view bytes);

// What the user typed, as the bytes the core stores (UTF-8).
std::string BytesOfText(const QString& text);

// A path from a file dialog as the bytes the file system knows it by.
std::string BytesOfPath(const QString& path);
