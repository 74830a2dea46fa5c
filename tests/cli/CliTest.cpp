// tarnwick-cli seen from outside: what each command prints and writes, its exit status, and
// refusals that leave files unchanged. Failing writes are the fault tests' concern.

#include "CliRunner.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <regex>
#include <sstream>

namespace {

using namespace tarnwick_test;

const std::string kTryHelp = "\nTry 'tarnwick-cli --help'.\n";

std::string Golden(const std::string& name) {
    return ReadData("cli/" + name);
}

// The lines check lists and the reasons it gives are the real files' test's, held to the written
// rules; check's golden output here is the window's list's too.
TEST_F(CliTest, ReadingCommandsPrintWhatTheFilesSet) {
    const std::string check = Golden("check_messy.expected"), json = Golden("dump_json.expected");
    const struct {
        Texts args;
        CliResult want;
    } cases[] = {
        {{"dump", "messy.odf"}, {0, Golden("dump_messy.expected"), ""}},
        {{"schema"}, {0, Golden("schema.expected"), ""}},
        {{"check", DataPath("cli/messy.expected.odf")}, {0, "", ""}},
        // An unreadable file fails the run, after the others are checked.
        {{"check", "missing.odf", "messy.odf", "."},
         {2, check,
          "Error opening tank file 'missing.odf'. (No such file or directory)\n"
          "Error opening tank file '.'. (Is a directory)\n"}},
        // get of fields set and absent, named in any case, is the real files' test's. A name of a
        // field in another group gets a hint.
        {{"get", "messy.odf", "Game.maxHealth"},
         {2, "", "Unknown field 'Game.maxHealth' (did you mean GameObject.maxHealth?)\n"}},
        {{"get", "messy.odf", "velocforward"},
         {2, "",
          "Unknown field 'velocforward' (did you mean WingmanClass.velocForward or "
          "HovercraftClass.velocForward or WalkerClass.velocForward?)\n"}},
        {{"get", "messy.odf", "a.b.c"}, {2, "", "Unknown field 'a.b.c'.\n"}},
        // JSON shows Windows-1252 bytes and UTF-8 as the window does, floats as files have them.
        {{"dump", "--json", "scout.odf", "heavy.odf"}, {0, json, ""}},
        {{"dump", "--json", "scout.odf", "missing.odf"},
         {2, json.substr(0, json.find('\n') + 1),
          "Error opening tank file 'missing.odf'. (No such file or directory)\n"}},
        {{"get", "--json", "heavy.odf", "GameObject.unitName"},
         {0, "\"Panzer \u00e9t\u00e9\"\n", ""}},
        {{"get", "--json", "scout.odf", "CraftClass.rangeScan"}, {0, "150.000000\n", ""}},
        {{"get", "--json", "heavy.odf", "CraftClass.rangeScan"}, {1, "", ""}},
        {{"dump"}, {2, "", "Usage: tarnwick-cli dump [--json] FILE" + kTryHelp}},
        {{"get", "x.odf"}, {2, "", "Usage: tarnwick-cli get [--json] FILE Group.field" + kTryHelp}},
        {{"schema", "extra"}, {2, "", "Usage: tarnwick-cli schema" + kTryHelp}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run(c.args), c.want) << c.args[0] << " " << c.args.back();
    std::istringstream lines(json);
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(nlohmann::json::accept(line)) << line;
}

TEST_F(CliTest, NormalizeWritesTheEditorsLayout) {
    EXPECT_EQ(Run({"normalize", "messy.odf", "-o", "out.odf"}), (CliResult{0, "", ""}));
    EXPECT_EQ(Bytes("messy.odf"), Golden("messy.odf"));
    EXPECT_EQ(Bytes("out.odf"), Golden("messy.expected.odf"));
    const std::pair<Texts, std::string> refused[] = {
        {{"normalize", "-o", "out.odf", "messy.odf", "messy.odf"},
         "Option -o takes a single FILE."},
        {{"normalize", "messy.odf", "-o"}, "Option -o needs a file name."},
        {{"normalize", "-x", "messy.odf"}, "Unknown option '-x'."},
    };
    for (const auto& [args, message] : refused)
        EXPECT_EQ(Run(args), (CliResult{2, "", message + kTryHelp}));
    EXPECT_EQ(Bytes("messy.odf"), Golden("messy.odf"));
    // A dash alone, and after "--" any, starts a file name.
    EXPECT_EQ(Run({"normalize", "-", "--", "-x"}),
              (CliResult{2, "",
                         "Error opening tank file '-'. (No such file or directory)\n"
                         "Error opening tank file '-x'. (No such file or directory)\n"}));

    // In place, each file; a normalized one stays as it is.
    EXPECT_EQ(Run({"normalize", "messy.odf", "messy_crlf.odf", "out.odf"}), (CliResult{0, "", ""}));
    EXPECT_EQ(Bytes("messy.odf"), Golden("messy.expected.odf"));
    EXPECT_EQ(Bytes("messy_crlf.odf"), Golden("messy_crlf.expected.odf")); // CR LF kept
    EXPECT_EQ(Bytes("out.odf"), Golden("messy.expected.odf"));
}

TEST_F(CliTest, SetChangesOnlyTheValuesWrittenAsGivenAndTakesOnlyNumbersForNumbers) {
    // Bytes that are not UTF-8 are kept byte for byte; numbers may stand between blanks, and an
    // Integer's fraction may be zeros.
    EXPECT_EQ(Run({"set", "messy_crlf.odf", "GameObject.unitName=Panzer \xe9t\xe9",
                   "GameObject.maxHealth=12.00", "CraftClass.rangeScan= 0 ", "GameObject.baseName=",
                   "WingmanClass.rollSteer=-.5", "GameObject.maxAmmo=1", "GameObject.maxAmmo=2"}),
              (CliResult{0, "", ""}));
    EXPECT_EQ(Bytes("messy_crlf.odf"), Golden("messy_crlf.set.expected.odf"));

    // An unknown field is refused as get names it (the other keys' test). The reasons a number is
    // refused for are ValueText's; one refused for its range is the real files' test's.
    const std::string ok = "GameObject.maxHealth=5"; // valid, but refused with the others
    const std::string where = "messy.odf: GameObject.maxHealth: '";
    const std::pair<std::string, std::string> refused[] = {
        {"GameObject.maxHealth",
         "Expected Group.field=VALUE, got 'GameObject.maxHealth'." + kTryHelp},
        {"GameObject.unitName=a\"b", "Cannot set GameObject.unitName: a String value cannot hold "
                                     "'\"': it would end the value.\n"},
        {"GameObject.maxHealth=abc", where + "abc' is not a number\n"},
        {"GameObject.maxHealth=[7", where + "[7' is not a number\n"},
        {"GameObject.unitName=\xc5\x81owicz",
         "messy.odf: GameObject.unitName: '\xc5\x81owicz': Windows-1252, the "
         "file's encoding, has no '\xc5\x81' (U+0141)\n"},
    };
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(m_dir / "messy.odf", old);
    for (const auto& [arg, message] : refused)
        EXPECT_EQ(Run({"set", "messy.odf", ok, arg}), (CliResult{2, "", message}));
    EXPECT_EQ(Bytes("messy.odf"), Golden("messy.odf"));
    EXPECT_EQ(fs::last_write_time(m_dir / "messy.odf"), old);

    // A UTF-8 value goes into a file in the file's encoding: Windows-1252, as for a file of
    // ASCII only, or UTF-8.
    for (const std::string name : {"scout", "messy", "hunter"}) {
        EXPECT_EQ(Run({"set", name + ".odf", "GameObject.unitName=Sp\xc3\xa4her"}),
                  (CliResult{0, "", ""}));
        EXPECT_EQ(Bytes(name + ".odf"), Golden(name + ".spaeher.expected.odf")) << name;
    }

    // --layout writes the editor's layout, as normalize does.
    m_dir.Copy("cli/messy.odf");
    EXPECT_EQ(Run({"set", "--layout", "messy.odf", "GameObject.maxHealth=1500"}).status, 0);
    EXPECT_EQ(Bytes("messy.odf"), Golden("messy.expected.odf"));

    // A file without a line the editor does not know keeps every byte but the values set, each
    // number written as given; a value equal to the one read (460 for 459.99999999999994) stays as
    // the file writes it.
    const std::pair<Texts, std::string> cases[] = {
        {{"set", "thunder.odf", "GameObject.weaponmask=00111"}, "thunder.one.odf"},
        {{"set", "thunder.odf", "GameObject.maxHealth=+2500", "CraftClass.rangeScan=460",
          "HovercraftClass.velocForward=460", "GameObject.buildTime=1e-7",
          "HovercraftClass.setAltitude=0.0000004", "GameObject.scrapValue= 7 "},
         "thunder.set.odf"},
    };
    for (const auto& [args, golden] : cases) {
        m_dir.Copy("model/thunder.odf");
        EXPECT_EQ(Run(args), (CliResult{0, "", ""})) << golden;
        EXPECT_EQ(Bytes("thunder.odf"), ReadData("model/" + golden)) << golden;
    }
}

TEST_F(CliTest, CommandLineAndFileErrorsAndTheReadmesCountOfTheLinesMakeRunShows) {
    const CliResult usage = Run({});
    EXPECT_TRUE(usage.status == 2 && usage.out.empty() && usage.err.starts_with("Usage: "))
        << usage;
    EXPECT_EQ(Run({"frobnicate"}),
              (CliResult{2, "", "Unknown command 'frobnicate'.\n" + usage.err}));
    for (const char* help : {"--help", "help"})
        EXPECT_EQ(Run({help}), (CliResult{0, usage.err, ""}));

    // Each failure says why: the system's reason, or the program's own. (Files the user may
    // not write are the fault tests'.)
    const std::pair<std::string, std::string> unreadable[] = {
        {"missing.odf", "No such file or directory"},
        {".", "Is a directory"},
        {"", "No such file or directory"},
        {"/dev/null", "not a regular file"}};
    for (const auto& [path, reason] : unreadable) {
        for (const Texts& args : {Texts{"dump", path}, Texts{"normalize", path},
                                  Texts{"get", path, "GameObject.maxHealth"},
                                  Texts{"set", path, "GameObject.maxHealth=1"}})
            EXPECT_EQ(
                Run(args),
                (CliResult{2, "", "Error opening tank file '" + path + "'. (" + reason + ")\n"}))
                << args[0] << " '" << path << "'";
    }
    EXPECT_FALSE(fs::exists(m_dir / "missing.odf"));

    // Output that cannot be written is a failure, not a quiet success.
    EXPECT_EQ(RunCli({"schema"}, {}, "/dev/full"),
              (CliResult{2, "", "Error writing to standard output.\n"}));

    // The README's first paragraph says how many unused lines `make run` shows for its example: the
    // count the window shows is the one check gives.
    const std::string root = DataPath("../..");
    const CliResult check = RunCli({"check", root + "/examples/raider.odf"});
    int unused = 0;
    std::istringstream lines(check.out);
    for (std::string line; std::getline(lines, line);)
        unused += line.find(": value read as ") == std::string::npos &&
                  line.find(": no value read: ") == std::string::npos;
    std::smatch said;
    const std::string readme = ReadBytes(root + "/README.md");
    ASSERT_TRUE(
        std::regex_search(readme, said, std::regex(R"((\d+) lines of the\s+file are not fields)")));
    EXPECT_EQ(said[1].str(), std::to_string(unused));
}

} // namespace
