// Hundreds of unit files made the way a published mod's look, given to tarnwick-cli as a user
// gives them, and judged against the written rules for reading and writing them (the rules are
// worked out in RulesReading, not taken from the program). Each disagreement is named with its
// file, line, rule, what the rules give and what the program gave.

#include "CliRunner.h"
#include "RulesReading.h"
#include "UnitFileMaker.h"

#include <set>

namespace {

using namespace tarnwick_test;

constexpr int kFiles = 400;

// Bytes as a reader can see them: tabs, line ends and bytes beyond ASCII escaped.
std::string Shown(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c == '\t'           ? "\\t"
               : c == '\r'         ? "\\r"
               : c == '\n'         ? "\\n"
               : c < 32 || c > 126 ? hex
                                   : std::string(1, static_cast<char>(c));
    }
    return out;
}

// The disagreements of one test, by rule, the first few of each spelled out.
class CFindings {
public:
    void Add(const std::string& rule, const std::string& where, const std::string& want,
             const std::string& got) {
        auto& [count, text] = m_rules[rule];
        if (++count <= 3)
            text +=
                "\n  " + where + "\n    rules:   " + Shown(want) + "\n    program: " + Shown(got);
    }
    // Adds the first line where the bytes of file differ from want, and makes want the bytes, so
    // that later steps judge from what is there.
    void Bytes(const std::string& rule, const std::string& file, std::string& want,
               const std::string& got) {
        std::size_t line = 1, at = 0;
        for (; at < want.size() && at < got.size() && want[at] == got[at]; ++at)
            line += want[at] == '\n';
        if (at == want.size() && at == got.size())
            return;
        auto piece = [at](const std::string& bytes) {
            const std::size_t begin = bytes.rfind('\n', at == 0 ? 0 : at - 1);
            const std::size_t from = begin == std::string::npos || at == 0 ? 0 : begin + 1;
            return at >= bytes.size() ? "(end of file)"
                                      : bytes.substr(from, bytes.find('\n', at) - from);
        };
        Add(rule, file + ":" + std::to_string(line), piece(want), piece(got));
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
    auto endCell = [&] {
        if (bWasQuoted && rows.back().back().empty())
            rows.back().back() = "\"\"";
        bWasQuoted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && bQuoted && i + 1 < text.size() && text[i + 1] == '"')
            rows.back().back() += text[++i];
        else if (c == '"')
            bWasQuoted |= (bQuoted = !bQuoted);
        else if (!bQuoted && c == ',')
            endCell(), rows.back().emplace_back();
        else if (!bQuoted && c == '\n')
            endCell(), rows.emplace_back(1);
        else if (bQuoted || c != '\r')
            rows.back().back() += c;
    }
    rows.pop_back(); // after the last line end
    return rows;
}

std::string CsvCell(const std::string& text) {
    if (text.find_first_of("\",") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? "\"\"" : std::string(1, c);
    return out + "\"";
}

std::string Text(const CliResult& result) {
    return "status " + std::to_string(result.status) + ", out " + result.out + ", err " +
           result.err;
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
        m_bOtherKeys = OtherKeysLanded();
    }
    static const Schema& Fields() {
        static const Schema schema = ParseSchema(RunCli({"schema"}).out);
        return schema;
    }
    static std::string PathOf(int field) {
        return Fields()[field].group + "." + Fields()[field].name;
    }
    CliResult Run(Texts args, const Texts& more = {}) {
        args.insert(args.end(), more.begin(), more.end());
        return RunCli(args, m_dir.Path());
    }
    std::string Bytes(int i) const { return ReadBytes(m_dir / m_names[i]); }
    CRulesReading Reading(int i) const { return CRulesReading(Fields(), Bytes(i), m_bOtherKeys); }
    // Whether the program knows other keys: get of one that a file sets is not refused.
    bool OtherKeysLanded() {
        for (int i = 0; i < kFiles; ++i)
            if (CRulesReading(Fields(), Bytes(i)).GetOther("HovercraftClass.soundTurbo"))
                return Run({"get", m_names[i], "HovercraftClass.soundTurbo"})
                           .err.find("Unknown field") == std::string::npos;
        return false;
    }

    CScratchDir m_dir;
    Texts m_names, m_made; // the files' names and the bytes made for them
    bool m_bOtherKeys = false;
};

TEST_F(RealFilesTest, FilesReadAsTheRulesSay) {
    CFindings findings;
    // check: one run over every file, compared file by file.
    const CliResult check = Run({"check"}, m_names);
    std::map<std::string, std::string> listed;
    for (std::size_t at = 0, end; at < check.out.size(); at = end + 1) {
        end = check.out.find('\n', at);
        listed[check.out.substr(at, check.out.find(':', at) - at)] +=
            check.out.substr(at, end + 1 - at);
    }
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
    ASSERT_EQ(rows.size(), kFiles + 1u) << Text(table);
    std::set<std::string> columns(rows[0].begin() + 1, rows[0].end()), setFields;
    for (int i = 0; i < kFiles; ++i) {
        const CRulesReading reading = Reading(i);
        for (int field = 0; field < static_cast<int>(Fields().size()); ++field) {
            auto value = reading.Get(field);
            const auto column = std::ranges::find(rows[0], PathOf(field));
            if (value && value->empty())
                value = "\"\""; // set but empty, told apart from not set
            if (value)
                setFields.insert(PathOf(field));
            if (column != rows[0].end() &&
                rows[i + 1][column - rows[0].begin()] != value.value_or(""))
                findings.Add("table's cells read as the rules read the field",
                             m_names[i] + " " + PathOf(field), value.value_or(""),
                             rows[i + 1][column - rows[0].begin()]);
        }
    }
    EXPECT_EQ(columns, setFields);

    // get: a sample, names in either case, and a field that is not set.
    for (int i = 0; i < kFiles; i += 20) {
        const CRulesReading reading = Reading(i);
        for (int field = i % 23; field < static_cast<int>(Fields().size()); field += 86) {
            const auto value = reading.Get(field);
            const std::string name = i % 40 ? PathOf(field) : Lower(PathOf(field));
            const CliResult want = value ? CliResult{0, *value + "\n", ""} : CliResult{1, "", ""};
            const CliResult got = Run({"get", m_names[i], name});
            if (got != want)
                findings.Add("get prints the field as the rules read it", m_names[i] + " " + name,
                             Text(want), Text(got));
        }
    }

    // Unedited, the table changes nothing; nor does set of the values a file holds, each given
    // as the file gives it.
    WriteBytes(m_dir / "table.csv", table.out);
    const CliResult apply = Run({"apply", "table.csv"});
    EXPECT_EQ(apply.status, 0) << apply.err;
    for (int i = 0; i < kFiles; ++i) {
        std::string want = m_made[i];
        findings.Bytes("apply of an unedited table changes nothing", m_names[i], want, Bytes(i));
        if (i % 20)
            continue;
        Texts args = {"set", m_names[i]};
        for (int field = 0; field < static_cast<int>(Fields().size()); ++field) {
            const auto given = Reading(i).Given(field);
            if (given && !given->empty() &&
                std::ranges::all_of(*given, [](unsigned char c) { return c < 0x80; }))
                args.push_back(PathOf(field) + "=" + *given);
        }
        const CliResult set = Run(args);
        findings.Bytes("set of the values a file holds changes nothing", m_names[i], want,
                       Bytes(i));
        if (set.status != 0)
            findings.Add("set of the values a file holds succeeds", m_names[i], "status 0",
                         Text(set));
    }
}

} // namespace
TEST_F(RealFilesTest, EditsChangeOnlyTheValuesGiven) {
    CFindings findings;
    Texts want = m_made;
    // apply: a column at a time, for every file whose field's last line holds a value; numbers
    // as given, Strings in the file's encoding, an empty cell removing the field.
    const std::pair<std::string, Texts> edits[] = {
        {"GameObject.maxHealth", {"+2500", "00111", "2500.0", "460", ""}},
        {"GameObject.weaponmask", {"00111", "11", "00011", ""}},
        {"GameObject.buildTime", {"1e-7", "0.0000004", ".5", "1e-50", "459.99999999999994", ""}},
        {"CraftClass.rangeScan", {"460", "+2500", "-0.25", "5", ""}},
        {"HovercraftClass.velocForward", {"12.5", "1e1", "00111", ""}},
        {"GameObject.unitName", {"Panzerj\xC3\xA4ger", "New Name", ""}},
        {"PersonClass.painSound1", {"pain2.wav", ""}},
    };
    for (const auto& [path, values] : edits) {
        const int field = static_cast<int>(
            std::ranges::find(Fields(), path,
                              [](const SchemaField& f) { return f.group + "." + f.name; }) -
            Fields().begin());
        std::string csv = "file," + path + "\r\n";
        for (int i = 0, n = 0; i < kFiles; ++i) {
            const CRulesReading reading(Fields(), want[i]);
            if (!reading.Given(field) || n++ % 5) // a fifth of them keeps the run short
                continue;
            const std::string& value = values[n / 5 % values.size()];
            csv += m_names[i] + "," + value + "\r\n";
            // An empty cell keeps a String that is set but empty: a spreadsheet writes "" so.
            if (!value.empty() || reading.Get(field) != "")
                want[i] = reading.Set(field, value);
        }
        WriteBytes(m_dir / "edit.csv", csv);
        const CliResult apply = Run({"apply", "edit.csv"});
        if (apply.status != 0)
            findings.Add("apply of good values succeeds", path, "status 0", Text(apply));
        for (int i = 0; i < kFiles; ++i)
            findings.Bytes("apply of " + path + " changes only its value, written as given",
                           m_names[i], want[i], Bytes(i));
    }

    // set: two numbers in one run, as given (blanks around them trimmed).
    const Texts integers = {"00111", "+2500", " 460 ", "-7"},
                floats = {"1e-7", " .5", "00111", "0.0000004"};
    for (int i = 3; i < kFiles; i += 20) {
        Texts args = {"set", m_names[i]};
        for (int field = 0; field < static_cast<int>(Fields().size()) && args.size() < 4; ++field) {
            const CRulesReading reading(Fields(), want[i]);
            const char type = Fields()[field].type;
            if (type == 'S' || !reading.Given(field))
                continue;
            const std::string& value = (type == 'I' ? integers : floats)[(i + field) % 4];
            args.push_back(Lower(PathOf(field)) + "=" + value);
            want[i] = reading.Set(field, value);
        }
        const CliResult set = Run(args);
        if (set.status != 0)
            findings.Add("set of good numbers succeeds", m_names[i], "status 0", Text(set));
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
        const bool bInteger = path.ends_with("scrapCost") || path.ends_with("maxHealth");
        const CliResult reason = {2, "",
                                  name + ": " + path + ": '" + text + "' is out of range (" +
                                      (bInteger ? "an Integer holds -2147483648 to 2147483647"
                                                : "a Float holds up to 3.4028235e38") +
                                      ").\n"};
        const CliResult got = Run({"set", name, "GameObject.maxAmmo=7", path + "=" + text});
        if (got != reason)
            findings.Add("set refuses a number out of range", name + " " + path, Text(reason),
                         Text(got));
        findings.Bytes("a refused set changes nothing", name, want[i], Bytes(i));
        EXPECT_EQ(fs::last_write_time(m_dir / name), time) << name;
    }
}
