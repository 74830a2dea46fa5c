#pragma once

#include <string>
#include <string_view>

class CFieldEntry;

// Fields are named on the command line as "Group.field", because a field name alone can stand
// in several groups. Like headers and keys in a file, the names match ignoring ASCII case.

// "Group.field" for the field at schema position index, as the schema spells them.
std::string FieldPathOf(int index);
std::string FieldPathOf(const CFieldEntry& entry);

// The schema position of the field that path names, showing "Unknown field '%s'." when there is
// none: -1.
int ResolveFieldPath(std::string_view path);
