// Reading tank files: golden pairs of an input and the file the program saves from it, plus the
// values and presence flags that reading leaves behind.

#include "TankFile.h"
#include "TankFileReader.h"
#include "TankFileWriter.h"
#include "TestSupport.h"

#include <cfloat>
#include <climits>

namespace {

using namespace tarnwick_test;

CFieldEntry& Field(CTankFile& file, int index) {
    return *file.m_fields[index];
}

class GoldenPair : public ::testing::TestWithParam<const char*> {};

// Loading the input and saving it gives the expected bytes, both as text and through a real
// save; loading the expected file and saving it again changes nothing.
TEST_P(GoldenPair, LoadThenSaveGivesTheExpectedBytes) {
    const std::string input = DataPath(std::string("model/") + GetParam() + ".odf");
    const std::string expectedPath = DataPath(std::string("model/") + GetParam() + ".expected.odf");
    const std::string expected = ReadBytes(expectedPath);
    ASSERT_FALSE(expected.empty()) << expectedPath;

    CMessageCapture messages;
    CTankFile file;
    file.m_bModified = 1;
    ASSERT_EQ(file.Load(input), 1);
    EXPECT_EQ(file.m_bModified, 0);
    EXPECT_EQ(file.m_strPath, input);
    EXPECT_EQ(file.m_strFileName, std::string(GetParam()) + ".odf");
    EXPECT_EQ(WriteTankText(file), expected);

    CScratchDir dir;
    ASSERT_EQ(file.SaveAs(dir / "out.odf"), 1);
    EXPECT_EQ(ReadBytes(dir / "out.odf"), expected);

    CTankFile again;
    ASSERT_EQ(again.Load(expectedPath), 1);
    EXPECT_EQ(WriteTankText(again), expected);
    EXPECT_TRUE(messages.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Model, GoldenPair,
                         ::testing::Values("empty", "layout", "keys", "strings", "numbers",
                                           "lastwins", "crlf", "mixed", "bytes", "nofinalnewline",
                                           "longlines"));

TEST(TankFileRead, ValuesAndPresenceAfterLoading) {
    CTankFile file;
    ASSERT_EQ(file.Load(DataPath("model/layout.odf")), 1);
    EXPECT_EQ(Field(file, 6).m_nValue, 1500);   // maxHealth under [GameObjectClass]
    EXPECT_EQ(Field(file, 49).m_fValue, 3.0f);  // WingmanClass setAltitude
    EXPECT_EQ(Field(file, 69).m_fValue, 5.0f);  // HovercraftClass setAltitude
    EXPECT_EQ(Field(file, 4).m_nValue, 40);     // scrapCost after [SomethingElse]
    EXPECT_EQ(Field(file, 172).m_fValue, 1.0f); // animRate after " [PersonClass] trailing"

    ASSERT_EQ(file.Load(DataPath("model/strings.odf")), 1);
    EXPECT_EQ(Field(file, 8).m_bPresent, 0); // unitName without quotes
    EXPECT_EQ(Field(file, 8).m_strValue, "");
    EXPECT_EQ(Field(file, 0).m_bPresent, 1); // baseName = ""
    EXPECT_EQ(Field(file, 0).m_strValue, "");
    EXPECT_EQ(Field(file, 9).m_strValue, "open to the end  ");
    EXPECT_EQ(Field(file, 10).m_bPresent, 0); // a '[' in the value makes a header line
    // A successful load replaces everything: nothing of layout.odf is left.
    EXPECT_EQ(Field(file, 6).m_bPresent, 0);
    EXPECT_EQ(Field(file, 6).m_nValue, 0);
    EXPECT_EQ(Field(file, 49).m_bPresent, 0);

    ASSERT_EQ(file.Load(DataPath("model/numbers.odf")), 1);
    EXPECT_EQ(Field(file, 54).m_fValue, FLT_MAX);
    EXPECT_EQ(Field(file, 55).m_fValue, -FLT_MAX);
    EXPECT_EQ(Field(file, 66).m_fValue, FLT_MAX);
    EXPECT_EQ(Field(file, 13).m_fValue, -0.5f);
    EXPECT_EQ(Field(file, 7).m_nValue, INT32_MAX);
    EXPECT_EQ(Field(file, 22).m_nValue, INT32_MIN);
    EXPECT_EQ(Field(file, 11).m_bPresent, 0); // abc
    EXPECT_EQ(Field(file, 52).m_bPresent, 0); // inf
    EXPECT_EQ(Field(file, 53).m_bPresent, 0); // nan

    ASSERT_EQ(file.Load(DataPath("model/lastwins.odf")), 1);
    EXPECT_EQ(Field(file, 7).m_bPresent, 1); // 5, then a line without digits
    EXPECT_EQ(Field(file, 7).m_nValue, 0);

    ASSERT_EQ(file.Load(DataPath("model/bytes.odf")), 1);
    EXPECT_EQ(Field(file, 8).m_strValue, std::string("a\0b\xff\xe9", 5));
    EXPECT_EQ(Field(file, 6).m_bPresent, 0); // "maxHealth\0" is not maxHealth
}

TEST(TankFileRead, LineEndsDecideHowTheFileIsSaved) {
    CTankFile file;
    ASSERT_EQ(file.Load(DataPath("model/crlf.odf")), 1);
    EXPECT_EQ(file.m_bCrLf, 1);
    EXPECT_EQ(Field(file, 8).m_strValue, "open");
    EXPECT_EQ(Field(file, 9).m_strValue, "two\r"); // only one CR belongs to the line end
    ASSERT_EQ(file.Load(DataPath("model/mixed.odf")), 1);
    EXPECT_EQ(file.m_bCrLf, 0);
    ASSERT_EQ(file.Load(DataPath("model/crlf.odf")), 1);
    file.Reset();
    EXPECT_EQ(file.m_bCrLf, 0);
    EXPECT_EQ(WriteTankText(file).find('\r'), std::string::npos);
}

TEST(TankFileRead, AHundredKilobyteLineIsReadWhole) {
    const std::string big(100 * 1024, 'v');
    std::string text = "[ProducerClass" + big + "]\n";
    text += "buildItem1 = \"" + big + "\"\n";
    text += "timeRepair = " + std::string(100 * 1024, ' ') + "-1.25\n";
    text += big + "scrapHold = 3\n";
    text += "buildItem2 = \"" + big; // unterminated, no final line end
    CScratchDir dir;
    WriteBytes(dir / "big.odf", text);

    CTankFile file;
    ASSERT_EQ(file.Load(dir / "big.odf"), 1);
    EXPECT_EQ(Field(file, 120).m_strValue, big);
    EXPECT_EQ(Field(file, 121).m_strValue, big);
    EXPECT_EQ(Field(file, 116).m_fValue, -1.25f);
    EXPECT_EQ(Field(file, 118).m_bPresent, 0);
    int present = 0;
    for (const auto& field : file.m_fields)
        present += field->m_bPresent;
    EXPECT_EQ(present, 3);
}

TEST(TankFileRead, EveryLineIsReportedWithWhatItDid) {
    const std::string text = "x = 1\n"
                             "[GameObject]\n"
                             "\t \n"
                             "maxHealth = 7\n"
                             "maxAmmo = none\n"
                             "bogus = 1\n"
                             "[Nothing]\n"
                             "; comment\n"
                             "maxAmmo = 2\r\n";
    std::vector<TankLine> lines;
    CTankFile file;
    ReadTankText(text, file, [&](const TankLine& line) { lines.push_back(line); });
    ASSERT_EQ(lines.size(), 9u);
    const TankLineKind kinds[] = {
        TankLineKind::NoGroup,       TankLineKind::Header,  TankLineKind::Blank,
        TankLineKind::Value,         TankLineKind::NoValue, TankLineKind::UnknownKey,
        TankLineKind::UnknownHeader, TankLineKind::Other,   TankLineKind::Value};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].number, i + 1);
        EXPECT_EQ(lines[i].kind, kinds[i]) << "line " << i + 1;
    }
    EXPECT_EQ(lines[0].groupIndex, -1);
    EXPECT_EQ(lines[3].fieldIndex, 6);
    EXPECT_EQ(lines[4].fieldIndex, 7);
    EXPECT_EQ(lines[5].fieldIndex, -1);
    EXPECT_EQ(lines[6].groupIndex, 0);
    EXPECT_EQ(lines[8].text, "maxAmmo = 2");
    EXPECT_EQ(file.m_fields[7]->m_nValue, 2);
}

} // namespace
