#pragma once

#include "FieldEntry.h"

#include <string_view>
#include <vector>

class CFileLines;
class COtherKeys;

// Reads tank file text into fields (as NewFieldList() makes them): clears every field, then
// applies the lines in order, so that the last line that sets a field wins. A UTF-8 byte order
// mark at the start is not part of the first line. A header selects the group whose name it
// begins with and a key matches a field of that group, both ignoring ASCII case; a header that
// names no group ends the current group. When lines is given, bytes must be lines->Bytes(), and
// lines learns every line, the values read and, for a line that set one, where the value's text
// stands: from where the value as read starts, past it up to the first blank, tab or "//" or
// the line's end. A line with "//" after the value as read has a comment beside its value.
// Replacing that text with any value the writer writes reads back as that value.
// Keys the schema does not know are other keys (OtherKeys.h) when their key is a name and their
// section's header selects a group or is a name itself; otherKeys, when given, learns them, each
// with the raw value of its last line, and lines learns for each such line which key it sets and
// where the raw value stands.
void ReadTankText(std::string_view bytes, std::vector<CFieldEntry>& fields,
                  CFileLines* lines = nullptr, COtherKeys* otherKeys = nullptr);
