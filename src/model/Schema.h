#pragma once

#include "FieldGroup.h"
#include "FieldType.h"

#include <string>
#include <string_view>
#include <vector>

// What the schema says of one field; the same for every tank file.
struct CFieldDefinition {
    std::string m_strName;       // the key before '=', as the editor writes it
    const CFieldGroup* m_pGroup; // one of the schema's groups
    FieldType m_nType;
    std::string m_strDescription; // shown in the field panel; may be empty
};

// The fixed catalogue of groups and typed fields that every tank file is built on: 9 groups in
// file order, each with its fields in file order, 173 fields in all. It is made once and shared,
// and positions in it are the group and field indexes used throughout the program.
class CSchema {
public:
    static const CSchema& Get();

    const std::vector<CFieldGroup>& Groups() const { return m_groups; }
    const std::vector<CFieldDefinition>& Fields() const { return m_fields; }

    // The group that a header text (from '[' through the first ']') selects: the first group
    // whose "[" + name begins the text, ignoring ASCII case. nullptr when none does.
    const CFieldGroup* FindGroup(std::string_view headerText) const;

    // The index of the field of group whose name equals key ignoring ASCII case; -1 for no group
    // or no such field.
    int FindField(std::string_view key, const CFieldGroup* group) const;
    // The same, trying the field at hint first: files mostly list a group's keys in the
    // schema's order, so the one after the field last found is most often the next. A group's
    // names differ also ignoring case, so the answer is the same.
    int FindField(std::string_view key, const CFieldGroup* group, int hint) const;

    // The index of the field that path names as "Group.field" (the group's whole name, then the
    // field's), ignoring ASCII case; -1 when there is none. A field name alone can stand in
    // several groups, so both are needed.
    int FindFieldPath(std::string_view path) const;

private:
    CSchema();

    // Whether the name of the field at index is key, ignoring ASCII case.
    bool IsNamed(int index, std::string_view key) const;

    std::vector<CFieldGroup> m_groups;
    std::vector<CFieldDefinition> m_fields;
};

inline constexpr int kSchemaGroupCount = 9;
inline constexpr int kSchemaFieldCount = 173;
