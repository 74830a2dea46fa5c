#pragma once

#include "FieldPath.h"
#include "TankFile.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CFolderLock;

// Exit statuses shared by every command, so that scripts can tell "no" from "broken".
inline constexpr int kExitOk = 0;
inline constexpr int kExitNo = 1; // get: the field is absent; check: lines were listed
inline constexpr int kExitFailure =
    2; // a bad command line, or a file that cannot be read or written

// The arguments that follow the command's name.
using Args = std::vector<std::string>;

int RunNormalize(const Args& args);
int RunDump(const Args& args);
int RunGet(const Args& args);
int RunSet(const Args& args);
int RunCheck(const Args& args);
int RunSchema(const Args& args);
int RunTable(const Args& args);
int RunApply(const Args& args);

// The CSV table of paths: a header row "file,Group.field,..." and a row per path in order, each
// cell the field's value as `get` prints it (an other key's raw value), empty where the file does
// not set it. The columns are fields in their order (fields and other keys), or without it every
// field that any of the files sets, in schema order. A file that cannot be read is shown and left
// out, and the result is then false; an other key that no file sets is shown as an unknown field
// and leaves no table.
bool MakeTable(const std::vector<std::string>& paths,
               const std::optional<std::vector<CKeyName>>& fields, std::string& csv);

// Sets the values of the CSV table at tablePath in the files its rows name, changing only what
// differs, after checking every row; appends "FILE: N values changed" for each file changed and
// a total to report. With dryRun nothing is written. Returns the exit status.
int ApplyTable(const std::string& tablePath, bool dryRun, std::string& report);

// Reports a bad command line on stderr, with a pointer to --help, and returns kExitFailure.
int CommandLineError(const std::string& text);

// An option a command takes: a flag (flag set) or an option with a value (value set), named as
// the command line spells it ("-o", "--fields").
struct COption {
    std::string_view name;
    bool* flag = nullptr;
    std::optional<std::string>* value = nullptr;
    std::string_view valueName = {}; // what the value is: "Option -o needs a file name."
};

// Takes the options out of args and leaves the rest, in order, in operands. "--" ends the
// options; a lone "-" is an operand. An unknown option, an option without its value or with a
// value given twice is a bad command line: reported, and false.
bool ParseOptions(const Args& args, std::initializer_list<COption> options, Args& operands);

// Returns true when args has exactly count entries; otherwise reports the command's usage line
// (such as "dump FILE") as a bad command line.
bool ExpectArgs(const Args& args, std::size_t count, std::string_view usage);

// CTankFile::Load, which shows "Error opening tank file '%s'." on failure. An empty path fails
// with the same message, where Load alone would stay silent.
bool LoadTankFile(CTankFile& file, const std::string& path,
                  CTankFile::Lines lines = CTankFile::Lines::Keep);

// Locks the folders that saves of paths write in for a read-modify-write, waiting DefaultLockWait()
// at most; shows why and returns false when that fails.
bool LockFolders(CFolderLock& lock, const std::vector<std::string>& paths);

// Why set and apply refuse value for a field of type, as they say it after "FILE: Group.field: "
// (NumberRefusal, with a full stop after an out-of-range number); empty when they take it.
std::string ValueRefusal(FieldType type, std::string_view value);

// Writes bytes to stdout as they are; values are never transcoded. Write errors are caught once,
// when main flushes stdout.
void WriteOut(std::string_view bytes);
