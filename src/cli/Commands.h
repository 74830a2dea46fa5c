#pragma once

#include <string>
#include <string_view>
#include <vector>

class CTankFile;

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

// Reports a bad command line on stderr, with a pointer to --help, and returns kExitFailure.
int CommandLineError(const std::string& text);

// Returns true when args has exactly count entries; otherwise reports the command's usage line
// (such as "dump FILE") as a bad command line.
bool ExpectArgs(const Args& args, std::size_t count, std::string_view usage);

// CTankFile::Load, which shows "Error opening tank file '%s'." on failure. An empty path fails
// with the same message, where Load alone would stay silent.
bool LoadTankFile(CTankFile& file, const std::string& path);

// Writes bytes to stdout as they are; values are never transcoded. Write errors are caught once,
// when main flushes stdout.
void WriteOut(std::string_view bytes);
