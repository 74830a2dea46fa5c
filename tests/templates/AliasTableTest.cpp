// The alias file and lookups in it.

#include "AliasTable.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

std::string AliasOf(const CAliasTable& table, const std::string& name) {
    const std::string* alias = table.Lookup(name);
    return alias ? *alias : "(none)";
}

TEST(AliasTable, ReadsNamesAndAliasesLineByLine) {
    CScratchDir dir;
    const std::string longName = std::string(2000, 'L') + ".odf";
    WriteBytes(dir / "alias.txt", "# comment line\n"
                                  "TANK1.ODF   Alpha\n"
                                  " indented.odf Ind\n"
                                  "\tindented2.odf Ind2\n"
                                  "\n"
                                  "oneword\n"
                                  "three.odf Three extra words\n"
                                  "a#b.odf Hash\n"
                                  "dup.odf First\n"
                                  "DUP.ODF Second\n"
                                  "tabbed.odf\t\tTabAlias\textra\n"
                                  "crlf.odf Crlf\r\n"
                                  "\xc3\x84X.odf Umlaut\n" +
                                      longName + " LongOne\n" + "#" + std::string(1022, 'c') +
                                      "hidden.odf Hidden\n" + "last.odf Last");
    CAliasTable table;
    ASSERT_EQ(table.Load(dir / "alias.txt"), 1);
    ASSERT_EQ(table.m_names.size(), table.m_aliases.size());
    EXPECT_EQ(table.m_names,
              (std::vector<std::string>{"tank1.odf", "three.odf", "a#b.odf", "dup.odf", "dup.odf",
                                        "tabbed.odf", "crlf.odf", "\xc3\x84x.odf",
                                        std::string(2000, 'l') + ".odf", "last.odf"}));

    EXPECT_EQ(AliasOf(table, "tank1.odf"), "Alpha");
    EXPECT_EQ(AliasOf(table, "Tank1.odf"), "Alpha");
    EXPECT_EQ(AliasOf(table, "TANK1.ODF"), "Alpha");
    EXPECT_EQ(AliasOf(table, "indented.odf"), "(none)");
    EXPECT_EQ(AliasOf(table, "indented2.odf"), "(none)");
    EXPECT_EQ(AliasOf(table, "oneword"), "(none)");
    EXPECT_EQ(AliasOf(table, "three.odf"), "Three");
    EXPECT_EQ(AliasOf(table, "A#B.odf"), "Hash");
    EXPECT_EQ(AliasOf(table, "Dup.odf"), "First");
    EXPECT_EQ(AliasOf(table, "tabbed.odf"), "TabAlias");
    EXPECT_EQ(AliasOf(table, "crlf.odf"), "Crlf");
    EXPECT_EQ(AliasOf(table, "\xc3\x84x.ODF"), "Umlaut");
    EXPECT_EQ(AliasOf(table, "\xc3\xa4x.odf"), "(none)"); // only A to Z fold
    EXPECT_EQ(AliasOf(table, longName), "LongOne");
    EXPECT_EQ(AliasOf(table, "hidden.odf"), "(none)"); // part of a long comment line
    EXPECT_EQ(AliasOf(table, "last.odf"), "Last");
    EXPECT_EQ(AliasOf(table, ""), "(none)");
    EXPECT_EQ(AliasOf(table, "tank1"), "(none)");
}

TEST(AliasTable, LoadReplacesTheTableAndReportsAMissingFile) {
    CScratchDir dir;
    WriteBytes(dir / "a.txt", "one.odf One\ntwo.odf Two\n");
    WriteBytes(dir / "b.txt", "three.odf Three\n");
    WriteBytes(dir / "empty.txt", "");
    CMessageCapture messages;
    CAliasTable table;
    ASSERT_EQ(table.Load(dir / "a.txt"), 1);
    ASSERT_EQ(table.Load(dir / "b.txt"), 1);
    EXPECT_EQ(AliasOf(table, "one.odf"), "(none)");
    EXPECT_EQ(AliasOf(table, "three.odf"), "Three");
    EXPECT_EQ(table.Load(dir / "empty.txt"), 1);
    EXPECT_TRUE(table.m_names.empty());
    ASSERT_EQ(table.Load(dir / "a.txt"), 1);
    EXPECT_EQ(table.Load(dir / "missing.txt"), 0);
    EXPECT_TRUE(table.m_names.empty());
    EXPECT_TRUE(table.m_aliases.empty());
    EXPECT_EQ(table.Load(dir.Path().string()), 0); // a folder
    EXPECT_TRUE(messages.Texts().empty());         // the caller chooses the message
}

TEST(AliasTable, LoadFromCurrentFolderTriesBothSpellings) {
    CScratchDir dir;
    const fs::path old = fs::current_path();
    fs::current_path(dir.Path());
    CAliasTable table;
    int none = table.LoadFromCurrentFolder();
    WriteBytes("alias.txt", "lower.odf Lower\n");
    int lower = table.LoadFromCurrentFolder();
    std::string lowerAlias = AliasOf(table, "lower.odf");
    WriteBytes("ALIAS.TXT", "upper.odf Upper\n");
    int upper = table.LoadFromCurrentFolder();
    std::string upperAlias = AliasOf(table, "upper.odf");
    std::string shadowed = AliasOf(table, "lower.odf");
    fs::current_path(old);

    EXPECT_EQ(none, 0);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(lowerAlias, "Lower");
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(upperAlias, "Upper");
    EXPECT_EQ(shadowed, "(none)");
}

TEST(AliasTable, TextHelpers) {
    std::string text = "a\tb\nc\rd e";
    CAliasTable::BlankControlChars(text);
    EXPECT_EQ(text, "a b c\rd e");
    std::string mixed = "AZaz@[`{\xc3\x84\xc0Q";
    CAliasTable::LowerCaseAscii(mixed);
    EXPECT_EQ(mixed, "azaz@[`{\xc3\x84\xc0q");
}

} // namespace
