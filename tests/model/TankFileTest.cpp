// Reading and saving tank files: golden pairs of an input and the file the program saves from it,
// what loading does to an object already in use, and where a save goes. Loads and saves that
// fail are the fault tests' concern.

#include "TankFile.h"
#include "CliRunner.h"
#include "Schema.h"
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
    const std::string expected = ReadData("model/" + name + ".expected.odf");
    ASSERT_FALSE(expected.empty());
    CScratchDir dir; // a copy of the input, which no save of a faulty build can change
    const std::string input = dir.Copy("model/" + name + ".odf");

    CMessageCapture messages;
    CTankFile file;
    ASSERT_TRUE(file.Load(input));
    EXPECT_EQ(file.m_strPath + " " + file.m_strFileName, input + " " + name + ".odf");
    EXPECT_EQ(file.Text(), expected);

    file.m_bModified = true;
    ASSERT_TRUE(file.SaveAs(dir / "out.odf"));
    EXPECT_FALSE(file.m_bModified);
    EXPECT_EQ(ReadBytes(dir / "out.odf"), expected);
    EXPECT_EQ(dir.Entries().size(), 2u);

    CTankFile again;
    ASSERT_TRUE(again.Load(dir / "out.odf"));
    EXPECT_EQ(again.Text(), expected);
    EXPECT_TRUE(messages.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Model, GoldenPair,
                         ::testing::Values("empty", "layout", "keys", "strings", "numbers",
                                           "lastwins", "crlf", "mixed", "bytes", "nofinalnewline",
                                           "longlines", "ivtank", "apc", "bomber"));

// Applies "Group.field=value" as the value box applies typed text: empty text removes the field.
void ApplyEdit(CTankFile& file, const std::string& edit) {
    const auto dot = edit.find('.'), equals = edit.find('=');
    CFieldEntry* field = file.FindField(edit.substr(dot + 1, equals - dot - 1),
                                        CSchema::Get().FindGroup("[" + edit.substr(0, dot) + "]"));
    ASSERT_NE(field, nullptr) << edit;
    ApplyTypedValue(*field, std::string_view(edit).substr(equals + 1));
}

// A keeping save gives the loaded bytes but for the values of the fields whose value or presence
// changed, both as text and through a real save; the saved file is then the one kept. Which
// lines are unused is pinned by the golden output of `tarnwick-cli check` on each input.
TEST(TankFileSave, KeepingSaveChangesOnlyChangedFieldsAndSavesGoThroughLinksKeepingModes) {
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
        // Comments beside values after blanks, a tab or nothing, a float's "f", doubled quotes,
        // an unclosed quote, a key without blanks, an overridden line with a comment, a stray
        // minus before a number's own.
        {"hvlight",
         {"GameObject.unitName=Lynx Mk 2", "GameObject.aiName=TankFriend2",
          "GameObject.aiName2=TankEnemy", "GameObject.scrapCost=50", "GameObject.buildTime=6.5",
          "GameObject.maxHealth=2000", "GameObject.maxAmmo=1000", "GameObject.heatSignature=1.25",
          "GameObject.imageSignature=3", "GameObject.weaponName1=gminigun",
          "CraftClass.rangeScan=3", "HovercraftClass.velocForward=28",
          "HovercraftClass.setAltitude=2.2", "GameObject.scrapValue=25",
          "HovercraftClass.velocReverse=12"},
         "hvlight.kept"},
        {"bomber", {}, "bomber"}, // a byte order mark, CR LF
        {"bomber", {"GameObject.maxHealth=3500"}, "bomber.kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        const std::string expected = ReadData("model/" + std::string(c.expected) + ".odf");
        ASSERT_FALSE(expected.empty());
        CScratchDir dir;
        CTankFile file;
        const std::string input = std::string(c.input) + ".odf";
        ASSERT_TRUE(file.Load(dir.Copy("model/" + input)));
        EXPECT_EQ(file.UnusedLineCount(),
                  std::ranges::count_if(file.ReportedLines(), &CUnusedLine::unused));
        const std::string check = ReadData("model/" + std::string(c.input) + ".check");
        EXPECT_EQ(RunCli({"check", input}, dir.Path()),
                  (CliResult{check.empty() ? 0 : 1, check, ""}));
        for (const std::string& edit : c.edits)
            ApplyEdit(file, edit);
        EXPECT_EQ(file.Text(SaveStyle::KeepFile), expected);

        ASSERT_TRUE(file.SaveAs(dir / "out.odf", SaveStyle::KeepFile));
        EXPECT_EQ(ReadBytes(dir / "out.odf"), expected);
        EXPECT_EQ(file.Text(SaveStyle::KeepFile), expected);
    }

    // Saves through links, one keeping the target's mode, a new file and the longest name a folder
    // holds: each writes the target and leaves nothing else behind.
    CScratchDir dir;
    CTankFile file;
    const std::string bytes = file.Text();
    const std::string longName = std::string(251, 'n') + ".odf"; // 255 bytes
    WriteBytes(dir / "perm.odf", "old\n");
    ::chmod((dir / "perm.odf").c_str(), 0604);
    fs::create_directory(dir.Path() / "real");
    fs::create_directory(dir.Path() / "links");
    WriteBytes(dir / "real/target.odf", "old\n");
    fs::create_symlink("../real/target.odf", dir.Path() / "links/link.odf"); // relative, elsewhere
    fs::create_symlink("fresh.odf", dir.Path() / "dangling.odf"); // its target does not exist yet
    const mode_t old = ::umask(027); // a new file gets 0666 less the umask
    for (const std::string& name :
         Texts{"perm.odf", "new.odf", "links/link.odf", "dangling.odf", longName})
        EXPECT_TRUE(file.SaveAs(dir / name)) << name;
    ::umask(old);
    for (const std::string& name :
         Texts{"perm.odf", "new.odf", "real/target.odf", "fresh.odf", longName})
        EXPECT_EQ(ReadBytes(dir / name), bytes) << name;
    EXPECT_EQ(fs::status(dir / "perm.odf").permissions(), fs::perms(0604));
    EXPECT_EQ(fs::status(dir / "new.odf").permissions(), fs::perms(0640));
    EXPECT_EQ(fs::read_symlink(dir.Path() / "links/link.odf"), "../real/target.odf");
    EXPECT_EQ(fs::read_symlink(dir.Path() / "dangling.odf"), "fresh.odf");
    EXPECT_EQ(dir.Entries(), (Texts{"dangling.odf", "fresh.odf", "links", "new.odf", longName,
                                    "perm.odf", "real"}));
    EXPECT_EQ(dir.Entries("real"), Texts{"target.odf"});
}

// Every other key as "Group.key = raw value", in the order first met; absent ones end in " -".
Texts OtherKeysOf(const CTankFile& file) {
    Texts keys;
    file.m_otherKeys.ForEach([&keys](std::size_t, const COtherKey& key) {
        keys.push_back(std::string(key.group) + "." + std::string(key.name) + " = " +
                       std::string(key.value) + (key.present ? "" : " -"));
    });
    return keys;
}

// Keys the schema does not know, under headers that select a group and under headers that name
// one of their own (ignoring case, blanks inside the brackets aside), are read with their raw
// values, with LF or CR LF line ends alike; a later line of a key gives its value. Indented and
// commented-out keys, keys that are no names and sections of no name are not other keys.
TEST(TankFileOtherKeys, AreReadWithTheirRawValuesAndKeptInPlace) {
    const Texts keys = {"GameObject.weaponName = \"gun\"",
                        "GameObject.cloakAllowed = 1",
                        "HovercraftClass.soundTurbo = \"avtanke4.wav\"",
                        "HovercraftClass.emptyKey = ",
                        "BuildingClass.powerCost = 0.75",
                        "BuildingClass.soundAmbient = \"hum.wav\"",
                        "ProducerClass.unknownThing = NULL",
                        "BuildingClass.armor = 12"};
    CScratchDir dir;
    const std::string lf = ReadData("model/others.odf");
    for (const std::string& bytes : {lf, WithLineEnds(lf, "\r\n")}) {
        WriteBytes(dir / "others.odf", bytes);
        CTankFile file;
        ASSERT_TRUE(file.Load(dir / "others.odf"));
        EXPECT_EQ(OtherKeysOf(file), keys);
        EXPECT_EQ(file.m_otherKeys.Find("hovercraftclass", "SoundTurbo"), 2);
        EXPECT_EQ(file.m_otherKeys.Find("GameObject", "maxHealth"), -1);
        EXPECT_EQ(file.Text(SaveStyle::KeepFile), bytes);
        // A template reads the same keys without keeping the lines.
        CTankFile lean;
        ASSERT_TRUE(lean.Load(dir / "others.odf", CTankFile::Lines::Drop));
        EXPECT_EQ(OtherKeysOf(lean), keys);
        // The layout drops them.
        EXPECT_EQ(file.Text().find("avtanke"), std::string::npos);
    }

    // A change goes in place on the key's last line; a removal takes every line of the key in its
    // group; a value given to an empty one stands after a blank.
    CTankFile file;
    ASSERT_TRUE(file.Load(dir.Copy("model/others.odf")));
    file.m_otherKeys.SetValue(2, "\"avtanke5.wav\"");
    file.m_otherKeys.SetValue(3, "7");
    file.m_otherKeys.SetValue(4, {}, false);
    file.m_otherKeys.SetValue(5, "\"quiet.wav\"");
    const std::string expected = ReadData("model/others.kept.odf");
    EXPECT_EQ(file.Text(SaveStyle::KeepFile), expected);

    // Saved, the document keeps its keys' places, the removed one absent; brought back, a key
    // that no line sets any more is added at the end of its group's section.
    ASSERT_TRUE(file.Save(SaveStyle::KeepFile));
    EXPECT_EQ(ReadBytes(dir / "others.odf"), expected);
    EXPECT_EQ(file.Text(SaveStyle::KeepFile), expected);
    file.m_otherKeys.SetValue(4, "0.75");
    file.m_otherKeys.SetValue(1, {}, false);
    EXPECT_EQ(file.Text(SaveStyle::KeepFile),
              Replaced(Replaced(expected, "cloakAllowed = 1\n", ""), "armor = 12\n",
                       "armor = 12\npowerCost = 0.75\n"));

    // A number keeps its text as the file writes it, and only that: what stands after it is no part
    // of it.
    CTankFile numbers;
    numbers.ReadText("[GameObject]\nmaxHealth = 00120 rounds\nbuildTime = 1e-7f // x\n"
                     "collisionRadius = --2.50\nscrapCost = none\n");
    const std::pair<const char*, const char*> kept[] = {{"GameObject.maxHealth", "00120"},
                                                        {"GameObject.buildTime", "1e-7"},
                                                        {"GameObject.collisionRadius", "-2.50"},
                                                        {"GameObject.scrapCost", "0"}};
    for (const auto& [path, text] : kept)
        EXPECT_EQ(KeptValue(Field(numbers, path)), text) << path;
}

} // namespace
