#pragma once

// Unit files that look like a published mod's: headers and keys spelled as modders spell them,
// sections and keys the schema lacks, comments, values the reader takes otherwise than they
// look, either line end, a byte order mark or Windows-1252 names. The same seed makes the same
// files everywhere (the standard library's distributions are not used for that reason).

#include "RulesReading.h"

#include <random>

class CUnitFileMaker {
public:
    CUnitFileMaker(const Schema& schema, unsigned seed) : m_schema(schema), m_random(seed) {}
    // The bytes of the next file.
    std::string Make();

private:
    int N(std::size_t n) { return static_cast<int>(m_random() % n); }
    bool P(int percent) { return N(100) < percent; }
    const std::string& Pick(const std::vector<std::string>& items) {
        return items[N(items.size())];
    }
    void Section(const std::string& header, int density, std::vector<std::string>& lines);
    std::string Line(const std::string& key, const std::string& value);
    std::string Value(const SchemaField& field);

    const Schema& m_schema;
    std::mt19937 m_random;
    bool m_bClean = false; // a file without a line that check lists
    bool m_b1252 = false;  // names in Windows-1252 rather than UTF-8
};
