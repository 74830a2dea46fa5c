#pragma once

#include <string>
#include <string_view>

class CFieldEntry;
class CFieldGroup;
class CTankFile;

// Fields are named on the command line as "Group.field", because a field name alone can stand
// in several groups.

// "Group.field" for entry.
std::string FieldPathOf(const CFieldEntry& entry);

// The field that path names, group and field matched exactly. When there is none, shows
// "Unknown field '%s'." (with a suggestion when a field matches ignoring case) and returns
// nullptr.
CFieldEntry* ResolveFieldPath(const CTankFile& file, std::string_view path);

// The field of group whose name equals key when ASCII case is ignored; nullptr when none does.
const CFieldEntry* FindFieldIgnoringCase(const CTankFile& file, std::string_view key,
                                         const CFieldGroup* group);
