#pragma once

#include "FieldType.h"

#include <cstdint>
#include <string>
#include <vector>

class CFieldGroup;

// One field of one tank file. What the schema says of the field (name, group, type, description)
// is shared by every tank file; the value slots are this file's own. Only the value slot of the
// field's type is meaningful, and only while the field is present. A number's text slot holds
// the number as its file writes it or as the user gave it, to be written so again; empty, the
// number is written in the editor's format.
//
// Kept small on purpose: a template holds 173 of these, and a mod's set holds hundreds of
// templates. A field uses one number slot or none, so the two share their storage.
class CFieldEntry {
public:
    explicit CFieldEntry(int index) : m_nValue(0), m_nIndex(static_cast<std::uint16_t>(index)) {}

    const std::string& Name() const;  // the key before '=', as the schema spells it
    const CFieldGroup* Group() const; // shared by every tank file
    FieldType Type() const;
    const std::string& Description() const; // shown in the field panel; may be empty
    int Index() const { return m_nIndex; }  // position in the schema

    // Present, with the same value in the slot of its type; absent fields are equal whatever
    // their slots hold.
    bool SameValueAs(const CFieldEntry& other) const;
    // The same value written the same way: for a present number, its text too.
    bool SameAs(const CFieldEntry& other) const;

    // Absent, with every slot cleared, as a new field is.
    void Clear();

    std::string m_strValue; // String value, bytes as read or typed; a number's text as given
    union {
        float m_fValue;        // Float value
        std::int32_t m_nValue; // Integer value
    };
    bool m_bPresent = false; // the file sets this field

private:
    std::uint16_t m_nIndex;
};

// A list of every field of the schema, in schema order, each absent with cleared slots.
std::vector<CFieldEntry> NewFieldList();
