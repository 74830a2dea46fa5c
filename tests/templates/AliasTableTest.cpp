// The alias file and lookups in it. Unreadable alias files, and what they leave of the one read
// before, are the fault tests' concern.

#include "AliasTable.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

// alias.txt holds comments, indented lines, lines of one word, extra words, tabs, a CR LF line,
// a name of 2000 letters, a comment line that runs past 1 KB and no final line end.
TEST(AliasTable, ReadsNamesAndAliasesLineByLine) {
    const std::string longName = std::string(2000, 'L') + ".odf";
    CAliasTable table;
    // Read twice: the second read replaces the first rather than adding to it.
    ASSERT_TRUE(table.Load(DataPath("templates/alias.txt")));
    ASSERT_TRUE(table.Load(DataPath("templates/alias.txt")));
    EXPECT_EQ(table.m_names,
              (Texts{"tank1.odf", "three.odf", "a#b.odf", "dup.odf", "dup.odf", "tabbed.odf",
                     "crlf.odf", "\xc3\x84x.odf", std::string(2000, 'l') + ".odf", "last.odf"}));
    EXPECT_EQ(table.m_aliases, (Texts{"Alpha", "Three", "Hash", "First", "Second", "TabAlias",
                                      "Crlf", "Umlaut", "LongOne", "Last"}));

    const std::pair<std::string, std::string> lookups[] = {
        {"Tank1.odf", "Alpha"},      {"TANK1.ODF", "Alpha"}, {"Dup.odf", "First"},
        {"\xc3\x84x.ODF", "Umlaut"}, {longName, "LongOne"},  {"indented.odf", "(none)"},
        {"\xc3\xa4x.odf", "(none)"}, // only A to Z fold
        {"hidden.odf", "(none)"},    {"", "(none)"},         {"tank1", "(none)"},
    };
    for (const auto& [name, alias] : lookups) {
        const std::string* found = table.Lookup(name);
        EXPECT_EQ(found ? *found : "(none)", alias) << name.substr(0, 40);
    }
}

} // namespace
