#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

class CTankFile;

// What reading made of one line of a tank file.
enum class TankLineKind {
    Blank,          // empty or only blanks and tabs
    Header,         // a header that selected a group
    UnknownHeader,  // a header that names no group; the current group stays
    Value,          // set a field's value
    NoValue,        // a key of the current group without a usable value (no quote, no digit)
    NoGroup,        // a key line before any recognised header
    UnknownKey,     // a key the current group does not have
    Other,          // neither header nor key line: comments, stray text
};

struct TankLine {
    std::size_t number;       // counted from 1
    TankLineKind kind;
    std::string_view text;    // without its line end
    int fieldIndex;           // for Value and NoValue; otherwise -1
    int groupIndex;           // the current group after the line, or -1
};

using TankLineObserver = std::function<void(const TankLine&)>;

// Reads tank file text into file: clears every field, then applies the lines in order (the
// last line that sets a field wins). Only the value slots and presence flags change; path,
// flags and alias are the caller's. observer, when given, hears about every line.
void ReadTankText(std::string_view bytes, CTankFile& file, const TankLineObserver& observer = {});
