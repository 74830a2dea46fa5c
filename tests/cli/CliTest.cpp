// tarnwick-cli seen from outside: golden files, exit statuses, and refusals that leave files
// unchanged. Failing writes are the fault tests' concern.

#include "CliRunner.h"

#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;

const std::string kData = TARNWICK_TEST_DATA "/cli";

using tarnwick_test::ReadBytes;

class CliTest : public ::testing::Test {
protected:
    // A copy of a data file in this test's own folder, free to be changed.
    std::string Copy(const std::string& name) {
        fs::copy_file(kData + "/" + name, m_dir / name);
        return m_dir / name;
    }

    tarnwick_test::CScratchDir m_dir;
};

TEST_F(CliTest, NormalizeRewritesEachFileInTheProgramsLayout) {
    std::string lf = Copy("messy.odf"), crlf = Copy("messy_crlf.odf");
    CliResult result = RunCli({"normalize", lf, crlf});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(ReadBytes(lf), ReadBytes(kData + "/messy.expected.odf"));
    EXPECT_EQ(ReadBytes(crlf), ReadBytes(kData + "/messy_crlf.expected.odf")); // CR LF kept

    // A normalized file is a fixed point.
    EXPECT_EQ(RunCli({"normalize", lf}).status, 0);
    EXPECT_EQ(ReadBytes(lf), ReadBytes(kData + "/messy.expected.odf"));
}

TEST_F(CliTest, NormalizeWithOutputLeavesTheInputAlone) {
    std::string in = Copy("messy.odf"), out = m_dir / "out.odf";
    CliResult result = RunCli({"normalize", in, "-o", out});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadBytes(in), ReadBytes(kData + "/messy.odf"));
    EXPECT_EQ(ReadBytes(out), ReadBytes(kData + "/messy.expected.odf"));

    result = RunCli({"normalize", "-o", out, in, in});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Option -o takes a single FILE."), std::string::npos);
    EXPECT_EQ(RunCli({"normalize", in, "-o"}).status, 2);
    EXPECT_EQ(RunCli({"normalize", "-x", in}).status, 2);
    EXPECT_EQ(ReadBytes(in), ReadBytes(kData + "/messy.odf"));
}

TEST_F(CliTest, DumpAndSchemaMatchTheirGoldenFiles) {
    CliResult dump = RunCli({"dump", "messy.odf"}, kData);
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out, ReadBytes(kData + "/dump_messy.expected"));

    CliResult schema = RunCli({"schema"});
    EXPECT_EQ(schema.status, 0);
    EXPECT_EQ(schema.out, ReadBytes(kData + "/schema.expected"));
}

TEST_F(CliTest, GetPrintsOneValueOrSaysItIsAbsent) {
    auto get = [](const std::string& field) { return RunCli({"get", "messy.odf", field}, kData); };
    EXPECT_EQ(get("GameObject.unitName").out, "Heavy Tank\n");
    EXPECT_EQ(get("GameObject.collisionRadius").out, "-2.500000\n");
    EXPECT_EQ(get("GameObject.maxAmmo").out, "250\n");
    EXPECT_EQ(get("GameObject.scrapCost").out, "0\n"); // emptied, still present

    CliResult absent = get("GameObject.classLabel");
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.out + absent.err, "");

    // Names match ignoring case, as keys in a file do.
    EXPECT_EQ(get("gameobject.MAXHEALTH").out, "1500\n");
    CliResult unknown = get("Game.maxHealth");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "Unknown field 'Game.maxHealth'.\n");
    EXPECT_EQ(get("maxHealth").status, 2);
}

TEST_F(CliTest, SetAppliesValuesAsTheValueBoxDoesAndSavesOnce) {
    std::string file = Copy("messy_crlf.odf");
    const std::string latin1 = "Panzer \xe9t\xe9"; // not UTF-8: kept byte for byte
    CliResult result =
        RunCli({"set", file, "GameObject.unitName=" + latin1, "GameObject.maxHealth=12abc",
                "CraftClass.rangeScan=abc", "GameObject.baseName=", "WingmanClass.rollSteer=-.5",
                "GameObject.maxAmmo=1", "GameObject.maxAmmo=2"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out + result.err, "");

    auto get = [&](const std::string& field) { return RunCli({"get", file, field}).out; };
    EXPECT_EQ(get("GameObject.unitName"), latin1 + "\n");
    EXPECT_EQ(get("GameObject.maxHealth"), "12\n");
    EXPECT_EQ(get("CraftClass.rangeScan"), "0.000000\n");
    EXPECT_EQ(get("WingmanClass.rollSteer"), "-0.500000\n");
    EXPECT_EQ(get("GameObject.maxAmmo"), "2\n");
    EXPECT_EQ(RunCli({"get", file, "GameObject.baseName"}).status, 1);

    // Only the lines of the fields set changed; the rest of the file is as it was.
    EXPECT_EQ(ReadBytes(file), ReadBytes(kData + "/messy_crlf.set.expected.odf"));

    // --layout writes the editor's layout, as normalize does.
    file = Copy("messy.odf");
    EXPECT_EQ(RunCli({"set", "--layout", file, "GameObject.maxHealth=1500"}).status, 0);
    EXPECT_EQ(ReadBytes(file), ReadBytes(kData + "/messy.expected.odf"));
}

TEST_F(CliTest, RefusedSetChangesNothing) {
    std::string file = Copy("messy.odf");
    const std::string before = ReadBytes(file);
    const std::string ok = "GameObject.maxHealth=5"; // valid, but must not be applied either
    struct Case {
        std::string arg, message;
    } cases[] = {
        {"Nowhere.maxHealth=5", "Unknown field 'Nowhere.maxHealth'."},
        {"GameObject.maxHealth", "Expected Group.field=VALUE, got 'GameObject.maxHealth'."},
        {"GameObject.unitName=a\"b", "Cannot set GameObject.unitName: a String value cannot "
                                     "hold '\"': it would end the value."},
        {"GameObject.unitName=[x]", "cannot hold '['"},
        {"GameObject.unitName=a\nb", "cannot hold a line break"},
        {"GameObject.unitName=a\r", "cannot hold a line break"},
    };
    for (const Case& c : cases) {
        CliResult result = RunCli({"set", file, ok, c.arg});
        EXPECT_EQ(result.status, 2) << c.arg;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(ReadBytes(file), before) << c.arg;
    }
    // A number field reads such text leniently, as the value box does.
    EXPECT_EQ(RunCli({"set", file, "GameObject.maxHealth=[7\n"}).status, 0);
    EXPECT_EQ(RunCli({"get", file, "GameObject.maxHealth"}).out, "0\n");
}

TEST_F(CliTest, CheckListsEveryLineThatLoadingDoesNotKeep) {
    CliResult result = RunCli({"check", "messy.odf"}, kData);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, ReadBytes(kData + "/check_messy.expected"));
    EXPECT_EQ(result.err, "");

    // An unknown key is named with the group it stands in.
    tarnwick_test::WriteBytes(m_dir / "craft.odf", "[craftclass]\nrangeScn = 1\n");
    EXPECT_EQ(RunCli({"check", "craft.odf"}, m_dir.Path()).out,
              "craft.odf:2: key not in group CraftClass: rangeScn = 1\n");

    result = RunCli({"check", "messy.expected.odf", "messy_crlf.expected.odf"}, kData);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out + result.err, "");

    // An unreadable file fails the run, after the others are checked.
    result = RunCli({"check", "missing.odf", "messy.odf", "."}, kData);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, ReadBytes(kData + "/check_messy.expected"));
    EXPECT_EQ(result.err, "Error opening tank file 'missing.odf'.\nError opening tank file '.'.\n");
}

TEST_F(CliTest, CommandLineAndFileErrors) {
    CliResult result = RunCli({});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("Usage: tarnwick-cli"), std::string::npos);

    result = RunCli({"frobnicate"});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.err.starts_with("Unknown command 'frobnicate'.\nUsage:")) << result.err;

    for (const char* help : {"--help", "help"}) {
        result = RunCli({help});
        EXPECT_EQ(result.status, 0);
        for (const char* command :
             {"normalize", "dump", "get", "set", "table", "apply", "check", "schema"})
            EXPECT_NE(result.out.find(std::string("\n  ") + command), std::string::npos);
    }

    EXPECT_EQ(RunCli({"dump"}).status, 2);
    EXPECT_EQ(RunCli({"get", "x.odf"}).status, 2);
    EXPECT_EQ(RunCli({"schema", "extra"}).status, 2);

    for (std::string path : {m_dir / "missing.odf", m_dir.Path().string(), std::string()}) {
        for (std::vector<std::string> args : {std::vector<std::string>{"dump", path},
                                              {"normalize", path},
                                              {"get", path, "GameObject.maxHealth"},
                                              {"set", path, "GameObject.maxHealth=1"}}) {
            result = RunCli(args);
            EXPECT_EQ(result.status, 2) << args[0] << " " << path;
            EXPECT_EQ(result.err, "Error opening tank file '" + path + "'.\n");
        }
    }
    EXPECT_FALSE(fs::exists(m_dir / "missing.odf"));

    // Output that cannot be written is a failure, not a quiet success.
    result = RunCli({"schema"}, {}, "/dev/full");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "Error writing to standard output.\n");
}

} // namespace
