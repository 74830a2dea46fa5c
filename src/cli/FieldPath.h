#pragma once

#include <string>
#include <string_view>

class CFieldEntry;
class COtherKeys;
struct COtherKey;

// Fields are named on the command line as "Group.field", because a field name alone can stand
// in several groups. Like headers and keys in a file, the names match ignoring ASCII case. A name
// of that form that is no field may be an other key of a file (a key the schema does not know).

// "Group.field" for the field at schema position index, as the schema spells them.
std::string FieldPathOf(int index);
std::string FieldPathOf(const CFieldEntry& entry);
// "Group.key" for an other key, as its file spells them.
std::string KeyPathOf(const COtherKey& key);

// What a name given on the command line stands for: a field, or else an other key's name.
struct CKeyName {
    int field = -1;    // the schema position of a field, or -1 for an other key
    std::string group; // an other key's group and key, as given
    std::string key;

    bool IsField() const { return field >= 0; }
    // The position of the other key in keys, or -1 (always for a field).
    int In(const COtherKeys& keys) const;
};

// Reads path as a field, or else as an other key's "Group.key" of two names; false when it is
// neither. Shows nothing.
bool ParseKeyName(std::string_view path, CKeyName& name);

// " (did you mean Group.key?)" when a field, or an other key of keys (when given), of path's key
// name stands in another group than path names ("A or B" for several); empty otherwise.
std::string FieldHint(std::string_view path, const COtherKeys* keys = nullptr);

// Shows "Unknown field 'PATH'." or, with a hint, "Unknown field 'PATH' (did you mean ...?)".
void ShowUnknownField(std::string_view path, const COtherKeys* keys = nullptr);
