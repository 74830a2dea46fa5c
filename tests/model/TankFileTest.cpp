// Reading and saving tank files: golden pairs of an input and the file the program saves from it,
// what loading does to an object already in use, and where a save goes. Loads and saves that
// fail are the fault tests' concern.

#include "TankFile.h"
#include "TankFileWriter.h"
#include "TestSupport.h"
#include "ValueText.h"

#include <sys/stat.h>

namespace {

using namespace tarnwick_test;

class GoldenPair : public ::testing::TestWithParam<const char*> {};

// Loading the input and saving it gives the expected bytes, both as text and through a real
// save; loading the saved file and saving it again changes nothing.
TEST_P(GoldenPair, LoadThenSaveGivesTheExpectedBytes) {
    const std::string name = GetParam();
    const std::string input = DataPath("model/" + name + ".odf");
    const std::string expected = ReadBytes(DataPath("model/" + name + ".expected.odf"));
    ASSERT_FALSE(expected.empty());

    CMessageCapture messages;
    CTankFile file;
    file.m_bModified = 1;
    ASSERT_EQ(file.Load(input), 1);
    EXPECT_EQ(file.m_bModified, 0);
    EXPECT_EQ(file.m_strPath, input);
    EXPECT_EQ(file.m_strFileName, name + ".odf");
    EXPECT_EQ(WriteTankText(file), expected);

    CScratchDir dir;
    file.m_bModified = 1;
    ASSERT_EQ(file.SaveAs(dir / "out.odf"), 1);
    EXPECT_EQ(file.m_bModified, 0);
    EXPECT_EQ(file.m_strFileName, "out.odf");
    EXPECT_EQ(ReadBytes(dir / "out.odf"), expected);
    EXPECT_EQ(dir.Entries(), Texts{"out.odf"});

    CTankFile again;
    ASSERT_EQ(again.Load(dir / "out.odf"), 1);
    EXPECT_EQ(WriteTankText(again), expected);
    EXPECT_TRUE(messages.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Model, GoldenPair,
                         ::testing::Values("empty", "layout", "keys", "strings", "numbers",
                                           "lastwins", "crlf", "mixed", "bytes", "nofinalnewline",
                                           "longlines", "ivtank", "apc"));

// Applies "Group.field=value" as the value box applies typed text: empty text removes the field.
void ApplyEdit(CTankFile& file, const std::string& edit) {
    const auto dot = edit.find('.'), equals = edit.find('=');
    CFieldEntry* field = file.FindField(edit.substr(dot + 1, equals - dot - 1),
                                        file.FindGroup("[" + edit.substr(0, dot) + "]"));
    ASSERT_NE(field, nullptr) << edit;
    ApplyTypedValue(*field, std::string_view(edit).substr(equals + 1));
}

// A keeping save gives the loaded bytes but for the lines of the fields whose value or presence
// changed, both as text and through a real save; the saved file is then the one kept.
TEST(TankFileSave, KeepingSaveChangesOnlyTheLinesOfChangedFields) {
    const struct {
        const char* input;
        Texts edits;
        const char* expected;
    } cases[] = {
        {"ivtank", {}, "ivtank"},
        {"ivtank", {"WingmanClass.velocForward=22"}, "ivtank.kept-one"},
        {"ivtank",
         {"GameObject.maxHealth=", "GameObject.weaponmask=3", "GameObject.maxAmmo=1500",
          "CraftClass.rangeScan=200", "WingmanClass.velocStrafe=12",
          "HovercraftClass.accelThrust=12"},
         "ivtank.kept-edits"},
        {"scout", {}, "scout"}, // no final line end
        {"scout",
         {"GameObject.scrapCost=40", "CraftClass.periodScan=2", "ProducerClass.buildItem1=ivturr"},
         "scout.kept"},
        {"apc", {}, "apc"}, // CR LF with one LF line
        {"apc",
         {"GameObject.unitName=Troop Carrier", "GameObject.maxAmmo=20",
          "HovercraftClass.accelThrust=9", "TurrettankClass.timeDeploy=1.5"},
         "apc.kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        const std::string expected =
            ReadBytes(DataPath("model/" + std::string(c.expected) + ".odf"));
        ASSERT_FALSE(expected.empty());
        CTankFile file;
        ASSERT_EQ(file.Load(DataPath("model/" + std::string(c.input) + ".odf")), 1);
        for (const std::string& edit : c.edits)
            ApplyEdit(file, edit);
        EXPECT_EQ(WriteKeptText(file), expected);

        CScratchDir dir;
        ASSERT_EQ(file.SaveAs(dir / "out.odf", SaveStyle::KeepFile), 1);
        EXPECT_EQ(ReadBytes(dir / "out.odf"), expected);
        EXPECT_EQ(WriteKeptText(file), expected);
    }
}

TEST(TankFileRead, UnusedLinesAreTheLinesTheLayoutDrops) {
    CTankFile file;
    ASSERT_EQ(file.Load(DataPath("model/ivtank.odf")), 1);
    Texts listed;
    for (const CUnusedLine& line : file.UnusedLines())
        listed.push_back(std::to_string(line.number) + ": " + line.reason + ": " + line.text);
    EXPECT_EQ(
        listed,
        (Texts{"1: comment or other text: // ivtank.odf - light tank, tuned for the desert maps",
               "10: overridden by line 12: maxHealth = 2500",
               "31: text beside the header: [WingmanClass] ; shared with ivscout",
               "36: key not in group WingmanClass: \talphaSteer = 5.0",
               "38: header names no group: [Lighting]",
               "39: under a header that names no group: color = 1.0 0.8 0.5",
               "40: under a header that names no group: velocStrafe = 10.0",
               "44: no usable value: accelThrust = fast",
               "46: key not in group HovercraftClass: soundTurbo = \"hvturbo.wav\""}));
    EXPECT_EQ(file.UnusedLineCount(), listed.size());
}

TEST(TankFileRead, LoadReplacesEveryValueAndKeepsTheAlias) {
    CTankFile file;
    ASSERT_EQ(file.Load(DataPath("model/layout.odf")), 1);
    ASSERT_EQ(file.m_fields[6].m_bPresent, 1);
    file.m_strAlias = "AL";
    file.m_bModified = 1;
    ASSERT_EQ(file.Load(DataPath("model/strings.odf")), 1);
    EXPECT_EQ(WriteTankText(file), ReadBytes(DataPath("model/strings.expected.odf")));
    EXPECT_EQ(file.m_fields[6].m_nValue, 0); // the slots of absent fields are cleared too
    EXPECT_EQ(file.m_fields[49].m_fValue, 0.0f);
    EXPECT_EQ(file.m_fields[8].m_strValue, ""); // unitName without quotes
    EXPECT_EQ(file.m_strAlias, "AL");
    EXPECT_EQ(file.m_bModified, 0);

    // A relative path is kept as given.
    CScratchDir dir;
    WriteBytes(dir / "Tank A.odf", "[GameObject]\nmaxAmmo = 3\n");
    const fs::path old = fs::current_path();
    fs::current_path(dir.Path());
    const int result = file.Load("Tank A.odf");
    fs::current_path(old);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(file.m_strPath, "Tank A.odf");
    EXPECT_EQ(file.m_strFileName, "Tank A.odf");
    EXPECT_EQ(file.m_fields[7].m_nValue, 3);
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(TankFileSave, LinksAreWrittenThroughAndModesKept) {
    CScratchDir dir;
    CTankFile file;
    file.m_fields[0].m_strValue = "linked";
    file.m_fields[0].m_bPresent = 1;
    const std::string bytes = WriteTankText(file);

    WriteBytes(dir / "perm.odf", "old\n");
    ::chmod((dir / "perm.odf").c_str(), 0640);
    ASSERT_EQ(file.SaveAs(dir / "perm.odf"), 1);
    EXPECT_EQ(ModeOf(dir / "perm.odf"), 0640u);

    // A new file gets 0666 less the umask.
    const mode_t old = ::umask(027);
    const int saved = file.SaveAs(dir / "mask.odf");
    ::umask(old);
    ASSERT_EQ(saved, 1);
    EXPECT_EQ(ModeOf(dir / "mask.odf"), 0640u);

    // A relative link in another folder is written through; the link itself stays a link.
    fs::create_directory(dir.Path() / "real");
    fs::create_directory(dir.Path() / "links");
    WriteBytes(dir / "real/target.odf", "old\n");
    fs::create_symlink("../real/target.odf", dir.Path() / "links/link.odf");
    ASSERT_EQ(file.SaveAs(dir / "links/link.odf"), 1);
    EXPECT_EQ(fs::read_symlink(dir.Path() / "links/link.odf"), "../real/target.odf");
    EXPECT_EQ(ReadBytes(dir / "real/target.odf"), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "real"), fs::directory_iterator()),
              1);

    // A link whose target does not exist yet creates the target.
    fs::create_symlink("fresh.odf", dir.Path() / "dangling.odf");
    ASSERT_EQ(file.SaveAs(dir / "dangling.odf"), 1);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "dangling.odf"));
    EXPECT_EQ(ReadBytes(dir / "fresh.odf"), bytes);
}

TEST(TankFileSave, LongestFileNameCanBeSaved) {
    CScratchDir dir;
    const std::string name = std::string(251, 'n') + ".odf"; // 255 bytes, the most a name holds
    CTankFile file;
    CMessageCapture messages;
    ASSERT_EQ(file.SaveAs(dir / name), 1) << (messages.Texts().empty() ? "" : messages.Texts()[0]);
    EXPECT_EQ(ReadBytes(dir / name), ReadBytes(DataPath("model/empty.expected.odf")));
    EXPECT_EQ(dir.Entries(), Texts{name});
}

} // namespace
