// Hundreds of unit files made the way a published mod's look, given to tarnwick-cli as a user
// gives them and judged against the written rules for reading and writing them (worked out in
// RulesReading, not taken from the program). A disagreement names its rule, file and line, what
// the rules give and what the program gave.

#include "CliRunner.h"
#include "RulesReading.h"
#include "UnitFileMaker.h"

#include <set>
#include <sstream>

namespace {

using namespace tarnwick_test;

constexpr int kFiles = 400;

// Bytes as a reader can see them: tabs, line ends and bytes beyond ASCII escaped.
std::string Shown(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c == '\t'             ? "\\t"
               : c == '\r'           ? "\\r"
               : c >= 32 && c <= 126 ? std::string(1, char(c))
                                     : hex;
    }
    return out;
}

// The disagreements of one test by rule, the first few of each spelled out.
class CFindings {
public:
    void Add(const std::string& rule, const std::string& where, const std::string& want,
             const std::string& got) {
        auto& [count, text] = m_rules[rule];
        if (++count <= 3)
            text +=
                "\n  " + where + "\n    rules:   " + Shown(want) + "\n    program: " + Shown(got);
    }
    void Run(const std::string& rule, const std::string& where, const CliResult& want,
             const CliResult& got) {
        if (got != want)
            Add(rule, where, ::testing::PrintToString(want), ::testing::PrintToString(got));
    }
    // Adds the first line where got differs from want, then takes got as want, so that later
    // steps are judged from what is there.
    void Bytes(const std::string& rule, const std::string& file, std::string& want,
               const std::string& got) {
        const std::size_t at = std::ranges::mismatch(want, got).in1 - want.begin();
        if (want == got)
            return;
        auto line = [at](const std::string& bytes) {
            const std::size_t from = at == 0 ? 0 : bytes.rfind('\n', at - 1) + 1; // npos + 1 is 0
            return at >= bytes.size() ? "(end of file)"
                                      : bytes.substr(from, bytes.find('\n', at) - from);
        };
        Add(rule,
            file + ":" + std::to_string(std::count(want.begin(), want.begin() + at, '\n') + 1),
            line(want), line(got));
        want = got;
    }
    ~CFindings() {
        for (const auto& [rule, entry] : m_rules)
            ADD_FAILURE() << rule << ": " << entry.first << " disagreement(s)" << entry.second;
    }

private:
    std::map<std::string, std::pair<int, std::string>> m_rules;
};

// The rows of a CSV table; a quoted empty cell reads "" (a String that is set but empty).
std::vector<Texts> ParseCsv(const std::string& text) {
    std::vector<Texts> rows(1, Texts(1));
    bool bQuoted = false, bWasQuoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!bQuoted && (c == ',' || c == '\n') && bWasQuoted && rows.back().back().empty())
            rows.back().back() = "\"\"";
        if (c == '"' && bQuoted && i + 1 < text.size() && text[i + 1] == '"')
            rows.back().back() += text[++i];
        else if (c == '"')
            bWasQuoted |= (bQuoted = !bQuoted);
        else if (!bQuoted && c == ',')
            rows.back().emplace_back(), bWasQuoted = false;
        else if (!bQuoted && c == '\n')
            rows.emplace_back(1), bWasQuoted = false;
        else if (bQuoted || c != '\r')
            rows.back().back() += c;
    }
    rows.pop_back(); // after the last line end
    return rows;
}

std::string CsvCell(std::string text) {
    for (std::size_t at = 0; (at = text.find('"', at)) != std::string::npos; at += 2)
        text.insert(at, 1, '"');
    return text.find_first_of("\",") == std::string::npos ? text : "\"" + text + "\"";
}

class RealFilesTest : public ::testing::Test {
protected:
    RealFilesTest() {
        CUnitFileMaker maker(Fields(), 20240611);
        for (int i = 0; i < kFiles; ++i) {
            m_names.push_back("unit" + std::to_string(1000 + i).substr(1) + ".odf");
            m_made.push_back(maker.Make());
            WriteBytes(m_dir / m_names.back(), m_made.back());
        }
    }
    static const Schema& Fields() {
        static const Schema schema = ParseSchema(RunCli({"schema"}).out);
        return schema;
    }
    static int FieldCount() { return static_cast<int>(Fields().size()); }
    static std::string PathOf(int field) {
        return Fields()[field].group + "." + Fields()[field].name;
    }
    static int FieldOf(const std::string& path) {
        int field = 0;
        while (PathOf(field) != path)
            ++field;
        return field;
    }
    CliResult Run(Texts args, const Texts& more = {}) {
        args.insert(args.end(), more.begin(), more.end());
        return RunCli(args, m_dir.Path());
    }
    std::string Bytes(int i) const { return ReadBytes(m_dir / m_names[i]); }
    CRulesReading Reading(int i) const { return CRulesReading(Fields(), Bytes(i)); }

    CScratchDir m_dir;
    Texts m_names, m_made; // the files' names and the bytes made for them
};

TEST_F(RealFilesTest, FilesReadAsTheRulesSay) {
    CFindings findings;
    // check: one run over every file, compared file by file.
    const CliResult check = Run({"check"}, m_names);
    std::map<std::string, std::string> listed;
    std::istringstream lines(check.out);
    for (std::string line; std::getline(lines, line);)
        listed[line.substr(0, line.find(':'))] += line + "\n";
    bool bAny = false;
    for (int i = 0; i < kFiles; ++i) {
        std::string want = Reading(i).Check(m_names[i]);
        bAny |= !want.empty();
        findings.Bytes("check lists the lines the rules say", "check of " + m_names[i], want,
                       listed[m_names[i]]);
    }
    EXPECT_EQ(check.status, bAny ? 1 : 0) << check.err;

    // table: a column for every field a file sets, each cell as get prints it.
    const CliResult table = Run({"table"}, m_names);
    const std::vector<Texts> rows = ParseCsv(table.out);
    ASSERT_EQ(rows.size(), kFiles + 1u) << table;
    std::set<std::string> columns(rows[0].begin() + 1, rows[0].end()), setFields;
    for (int i = 0; i < kFiles; ++i) {
        const CRulesReading reading = Reading(i);
        for (int field = 0; field < FieldCount(); ++field) {
            const auto value = reading.Get(field);
            const std::string cell = !value ? "" : value->empty() ? "\"\"" : *value;
            const auto column = std::ranges::find(rows[0], PathOf(field)) - rows[0].begin();
            if (value)
                setFields.insert(PathOf(field));
            if (column < std::ssize(rows[0]) && rows[i + 1][column] != cell)
                findings.Add("table's cells read as the rules read the field",
                             m_names[i] + " " + PathOf(field), cell, rows[i + 1][column]);
        }
    }
    EXPECT_EQ(columns, setFields);

    // get: a sample, names in either case, fields set and not.
    for (int i = 0; i < kFiles; i += 40) {
        for (int field = i % 23; field < FieldCount(); field += 86) {
            const auto value = Reading(i).Get(field);
            const std::string name = i % 80 ? PathOf(field) : Lower(PathOf(field));
            findings.Run("get prints the field as the rules read it", m_names[i] + " " + name,
                         value ? CliResult{0, *value + "\n", ""} : CliResult{1, "", ""},
                         Run({"get", m_names[i], name}));
        }
    }

    // Unedited, the table changes nothing; nor does set of the values a file holds, each given
    // as the file writes it.
    WriteBytes(m_dir / "table.csv", table.out);
    EXPECT_EQ(Run({"apply", "table.csv"}).status, 0);
    for (int i = 0; i < kFiles; ++i) {
        std::string want = m_made[i];
        findings.Bytes("apply of an unedited table changes nothing", m_names[i], want, Bytes(i));
        if (i % 40)
            continue;
        Texts args = {"set", m_names[i]};
        const CRulesReading reading = Reading(i);
        for (int field = 0; field < FieldCount(); ++field) {
            const auto given = reading.Given(field);
            if (given && !given->empty() &&
                std::ranges::all_of(*given, [](unsigned char c) { return c < 0x80; }))
                args.push_back(PathOf(field) + "=" + *given);
        }
        EXPECT_EQ(Run(args).status, 0) << m_names[i];
        findings.Bytes("set of the values a file holds changes nothing", m_names[i], want,
                       Bytes(i));
    }
}

TEST_F(RealFilesTest, EditsChangeOnlyTheValuesGiven) {
    CFindings findings;
    Texts want = m_made;
    // apply: a column at a time, in a tenth of the files whose field's last line holds a value;
    // numbers as given, Strings in the file's encoding, an empty cell removing the field.
    const std::pair<std::string, Texts> edits[] = {
        {"GameObject.maxHealth", {"+2500", "00111", "2500.0", "-2147483648", "2147483647", ""}},
        {"GameObject.weaponmask", {"00111", "11", "00011", ""}},
        {"GameObject.buildTime", {"1e-7", "0.0000004", ".5", "1e-50", "459.99999999999994", ""}},
        {"CraftClass.rangeScan", {"460", "+2500", "-0.25", "5", ""}},
        {"HovercraftClass.velocForward", {"12.5", "1e1", "00111", ""}},
        {"GameObject.unitName", {"Panzerj\xC3\xA4ger", "New Name", ""}},
        {"PersonClass.painSound1", {"pain2.wav", ""}},
    };
    for (const auto& [path, values] : edits) {
        const int field = FieldOf(path);
        std::string csv = "file," + path + "\r\n", named;
        int changed = 0;
        for (int i = 0, n = 0; i < kFiles; ++i) {
            const CRulesReading reading(Fields(), want[i]);
            if (!reading.Given(field) || n++ % 10)
                continue;
            const std::string& value = values[n / 10 % values.size()];
            csv += m_names[i] + "," + value + "\r\n";
            // An empty cell keeps a String that is set but empty: a spreadsheet writes "" so.
            const std::string before = want[i];
            if (!value.empty() || reading.Get(field) != "")
                want[i] = reading.Set(field, value);
            if (want[i] != before && ++changed)
                named += m_names[i] + ": 1 value changed\n";
        }
        WriteBytes(m_dir / "edit.csv", csv);
        auto count = [changed](const std::string& what) {
            return std::to_string(changed) + " " + what + (changed == 1 ? "" : "s");
        };
        findings.Run(
            "apply names each file it changes, then the total", "apply of " + path,
            {0, named + "Total: " + count("value") + " changed in " + count("file") + "\n", ""},
            Run({"apply", "edit.csv"}));
        for (int i = 0; i < kFiles; ++i)
            findings.Bytes("apply of " + path + " changes only its value, written as given",
                           m_names[i], want[i], Bytes(i));
    }

    // set: two numbers in one run, as given (blanks around them left out).
    const Texts integers = {"00111", "+2500", " 460 ", "-7"},
                floats = {"1e-7", " .5", "00111", "0.0000004"};
    for (int i = 3; i < kFiles; i += 40) {
        Texts args = {"set", m_names[i]};
        for (int field = 0; field < FieldCount() && args.size() < 4; ++field) {
            const CRulesReading reading(Fields(), want[i]);
            const char type = Fields()[field].type;
            if (type != 'S' && reading.Given(field)) {
                const std::string& value = (type == 'I' ? integers : floats)[(i + field) % 4];
                args.push_back(Lower(PathOf(field)) + "=" + value);
                want[i] = reading.Set(field, value);
            }
        }
        EXPECT_EQ(Run(args).status, 0) << m_names[i];
        findings.Bytes("set changes only the values given, written as given", m_names[i], want[i],
                       Bytes(i));
    }

    // Out of range: refused with the reason, the good value beside it not written either, the
    // file's bytes and time as they were.
    const std::pair<std::string, std::string> refused[] = {
        {"GameObject.maxHealth", "99999999999999999999"},
        {"GameObject.scrapCost", "-2147483649"},
        {"HovercraftClass.velocForward", "1e400"},
        {"CraftClass.rangeScan", "-3.5e38"},
        {"GameObject.buildTime", "340282357000000000000000000000000000000"},
    };
    int i = 7;
    for (const auto& [path, text] : refused) {
        const std::string& name = m_names[i += 41];
        const auto time = fs::last_write_time(m_dir / name);
        const std::string range = Fields()[FieldOf(path)].type == 'I'
                                      ? "an Integer holds -2147483648 to 2147483647"
                                      : "a Float holds up to 3.4028235e38";
        findings.Run(
            "set refuses a number out of range", name + " " + path,
            {2, "", name + ": " + path + ": '" + text + "' is out of range (" + range + ").\n"},
            Run({"set", name, "GameObject.maxAmmo=7", path + "=" + text}));
        findings.Bytes("a refused set changes nothing", name, want[i], Bytes(i));
        EXPECT_EQ(fs::last_write_time(m_dir / name), time) << name;
    }
}

// Keys the schema does not know, by their raw values.
TEST_F(RealFilesTest, OtherKeysReadAndWriteAsTheRulesSay) {
    CFindings findings;
    std::set<std::string> keys;
    for (int i = 0; i < kFiles; ++i)
        std::ranges::copy(Reading(i).OtherKeys(), std::inserter(keys, keys.end()));
    std::string list;
    for (const std::string& key : keys)
        list += (list.empty() ? "" : ",") + key;

    // table of every other key, then apply of it with the first key of every tenth file changed
    // (or emptied, which removes its lines) and the rest as they were.
    const CliResult table = Run({"table", "--fields", list}, m_names);
    const std::vector<Texts> rows = ParseCsv(table.out);
    ASSERT_EQ(rows.size(), kFiles + 1u) << table;
    Texts want = m_made;
    std::string csv = "file," + list + "\r\n";
    for (int i = 0; i < kFiles; ++i) {
        const CRulesReading reading = Reading(i);
        csv += m_names[i];
        int column = 0;
        for (const std::string& key : keys) {
            std::string cell = reading.GetOther(key).value_or("");
            if (rows[i + 1].size() != keys.size() + 1 || rows[i + 1][++column] != cell)
                findings.Add("table's cells hold the raw values", m_names[i] + " " + key, cell,
                             rows[i + 1].size() > keys.size() ? rows[i + 1][column] : "");
            if (!cell.empty() && i % 10 == 0 && want[i] == m_made[i])
                want[i] = reading.SetOther(key, cell = i % 20 ? "\"new.wav\"" : "");
            csv += "," + CsvCell(cell);
        }
        csv += "\r\n";
    }
    WriteBytes(m_dir / "keys.csv", csv);
    EXPECT_EQ(Run({"apply", "keys.csv"}).status, 0);
    for (int i = 0; i < kFiles; ++i)
        findings.Bytes("apply writes raw values in place, an empty cell removing the key",
                       m_names[i], want[i], Bytes(i));

    // get and set of a key named in another case; refusals change nothing.
    for (int i = 1; i < kFiles; i += 50) {
        const CRulesReading reading(Fields(), want[i]);
        const Texts own = reading.OtherKeys();
        if (own.empty())
            continue;
        const std::string& absent = *std::ranges::find_if(
            keys, [&own](const std::string& key) { return std::ranges::count(own, key) == 0; });
        const std::pair<Texts, CliResult> runs[] = {
            {{"get", m_names[i], own.back()}, {0, *reading.GetOther(own.back()) + "\n", ""}},
            {{"get", m_names[i], absent}, {1, "", ""}},
            {{"set", m_names[i], own.back() + "=[x]"}, {2, "", ""}},
            {{"set", m_names[i], "GameObject.none=1"}, {2, "", ""}},
            {{"get", m_names[i], "maxHealth"},
             {2, "", "Unknown field 'maxHealth' (did you mean GameObject.maxHealth?)\n"}},
        };
        for (const auto& [args, reply] : runs) {
            CliResult got = Run(args);
            got.err = reply.err.empty() ? "" : got.err; // only the hint's words are the rules'
            findings.Run("get and set of other keys", args[0] + " " + m_names[i] + " " + args[2],
                         reply, got);
        }
        Run({"set", m_names[i], own.back() + "=0.75"});
        want[i] = reading.SetOther(own.back(), "0.75");
        findings.Bytes("set writes a raw value in place", m_names[i], want[i], Bytes(i));
    }
}

} // namespace
