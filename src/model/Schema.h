#pragma once

#include "FieldType.h"

#include <span>

// The fixed catalogue of groups and typed fields that every tank file is built on. Positions in
// these tables are the group and field indexes used throughout the program.
struct SchemaField {
    const char* name;
    FieldType type;
    const char* description;
};

struct SchemaGroup {
    const char* name;
    const char* description;
    std::span<const SchemaField> fields;
};

// The 9 groups in file order, each with its fields in file order (173 fields in all).
std::span<const SchemaGroup> BuiltInSchema();

inline constexpr int kSchemaGroupCount = 9;
inline constexpr int kSchemaFieldCount = 173;
