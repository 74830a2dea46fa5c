#pragma once

#include <cstdint>

// The value type of a field. The numbers are part of the model's contract, so they are spelled
// out.
enum class FieldType : std::int32_t {
    String = 0,
    Float = 1,
    Integer = 2,
};
