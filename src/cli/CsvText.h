#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// CSV as RFC 4180 has it (comma, CR LF rows, double quotes), the way tables of tank files go to
// a spreadsheet and come back.

// One row and the line it starts on, counted from 1.
struct CCsvRow {
    std::size_t line;
    std::vector<std::string> cells;
    // Per cell: written as "" rather than as nothing. A table tells a String that is set but
    // empty from a field that is not set this way.
    std::vector<bool> quotedEmpty;
};

// Where and why a CSV text could not be read.
struct CCsvError {
    std::size_t line;
    std::string reason;
};

// Reads every row of text. Besides RFC 4180 it takes what spreadsheets write: a UTF-8 byte order
// mark before the first row, rows ending in LF or a lone CR as well as CR LF, the last one with
// or without. Blank lines hold no row. Cells are kept byte for byte: blanks are not trimmed, and
// a quoted cell keeps its line breaks. Returns false with error set at the first text that is not
// CSV (a quote inside an unquoted cell or after a closing quote, a quote never closed).
bool ReadCsv(std::string_view text, std::vector<CCsvRow>& rows, CCsvError& error);

// Appends value to out as a CSV cell: as it is, or in double quotes with every quote doubled when
// it holds a comma, a quote or a line break (CR or LF). An empty value is written "" when
// quoteEmpty. Written here rather than with libcsv, whose csv_write quotes every cell: a table
// quotes only where it must, so that it reads as plainly as the spreadsheet's own export.
void AppendCsvCell(std::string& out, std::string_view value, bool quoteEmpty = false);
