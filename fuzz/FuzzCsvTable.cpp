// Any table text must read without fault, and the cells read, written as a table and read again,
// must come back unchanged; whatever the bytes, their UTF-8 form is valid UTF-8.
#include "CsvText.h"
#include "Utf8Text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!IsValidUtf8(Utf8OfBytes(text)))
        std::abort();
    std::vector<CCsvRow> rows;
    CCsvError error;
    if (!ReadCsv(text, rows, error))
        return 0;
    // A byte order mark first, so that one the first cell begins with is not taken for it.
    std::string written = "\xEF\xBB\xBF";
    for (const CCsvRow& row : rows) {
        if (row.cells.size() != row.quotedEmpty.size())
            std::abort();
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            if (i)
                written += ',';
            AppendCsvCell(written, row.cells[i], row.quotedEmpty[i]);
        }
        written += "\r\n";
    }
    std::vector<CCsvRow> again;
    if (!ReadCsv(written, again, error) || again.size() != rows.size())
        std::abort();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (again[r].cells != rows[r].cells || again[r].quotedEmpty != rows[r].quotedEmpty)
            std::abort();
    }
    return 0;
}
