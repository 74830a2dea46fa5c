// Many files at once: the CSV table and applying an edited one. Files are compared byte for byte
// before and after.

#include "CliRunner.h"

#include <chrono>

namespace {

using namespace tarnwick_test;

class TableTest : public CliTest {
protected:
    CliResult Apply(const std::string& csv, const Texts& options = {}) {
        WriteBytes(m_dir / "t.csv", csv);
        Texts args = {"apply"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("t.csv");
        return Run(args);
    }
    Texts Files() { return {Bytes("scout.odf"), Bytes("heavy.odf"), Bytes("messy.odf")}; }
    // Dates the files a day back, so that Untouched() tells whether anything wrote them since.
    void Age() {
        for (const char* name : {"scout.odf", "heavy.odf", "messy.odf"})
            fs::last_write_time(m_dir / name, m_old);
    }
    bool Untouched() {
        return std::ranges::all_of(
            Texts{"scout.odf", "heavy.odf", "messy.odf"},
            [this](const std::string& name) { return fs::last_write_time(m_dir / name) == m_old; });
    }

    const fs::file_time_type m_old = fs::file_time_type::clock::now() - std::chrono::hours(24);
};

TEST_F(TableTest, TableWritesValuesAsGetApplyRefusesABadTableAndTakesSpreadsheetsExports) {
    EXPECT_EQ(Run({"table", "scout.odf", "heavy.odf", "messy.odf"}),
              (CliResult{0, ReadData("cli/table.expected.csv"), ""}));

    // Listed fields come in the list's order, spelled as the schema spells them; an unreadable
    // file is named and left out.
    EXPECT_EQ(
        Run({"table", "--fields", "gameobject.UNITNAME,GameObject.maxAmmo,GAMEOBJECT.maxhealth",
             "heavy.odf", "missing.odf", "messy.odf"}),
        (CliResult{2,
                   "file,GameObject.unitName,GameObject.maxAmmo,GameObject.maxHealth\r\n"
                   "heavy.odf,Panzer \xe9t\xe9,,2500\r\nmessy.odf,Heavy Tank,250,1500\r\n",
                   "Error opening tank file 'missing.odf'. (No such file or directory)\n"}));
    // Blanks and tabs around a name are how people write lists.
    EXPECT_EQ(
        Run({"table", "--fields", " GameObject.maxHealth,\tGameObject.maxAmmo ", "messy.odf"}),
        (CliResult{0, "file,GameObject.maxHealth,GameObject.maxAmmo\r\nmessy.odf,1500,250\r\n",
                   ""}));
    EXPECT_EQ(Run({"table", "--fields", "GameObject.maxAmmo", "--fields", "x", "heavy.odf"}),
              (CliResult{2, "",
                         "Option --fields is given more than once.\nTry 'tarnwick-cli "
                         "--help'.\n"}));
    for (const char* list :
         {"GameObject.nothing", "GameObject.maxAmmo,gameobject.maxammo", "GameObject.maxAmmo,"}) {
        const CliResult refused = Run({"table", "--fields", list, "heavy.odf"});
        EXPECT_TRUE(refused.status == 2 && refused.out.empty()) << list;
    }

    // Rows after a good one, which is applied only when every row is good.
    const std::string rows = "file,GameObject.maxHealth,GameObject.unitName\nscout.odf,1,x\n";
    const std::string line3 = "t.csv:3: ", unitName = "t.csv:3: GameObject.unitName: ";
    const std::pair<std::string, std::string> cases[] = {
        {"file,GameObject.maxHealth,Nowhere.x\nscout.odf,1,x\n",
         "t.csv:1: unknown column 'Nowhere.x'"},
        {"file,GameObject.maxHealth,gameobject.MAXHEALTH\nscout.odf,1,1\n",
         "t.csv:1: repeated column 'gameobject.MAXHEALTH'"},
        {"file,BuildingClass.armor,buildingclass.ARMOR\nothers.odf,1,1\n",
         "t.csv:1: repeated column 'buildingclass.ARMOR'"},
        {"GameObject.maxHealth,GameObject.unitName\n1,x\n", "t.csv:1: no 'file' column"},
        {"", "t.csv:1: the table has no header row"},
        {rows + "heavy.odf,1\n", line3 + "2 cells where the header has 3"},
        {"file,GameObject.maxHealth\nscout.odf,1,x\n", "t.csv:2: 3 cells where the header has 2"},
        {rows + "heavy.odf\n", line3 + "1 cell where the header has 3"},
        {"file;GameObject.maxHealth\nscout.odf;1\n",
         "t.csv:1: the cells are separated by semicolons; save the table with commas (CSV)\n"},
        {"file\tGameObject.maxHealth\nscout.odf\t1\n",
         "t.csv:1: the cells are separated by tabs; save the table with commas (CSV)\n"},
        {rows + "\n\n./scout.odf,2,y\n", "t.csv:5: file './scout.odf' is already on line 2"},
        {rows + "nothing.odf,2,y\n",
         line3 + "Error opening tank file 'nothing.odf'. (No such file or directory)"},
        {rows + ",2,y\n", line3 + "the row names no file"},
        {rows + "heavy.odf,2,[x]\n", unitName + "a String value cannot hold '['"},
        {rows + "heavy.odf,2,\"a\r\nb\"\n", unitName + "a String value cannot hold a line break"},
        {rows + "heavy.odf,2,\xEF\xBF\xBD\n", unitName + "the cell holds U+FFFD"},
        {rows + "heavy.odf,2,a\"b\n", line3 + "a quote stands inside a cell"},
        {rows + "heavy.odf,2,\"a\nb\n", line3 + "a quoted cell of this row is never closed"},
        {"file,GameObject.maxHealth,\nscout.odf,1,x\n",
         "t.csv:2: a cell stands in a column without a name"},
        // The schema's first field is a column like any other.
        {"file,GameObject.baseName\nscout.odf,a[b\n",
         "t.csv:2: GameObject.baseName: a String value cannot hold '['"},
        // The reasons are ValueText's, as set gives them.
        {rows + "heavy.odf,abc,x\n", line3 + "GameObject.maxHealth: 'abc' is not a number\n"},
        {rows + "heavy.odf,2147483648,x\n",
         line3 + "GameObject.maxHealth: '2147483648' is out of range (an Integer holds "
                 "-2147483648 to 2147483647).\n"},
        {rows + "heavy.odf,2,\xc5\x81owicz\n",
         line3 + "heavy.odf: GameObject.unitName: '\xc5\x81owicz': Windows-1252, the file's "
                 "encoding, has no '\xc5\x81' (U+0141)\n"},
    };
    const Texts before = Files();
    Age();
    for (const auto& [csv, error] : cases) {
        const CliResult result = Apply(csv);
        EXPECT_TRUE(result.status == 2 && result.out.empty() && result.err.starts_with(error))
            << csv << result;
        EXPECT_EQ(Files(), before) << csv;
    }
    EXPECT_TRUE(Untouched());
    EXPECT_EQ(Run({"apply"}).status, 2);
    EXPECT_EQ(Run({"apply", "--force", "t.csv"}).status, 2);
    EXPECT_EQ(Run({"apply", "none.csv"}),
              (CliResult{2, "", "Error opening table 'none.csv'. (No such file or directory)\n"}));

    // Spreadsheets' own exports, read back: LibreOffice's (every text quoted, LF, numbers as it
    // shows them) and what others add: a byte order mark, CR LF or lone CR, no final line end, a
    // trailing empty column, blank rows. Each names the same values as the files hold.
    const std::string calc = ReadData("cli/table.calc-1252.csv");
    std::string trailing = WithLineEnds(calc, ",\n");
    trailing.pop_back(); // no final line end
    const std::string exports[] = {
        calc,
        "\xEF\xBB\xBF" + WithLineEnds(calc, "\r\n"),
        WithLineEnds(calc, "\r"),
        trailing,
        calc + ",,,,,,,,,,,,,\n\n",
    };
    for (const std::string& csv : exports) {
        EXPECT_EQ(Apply(csv), (CliResult{0, "Total: 0 values changed in 0 files\n", ""})) << csv;
        EXPECT_EQ(Apply(Replaced(csv, "800", "850")).out,
                  "scout.odf: 1 value changed\nTotal: 1 value changed in 1 file\n");
        EXPECT_EQ(Bytes("scout.odf"), Replaced(before[0], "maxHealth = 800", "maxHealth = 850"));
        m_dir.Copy("cli/scout.odf");
    }
    // Read as UTF-8, Windows-1252 bytes come back as U+FFFD: refused, not written.
    EXPECT_EQ(Apply(ReadData("cli/table.calc-utf8.csv")).status, 2);
    EXPECT_EQ(Files(), before);
}

TEST_F(TableTest, ApplyChangesExactlyTheEditedValuesAndOtherKeysAreReadSetAndTabledRaw) {
    // Written and applied unchanged, a table changes nothing, not even a file's time, nor
    // heavy's value in UTF-8 although heavy is a Windows-1252 file.
    const Texts before = Files();
    Age();
    EXPECT_EQ(Apply(Run({"table", "scout.odf", "heavy.odf", "messy.odf"}).out),
              (CliResult{0, "Total: 0 values changed in 0 files\n", ""}));
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(Untouched());

    // Columns in any order, a subset of them; 2500.0 is heavy's value, only spelled otherwise;
    // an empty cell removes a field; scout's value goes in as Windows-1252, as scout is; messy's
    // value gets a comma between the stray text that stays beside it.
    const std::string edited = "GameObject.maxHealth,file,GameObject.unitName\r\n"
                               "850,scout.odf,\"Sp\xc3\xa4her, Mk 2\"\r\n"
                               "2500.0,heavy.odf,\r\n"
                               "1500,messy.odf,\"Heavy, Tank\"\r\n";
    const std::string report = "scout.odf: 2 values changed\nheavy.odf: 1 value changed\n"
                               "messy.odf: 1 value changed\nTotal: 4 values changed in 3 files\n";
    // A dry run lists each change first, values as get prints them.
    EXPECT_EQ(Apply(edited, {"--dry-run"}),
              (CliResult{0,
                         "scout.odf: GameObject.maxHealth: 800 -> 850\n"
                         "scout.odf: GameObject.unitName: Scout, Mk 2 -> Sp\xe4her, Mk 2\n"
                         "heavy.odf: GameObject.unitName: Panzer \xe9t\xe9 -> (absent)\n"
                         "messy.odf: GameObject.unitName: Heavy Tank -> Heavy, Tank\n" +
                             report,
                         ""}));
    EXPECT_EQ(Files(), before);

    EXPECT_EQ(Apply(edited), (CliResult{0, report, ""}));
    EXPECT_EQ(Files(),
              (Texts{Replaced(Replaced(before[0], "maxHealth = 800\n", "maxHealth = 850\n"),
                              "\"Scout, Mk 2\"", "\"Sp\xe4her, Mk 2\""),
                     Replaced(before[1], "unitName = \"Panzer \xe9t\xe9\"\r\n", ""),
                     Replaced(before[2], "\"Heavy Tank\"", "\"Heavy, Tank\"")}));

    // A Float finer than the table's six decimals is not lost to them when its cell is left as it
    // was; a cell edited, even below them, is taken.
    WriteBytes(m_dir / "fine.odf",
               "[CraftClass]\nrangeScan = 0.0000004\nperiodScan = 0.12345678\n");
    const std::string fine = Run({"table", "fine.odf"}).out;
    EXPECT_EQ(fine,
              "file,CraftClass.rangeScan,CraftClass.periodScan\r\nfine.odf,0.000000,0.123457\r\n");
    for (const std::string& csv : {fine, std::string("file,CraftClass.rangeScan\nfine.odf,4e-7\n")})
        EXPECT_EQ(Apply(csv), (CliResult{0, "Total: 0 values changed in 0 files\n", ""})) << csv;
    EXPECT_EQ(Apply("file,CraftClass.rangeScan\nfine.odf,1e-7\n").status, 0);
    EXPECT_EQ(Bytes("fine.odf"), "[CraftClass]\nrangeScan = 1e-7\nperiodScan = 0.12345678\n");

    // "" sets an empty String; an empty cell over one that is set but empty keeps it.
    EXPECT_EQ(Apply("file,GameObject.baseName,GameObject.classLabel\r\nscout.odf,,\"\"\r\n"),
              (CliResult{0, "scout.odf: 1 value changed\nTotal: 1 value changed in 1 file\n", ""}));
    EXPECT_NE(Bytes("scout.odf").find("baseName = \"\"\nclassLabel = \"\""), std::string::npos);
    // A trailing comma on a row adds no cell. (A number going in as the cell gives it is the real
    // files' test's.)
    EXPECT_EQ(
        Apply("file,GameObject.maxHealth,GameObject.buildTime\nscout.odf,+00851,1e-7,\n"),
        (CliResult{0, "scout.odf: 2 values changed\nTotal: 2 values changed in 1 file\n", ""}));

    // Keys the schema does not know, named Group.key: printed raw, set in place and removed as set
    // does it, in tables and applied back; a name no file has is refused with a hint where one
    // helps.
    m_dir.Copy("model/others.odf");
    const std::string others = Bytes("others.odf");
    const struct {
        Texts args;
        CliResult want;
    } cases[] = {
        {{"get", "others.odf", "hovercraftclass.SOUNDTURBO"}, {0, "\"avtanke4.wav\"\n", ""}},
        {{"get", "--json", "others.odf", "BuildingClass.powerCost"}, {0, "\"0.75\"\n", ""}},
        {{"get", "others.odf", "HovercraftClass.emptyKey"}, {0, "\n", ""}},
        {{"get", "others.odf", "BuildingClass.nothing"}, {1, "", ""}},
        {{"get", "others.odf", "GameObject.soundTurbo"},
         {2, "",
          "Unknown field 'GameObject.soundTurbo' (did you mean WingmanClass.soundTurbo or "
          "TurrettankClass.soundTurbo or HovercraftClass.soundTurbo?)\n"}},
        {{"set", "others.odf", "BuildingClass.nothing=1"},
         {2, "", "Unknown field 'BuildingClass.nothing'.\n"}},
        {{"set", "others.odf", "BuildingClass.armor=[12]"},
         {2, "",
          "Cannot set BuildingClass.armor: a raw value cannot hold '[': the line would read "
          "as a group header.\n"}},
        {{"set", "others.odf", "BuildingClass.armor=12 // a"},
         {2, "",
          "Cannot set BuildingClass.armor: a raw value cannot hold '//' outside quotes: it "
          "would read as a comment.\n"}},
        {{"table", "--fields", "GameObject.maxHealth, buildingclass.ARMOR,GameObject.cloakAllowed",
          "others.odf", "messy.odf"},
         {0,
          "file,GameObject.maxHealth,BuildingClass.armor,GameObject.cloakAllowed\r\n"
          "others.odf,2000,12,1\r\nmessy.odf,1500,,\r\n",
          ""}},
        {{"table", "--fields", "BuildingClass.nothing", "others.odf"},
         {2, "", "Unknown field 'BuildingClass.nothing'.\n"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run(c.args), c.want) << c.args[0] << " " << c.args.back();
    EXPECT_EQ(Bytes("others.odf"), others);

    EXPECT_EQ(Run({"set", "others.odf", "HovercraftClass.soundTurbo= \"avtanke5.wav\" ",
                   "BuildingClass.powerCost=", "BuildingClass.soundAmbient=\"quiet.wav\"",
                   "HovercraftClass.emptyKey=7"}),
              (CliResult{0, "", ""}));
    EXPECT_EQ(Bytes("others.odf"), ReadData("model/others.kept.odf"));

    // Applied back: a changed raw text, an emptied one removed, an empty cell for a file without
    // the key left alone; a value for a file without the key is refused, as is a column no file
    // has.
    EXPECT_EQ(Apply("file,BuildingClass.armor,GameObject.cloakAllowed\n"
                    "others.odf,\"14\",\nmessy.odf,,\n",
                    {"--dry-run"}),
              (CliResult{0,
                         "others.odf: BuildingClass.armor: 12 -> 14\n"
                         "others.odf: GameObject.cloakAllowed: 1 -> (absent)\n"
                         "others.odf: 2 values changed\nTotal: 2 values changed in 1 file\n",
                         ""}));
    EXPECT_EQ(Apply("file,BuildingClass.armor\nothers.odf,14\nmessy.odf,3\n"),
              (CliResult{2, "", "t.csv:3: messy.odf: unknown field 'BuildingClass.armor'\n"}));
    EXPECT_EQ(Apply("file,Building.armr\nothers.odf,\n"),
              (CliResult{2, "", "t.csv:1: unknown column 'Building.armr'\n"}));
    EXPECT_EQ(Bytes("others.odf"), ReadData("model/others.kept.odf"));
}

} // namespace
