// Many files at once: the CSV table, applying an edited one, and JSON output read back by a JSON
// parser. Files are compared byte for byte before and after.

#include "CliRunner.h"

#include "TestSupport.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using tarnwick_test::ReadBytes;

const std::string kData = TARNWICK_TEST_DATA "/cli";
const std::vector<std::string> kUnits = {"scout.odf", "heavy.odf", "messy.odf"};

// text with its first from replaced by to; the test fails when from is not there.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class TableTest : public ::testing::Test {
protected:
    TableTest() {
        for (const std::string& name : kUnits)
            fs::copy_file(kData + "/" + name, m_dir / name);
    }
    // Runs in the copies' folder, so that paths are given as a user in it gives them.
    CliResult Run(const std::vector<std::string>& args) { return RunCli(args, m_dir.Path()); }
    CliResult Apply(const std::string& csv, const std::vector<std::string>& options = {}) {
        tarnwick_test::WriteBytes(m_dir / "t.csv", csv);
        std::vector<std::string> args = {"apply"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("t.csv");
        return Run(args);
    }
    std::vector<std::string> Files() {
        std::vector<std::string> bytes;
        for (const std::string& name : kUnits)
            bytes.push_back(ReadBytes(m_dir / name));
        return bytes;
    }

    tarnwick_test::CScratchDir m_dir;
};

TEST_F(TableTest, TableWritesEveryValueAsGetPrintsIt) {
    CliResult table = Run({"table", "scout.odf", "heavy.odf", "messy.odf"});
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(table.err, "");
    EXPECT_EQ(table.out, ReadBytes(kData + "/table.expected.csv"));

    // Listed fields come in the list's order, spelled as the schema spells them; an unreadable
    // file is named and left out.
    table = Run({"table", "--fields", "gameobject.UNITNAME,GameObject.maxAmmo", "heavy.odf",
                 "missing.odf", "messy.odf"});
    EXPECT_EQ(table.status, 2);
    EXPECT_EQ(table.out, "file,GameObject.unitName,GameObject.maxAmmo\r\n"
                         "heavy.odf,Panzer \xe9t\xe9,\r\nmessy.odf,Heavy Tank,250\r\n");
    EXPECT_EQ(table.err, "Error opening tank file 'missing.odf'.\n");

    for (const char* list : {"GameObject.nothing", "GameObject.maxAmmo,gameobject.maxammo"}) {
        table = Run({"table", "--fields", list, "heavy.odf"});
        EXPECT_EQ(table.status, 2) << list;
        EXPECT_EQ(table.out, "") << list;
    }
}

TEST_F(TableTest, JsonReadsBackAsTheValuesTheWindowShows) {
    CliResult dump = Run({"dump", "--json", "scout.odf", "heavy.odf"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    std::istringstream lines(dump.out);
    std::vector<nlohmann::json> objects;
    for (std::string line; std::getline(lines, line);)
        objects.push_back(nlohmann::json::parse(line)); // throws, failing the test, on bad JSON
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0], nlohmann::json::parse(R"({"file": "scout.odf", "fields": {
        "GameObject": {"baseName": "", "collisionRadius": 1.25, "maxHealth": 800,
                       "unitName": "Scout, Mk 2", "aiName": " it's fast "},
        "CraftClass": {"rangeScan": 150.0, "selectWaitMsg": "\u201cAce\u201d"}}})"));
    // Windows-1252 bytes and UTF-8 side by side, each read as the window reads it.
    EXPECT_EQ(objects[1]["fields"]["GameObject"]["unitName"], "Panzer \u00e9t\u00e9");
    EXPECT_EQ(objects[1]["fields"]["GameObject"]["aiName"], "Caf\u00e9 \u20ac");
    // Floats as the editor writes them.
    EXPECT_NE(dump.out.find("\"collisionRadius\": 1.250000,"), std::string::npos);

    EXPECT_EQ(Run({"get", "--json", "heavy.odf", "GameObject.unitName"}).out,
              "\"Panzer \u00e9t\u00e9\"\n");
    EXPECT_EQ(Run({"get", "--json", "scout.odf", "CraftClass.rangeScan"}).out, "150.000000\n");
    EXPECT_EQ(Run({"get", "--json", "heavy.odf", "CraftClass.rangeScan"}).status, 1);
    CliResult bad = Run({"dump", "--json", "scout.odf", "missing.odf"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(nlohmann::json::parse(bad.out)["file"], "scout.odf");
}

TEST_F(TableTest, ApplyChangesExactlyTheEditedValues) {
    // Written and applied unchanged, a table changes nothing, not even a file's time.
    const std::vector<std::string> before = Files();
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const std::string& name : kUnits)
        fs::last_write_time(m_dir / name, old);
    CliResult result = Apply(Run({"table", "scout.odf", "heavy.odf", "messy.odf"}).out);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Total: 0 values changed in 0 files\n");
    EXPECT_EQ(Files(), before);
    for (const std::string& name : kUnits)
        EXPECT_EQ(fs::last_write_time(m_dir / name), old) << name;

    // Columns in any order, a subset of them; 2500.0 is heavy's value, only spelled otherwise;
    // an empty cell removes a field; messy's value gets a comma.
    const std::string edited = "GameObject.maxHealth,file,GameObject.unitName\r\n"
                               "850,scout.odf,\"Scout, Mk 2\"\r\n"
                               "2500.0,heavy.odf,\r\n"
                               "1500,messy.odf,\"Heavy, Tank\"\r\n";
    const std::string report = "scout.odf: 1 value changed\nheavy.odf: 1 value changed\n"
                               "messy.odf: 1 value changed\nTotal: 3 values changed in 3 files\n";
    result = Apply(edited, {"--dry-run"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, report);
    EXPECT_EQ(Files(), before);

    result = Apply(edited + "800,./scout-copy.odf,\"Scout, Mk 2\"\r\n");
    EXPECT_EQ(result.status, 2); // a file that cannot be read stops it all
    fs::copy_file(m_dir / "scout.odf", m_dir / "scout-copy.odf");
    fs::last_write_time(m_dir / "scout-copy.odf", old);
    result = Apply(edited + "800,./scout-copy.odf,\"Scout, Mk 2\"\r\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, report);
    EXPECT_EQ(Files(), (std::vector<std::string>{
                           Replaced(before[0], "maxHealth = 800\n", "maxHealth = 850\n"),
                           Replaced(before[1], "unitName = \"Panzer \xe9t\xe9\"\r\n", ""),
                           Replaced(before[2], "unitName = x \"Heavy Tank\" z\n",
                                    "unitName = \"Heavy, Tank\"\n"),
                       }));
    EXPECT_EQ(ReadBytes(m_dir / "scout-copy.odf"), before[0]);
    EXPECT_EQ(fs::last_write_time(m_dir / "scout-copy.odf"), old);
}

TEST_F(TableTest, ApplyRefusesABadTableAndChangesNothing) {
    const std::string header = "file,GameObject.maxHealth,GameObject.unitName\n";
    const std::string good = "scout.odf,1,x\n"; // applied only when every row is good
    struct Case {
        std::string csv, error;
    } cases[] = {
        {"file,GameObject.maxHealth,Nowhere.x\n" + good, "t.csv:1: unknown column 'Nowhere.x'"},
        {"file,GameObject.maxHealth,gameobject.MAXHEALTH\n" + good,
         "t.csv:1: repeated column 'gameobject.MAXHEALTH'"},
        {"GameObject.maxHealth,GameObject.unitName\n1,x\n", "t.csv:1: no 'file' column"},
        {"", "t.csv:1: the table has no header row"},
        {header + good + "heavy.odf,1\n", "t.csv:3: 2 cells where the header has 3"},
        {header + good + "\n\n./scout.odf,2,y\n",
         "t.csv:5: file './scout.odf' is already on line 2"},
        {header + good + "nothing.odf,2,y\n", "t.csv:3: Error opening tank file 'nothing.odf'."},
        {header + good + ",2,y\n", "t.csv:3: the row names no file"},
        {header + good + "heavy.odf,2,\"a\"\"b\"\n",
         "t.csv:3: GameObject.unitName: a String value cannot hold '\"'"},
        {header + good + "heavy.odf,2,[x]\n", "t.csv:3: GameObject.unitName: a String value "
                                              "cannot hold '['"},
        {header + good + "heavy.odf,2,\"a\r\nb\"\n", "t.csv:3: GameObject.unitName: a String "
                                                     "value cannot hold a line break"},
        {header + good + "heavy.odf,2,\xEF\xBF\xBD\n", "t.csv:3: GameObject.unitName: the cell "
                                                       "holds U+FFFD"},
        {header + good + "heavy.odf,2,a\"b\n", "t.csv:3: a quote stands inside a cell"},
        {header + good + "heavy.odf,2,\"a\nb\n", "t.csv:3: a quoted cell of this row is never "
                                                 "closed"},
        {"file,GameObject.maxHealth,\n" + good, "t.csv:2: a cell stands in a column without a "
                                                "name"},
    };
    const std::vector<std::string> before = Files();
    for (const Case& c : cases) {
        CliResult result = Apply(c.csv);
        EXPECT_EQ(result.status, 2) << c.csv;
        EXPECT_EQ(result.out, "") << c.csv;
        EXPECT_TRUE(result.err.starts_with(c.error)) << c.csv << result.err;
        EXPECT_EQ(Files(), before) << c.csv;
    }
    EXPECT_EQ(Run({"apply"}).status, 2);
    EXPECT_EQ(Run({"apply", "--force", "t.csv"}).status, 2);
    EXPECT_EQ(Run({"apply", "none.csv"}).err, "Error opening table 'none.csv'.\n");
}

// Spreadsheets' own exports, read back: LibreOffice's (every text quoted, LF, numbers as it
// shows them) and what others add: a byte order mark, CR LF or lone CR, no final line end, a
// trailing empty column, blank rows. Each names the same values as the files hold.
TEST_F(TableTest, SpreadsheetExportsChangeOnlyWhatWasEdited) {
    const std::string calc = ReadBytes(kData + "/table.calc-1252.csv");
    auto lf = [](std::string text, const std::string& end) {
        for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += end.size())
            text.replace(at, 1, end);
        return text;
    };
    std::string trailing = lf(calc, ",\n");
    trailing.pop_back(); // no final line end
    const std::string exports[] = {
        calc,     "\xEF\xBB\xBF" + lf(calc, "\r\n"), lf(calc, "\r"),
        trailing, calc + ",,,,,,,,,,,,,\n\n",
    };
    const std::vector<std::string> before = Files();
    for (const std::string& csv : exports) {
        CliResult result = Apply(csv);
        EXPECT_EQ(result.status, 0) << csv << result.err;
        EXPECT_EQ(result.out, "Total: 0 values changed in 0 files\n") << csv;
        result = Apply(Replaced(csv, "800", "850"));
        EXPECT_EQ(result.out, "scout.odf: 1 value changed\nTotal: 1 value changed in 1 file\n");
        EXPECT_EQ(ReadBytes(m_dir / "scout.odf"),
                  Replaced(before[0], "maxHealth = 800", "maxHealth = 850"));
        fs::copy_file(kData + "/scout.odf", m_dir / "scout.odf",
                      fs::copy_options::overwrite_existing);
    }
    // Read as UTF-8, Windows-1252 bytes come back as U+FFFD: refused, not written.
    CliResult result = Apply(ReadBytes(kData + "/table.calc-utf8.csv"));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(Files(), before);
}

} // namespace
