#pragma once

#include <cstdint>

// The value type of a field. The numbers are part of the model's contract, so they are spelled
// out.
enum class FieldType : std::int32_t {
    String = 0,
    Float = 1,
    Integer = 2,
};

// The type's name, as the schema lists it and the field panel shows it ("String", "Float",
// "Integer").
constexpr const char* TypeName(FieldType type) {
    switch (type) {
    case FieldType::String:
        return "String";
    case FieldType::Float:
        return "Float";
    case FieldType::Integer:
        break;
    }
    return "Integer";
}
