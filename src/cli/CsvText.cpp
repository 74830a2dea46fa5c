#include "CsvText.h"

#include <csv.h>

#include <exception>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The parser would trim blanks around unquoted cells; a value's blanks are part of it.
int NoBlanks(unsigned char) {
    return 0;
}

// libcsv says where a row ends but not on which line, so the text goes to it one line at a
// time and the reader counts them. A row starts on the first line fed while no row is open
// that is not blank: the parser passes over blank lines between rows.
class CCsvReader {
public:
    explicit CCsvReader(std::vector<CCsvRow>& rows) : m_rows(rows) {
        csv_init(&m_parser, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL);
        csv_set_space_func(&m_parser, NoBlanks);
    }
    ~CCsvReader() { csv_free(&m_parser); }
    CCsvReader(const CCsvReader&) = delete;
    CCsvReader& operator=(const CCsvReader&) = delete;

    bool Read(std::string_view text, CCsvError& error) {
        if (text.starts_with(kByteOrderMark))
            text.remove_prefix(kByteOrderMark.size());
        std::size_t line = 0;
        while (!text.empty()) {
            ++line;
            std::size_t end = text.find_first_of("\r\n");
            end = end == std::string_view::npos          ? text.size()
                  : text.substr(end).starts_with("\r\n") ? end + 2
                                                         : end + 1;
            std::string_view chunk = text.substr(0, end);
            text.remove_prefix(end);
            if (!m_bInRow && chunk.find_first_not_of("\r\n") != std::string_view::npos) {
                m_bInRow = true;
                m_nRowLine = line;
            }
            if (csv_parse(&m_parser, chunk.data(), chunk.size(), OnCell, OnRowEnd, this) !=
                    chunk.size() ||
                m_bOutOfMemory)
                return Fail(error, line,
                            "a quote stands inside a cell; a cell that holds "
                            "quotes must be quoted whole, its quotes doubled");
        }
        if (csv_fini(&m_parser, OnCell, OnRowEnd, this) != 0 || m_bOutOfMemory)
            return Fail(error, m_nRowLine, "a quoted cell of this row is never closed");
        return true;
    }

private:
    // The callbacks are called from C: no exception may leave them.
    static void OnCell(void* data, std::size_t size, void* self) {
        auto* reader = static_cast<CCsvReader*>(self);
        try {
            // With CSV_EMPTY_IS_NULL, only an empty cell written as "" comes with data.
            reader->m_cells.emplace_back(data ? static_cast<const char*>(data) : "", size);
            reader->m_quotedEmpty.push_back(data && size == 0);
        } catch (const std::exception&) {
            reader->m_bOutOfMemory = true;
        }
    }
    static void OnRowEnd(int, void* self) {
        auto* reader = static_cast<CCsvReader*>(self);
        try {
            reader->m_rows.push_back(
                {reader->m_nRowLine, std::move(reader->m_cells), std::move(reader->m_quotedEmpty)});
        } catch (const std::exception&) {
            reader->m_bOutOfMemory = true;
        }
        reader->m_cells.clear();
        reader->m_quotedEmpty.clear();
        reader->m_bInRow = false;
    }
    bool Fail(CCsvError& error, std::size_t line, const char* parseError) {
        const int code = csv_error(&m_parser);
        error.line = line;
        error.reason = m_bOutOfMemory || code == CSV_ENOMEM ? "the table is too large for memory"
                       : code == CSV_EPARSE                 ? parseError
                                                            : csv_strerror(code);
        return false;
    }

    csv_parser m_parser{};
    std::vector<CCsvRow>& m_rows;
    std::vector<std::string> m_cells;
    std::vector<bool> m_quotedEmpty;
    std::size_t m_nRowLine = 0;
    bool m_bInRow = false;
    bool m_bOutOfMemory = false;
};

} // namespace

bool ReadCsv(std::string_view text, std::vector<CCsvRow>& rows, CCsvError& error) {
    CCsvReader reader(rows);
    return reader.Read(text, error);
}

void AppendCsvCell(std::string& out, std::string_view value, bool quoteEmpty) {
    // One pass without branches, which the compiler turns into vector code: find_first_of
    // would search the four characters once per byte.
    bool quote = value.empty() && quoteEmpty;
    for (char c : value)
        quote |= (c == ',') | (c == '"') | (c == '\r') | (c == '\n');
    if (!quote) {
        out += value;
        return;
    }
    out += '"';
    for (char c : value) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
}
