#pragma once

#include "FieldEntry.h"

#include <string_view>
#include <vector>

class CFileLines;
class CTankFile;

// A list of every field of the schema, in schema order, each absent with cleared slots.
std::vector<CFieldEntry> NewFieldList();

// Reads tank file text into fields (as NewFieldList() makes them): clears every field, then
// applies the lines in order, so that the last line that sets a field wins. A header selects the
// group whose name it begins with and a key matches a field of that group, both ignoring ASCII
// case; a header that names no group ends the current group. When lines is given, bytes must be
// lines->Bytes(), and lines learns every line and the values read.
void ReadTankText(std::string_view bytes, std::vector<CFieldEntry>& fields,
                  CFileLines* lines = nullptr);

// Reads tank file text into file's values; path, flags and alias stay the caller's.
void ReadTankText(std::string_view bytes, CTankFile& file);
