// Parsing any text, formatting the value and parsing that again must give the same value, and
// no parse may produce a value the writer cannot write (inf or nan) nor text the command line
// refuses as a number.
#include "ValueText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    float typed = ParseTypedFloat(text);
    if (!std::isfinite(typed))
        std::abort();
    // Six decimals may round once; after that the text must be a fixed point.
    std::string once = FormatFloat(ParseTypedFloat(FormatFloat(typed)));
    if (FormatFloat(ParseTypedFloat(once)) != once)
        std::abort();

    float read = 0.0f;
    if (ReadFloatValue(text, read)) {
        if (!std::isfinite(read))
            std::abort();
        float again = 0.0f;
        std::string formatted = FormatFloat(read);
        if (!ReadFloatValue(formatted, again) || FormatFloat(again) != formatted)
            std::abort();
    }

    std::int32_t integer = ParseTypedInteger(text);
    if (ParseTypedInteger(FormatInteger(integer)) != integer)
        std::abort();
    // What the writer writes, and so `table` prints, `set` and `apply` take back.
    if (!IsNumberText(FieldType::Float, FormatFloat(typed)) ||
        !IsNumberText(FieldType::Integer, FormatInteger(integer)))
        std::abort();
    std::int32_t fromFile = 0;
    if (ReadIntegerValue(text, fromFile)) {
        std::int32_t again = 0;
        if (!ReadIntegerValue(FormatInteger(fromFile), again) || again != fromFile)
            std::abort();
    }
    return 0;
}
