#pragma once

#include <string>
#include <string_view>

class CFieldEntry;
class CTankFile;

// JSON for scripts. Text is the core's UTF-8 of the bytes (Utf8Text.h), so the output is valid
// JSON whatever a file holds, and shows what the window shows.

// bytes as a JSON string, quotes included.
std::string JsonString(std::string_view bytes);

// The field's value: a number as the editor writes it in a file, a String as a JSON string.
std::string JsonValue(const CFieldEntry& field);

// One line without its end: {"file": path, "fields": {"Group": {"field": value, ...}, ...}}
// with the fields that file sets, in schema order; a group without any is left out.
std::string JsonOfFile(std::string_view path, const CTankFile& file);
