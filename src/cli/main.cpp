// tarnwick-cli: batch work on tank files with the editor's own reader, writer and value rules.

#include "Commands.h"

#include "Message.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Command {
    std::string_view name;
    int (*run)(const Args&);
};

constexpr Command kCommands[] = {
    {"normalize", RunNormalize}, {"dump", RunDump},     {"get", RunGet},     {"set", RunSet},
    {"check", RunCheck},         {"schema", RunSchema}, {"table", RunTable}, {"apply", RunApply},
};

constexpr const char* kUsage = R"(Usage: tarnwick-cli COMMAND [ARGUMENTS]

Batch work on tank files (.odf) with the editor's own rules. Fields are named
Group.field, for example GameObject.maxHealth; `tarnwick-cli schema` lists them.
Group and field names match ignoring case, as headers and keys in a file do.
A key a file sets that the schema does not know is an other key, named
Group.key too: its group is the schema group its header selects, or the
header's own name ([BuildingClass] gives BuildingClass); its value is the raw
text after '=' (quotes and all, a // comment left out). get, set, table --fields
and apply take other keys as raw text.

Commands:
  normalize [-o OUT] FILE...
      Rewrite each FILE in the editor's layout: every group in order, each with
      the fields it sets, and nothing else (comments, unknown groups and keys are
      dropped). With -o and a single FILE, write OUT instead and leave FILE alone.
  dump FILE
      Print the fields that FILE sets, in the schema's order, one a line:
      Group.field = value, the value as the file shows it.
  dump --json FILE...
      Print one JSON object a line for each FILE: {"file": FILE, "fields":
      {"Group": {"field": value, ...}, ...}}. Numbers are JSON numbers as the file
      writes them; bytes that are not UTF-8 appear as their Windows-1252
      characters, as in the editor's window.
  get [--json] FILE Group.field
      Print the field's value (a String without quotes; with --json, a JSON value),
      or an other key's raw value. Exit status 1 when FILE does not set the field.
      A name that stands in another group gets a hint: Unknown field 'maxHealth'
      (did you mean GameObject.maxHealth?).
  set [--layout] FILE Group.field=VALUE...
      Set each field to VALUE, then save FILE once, changing only the values of
      the fields set: keys, blanks, comments beside values, unknown groups and
      keys stay as they are. With --layout, write the editor's layout instead, as
      normalize does. A Float takes a number such as -2.5, .5 or 1e3; an Integer
      whole digits such as 2500 (or 2500.0); an empty VALUE removes the field.
      A number is written exactly as given (00111 stays 00111). A number beyond
      its type's range (an Integer past -2147483648..2147483647, a Float past
      3.4028235e38) is refused.
      Text goes into FILE in FILE's encoding: UTF-8 when its bytes are UTF-8,
      Windows-1252 otherwise. An unknown field, a number VALUE that is not a
      number (22,5 or abc), a String VALUE holding '"', '[' or a line break, or a
      character FILE's encoding has not changes nothing and fails. An other key
      that FILE sets takes VALUE as its raw text, in place (an empty VALUE removes
      its lines); one FILE does not set is an unknown field, as a raw text holding
      '[', a line break or // outside quotes is refused.
  table [--fields LIST] FILE...
      Print a CSV table (RFC 4180) for a spreadsheet: the header row
      file,Group.field,... and one row per FILE, each cell the value as get prints
      it, empty where FILE does not set the field. The columns are LIST (Group.field
      names separated by commas, other keys too) or every field that any FILE sets.
  apply [--dry-run] TABLE.csv
      Set the values of a table like table's in the files its rows name (paths
      relative to the current folder), as set does: only cells that differ from the
      file's value count, and an empty cell removes the field. Any subset of the
      columns, in any order, will do beside "file". Every row is checked first: an
      unknown or repeated column, a repeated file, a row with the wrong number of
      cells, a file that cannot be read, or a cell that set refuses (not a number,
      '"', '[', a line break, a character the file's encoding has not) fails with
      TABLE.csv:LINE: reason, and no file changes. Cells are read as UTF-8 (any
      that are not, as the file's own bytes). Then each file with changes is
      saved once, as set saves it, and named with the number of values changed;
      a total follows. With --dry-run, nothing is written, and each change is
      listed first, one a line: FILE: Group.field: OLD -> NEW.
  check FILE...
      List every line that the editor's layout would drop, as FILE:LINE: reason:
      text, and beside them the line that sets a field whose value is read unlike
      it looks: "value read as VALUE" when other text than a // comment follows
      the value read (unitName = ""x";" reads as ""), "no value read" when the
      line holds no usable value (unitName = NULL). Blank lines are not listed.
      Exit status 1 when any line is listed.
  schema
      Print every field as a tab-separated row: field index, group, field, type,
      description.
  help, --help
      Print this text.

set, apply and normalize (in place) lock the folder of each file they rewrite, so
that runs at the same time take turns instead of losing each other's changes. A
run waits 5 seconds for a lock (the environment variable TARNWICK_LOCK_WAIT sets
other seconds), then fails.

Exit status: 0 on success, 1 as noted above, 2 for a bad command line, a file
that cannot be read or written, or a refused table.
)";

} // namespace

int main(int argc, char** argv) {
    Args args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return kExitFailure;
    }
    auto end = std::ranges::find(args, "--");
    bool help =
        args[0] == "help" || args[0] == "-h" || std::find(args.begin(), end, "--help") != end;
    int status = kExitOk;
    if (help) {
        std::fputs(kUsage, stdout);
    } else {
        auto command = std::ranges::find(kCommands, args[0], &Command::name);
        if (command == std::end(kCommands)) {
            ShowMessage(FormatText("Unknown command '%s'.", args[0]));
            std::fputs(kUsage, stderr);
            return kExitFailure;
        }
        status = command->run(Args(args.begin() + 1, args.end()));
    }
    // Output lost to a full disk or a failing device must not pass for success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        ShowMessage("Error writing to standard output.");
        return kExitFailure;
    }
    return status;
}
