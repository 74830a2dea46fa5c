// Reading any bytes, writing the result and reading that again must settle: the second read
// gives the same present fields with the same written values as the first, and writing it gives
// the same bytes. (Values are compared as written: six decimals may round a float once.)
#include "TankFile.h"
#include "TankFileReader.h"
#include "TankFileWriter.h"
#include "ValueText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CTankFile first;
    ReadTankText(bytes, first);
    first.m_bCrLf = size > 0 && (data[0] & 1);
    std::string written = WriteTankText(first);

    CTankFile second;
    ReadTankText(written, second);
    second.m_bCrLf = first.m_bCrLf;
    for (std::size_t i = 0; i < first.m_fields.size(); ++i) {
        const CFieldEntry& a = first.m_fields[i];
        const CFieldEntry& b = second.m_fields[i];
        if (a.m_bPresent != b.m_bPresent)
            std::abort();
        if (a.m_bPresent && FormatValue(a) != FormatValue(b))
            std::abort();
    }
    if (WriteTankText(second) != written)
        std::abort();
    return 0;
}
