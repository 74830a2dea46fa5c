#pragma once

#include <string>
#include <string_view>

class CFieldEntry;
class CTankFile;

// Fields are named on the command line as "Group.field", because a field name alone can stand
// in several groups. Like headers and keys in a file, the names match ignoring ASCII case.

// "Group.field" for entry, as the schema spells them.
std::string FieldPathOf(const CFieldEntry& entry);

// The field of file that path names, or nullptr when there is none.
CFieldEntry* FindFieldPath(CTankFile& file, std::string_view path);

// FindFieldPath, showing "Unknown field '%s'." when there is none.
CFieldEntry* ResolveFieldPath(CTankFile& file, std::string_view path);
