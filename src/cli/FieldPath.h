#pragma once

#include <string>
#include <string_view>

class CFieldEntry;
class CTankFile;

// Fields are named on the command line as "Group.field", because a field name alone can stand
// in several groups. Like headers and keys in a file, the names match ignoring ASCII case.

// "Group.field" for entry, as the schema spells them.
std::string FieldPathOf(const CFieldEntry& entry);

// The field of file that path names, or nullptr after showing "Unknown field '%s'.".
CFieldEntry* ResolveFieldPath(CTankFile& file, std::string_view path);
