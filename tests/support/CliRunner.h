#pragma once

#include <string>
#include <vector>

struct CliResult {
    int status;      // exit status; -1 when the program did not exit normally
    std::string out; // what it wrote to stdout
    std::string err; // what it wrote to stderr
};

// Runs tarnwick-cli with args (passed as they are, no shell), stdin from /dev/null, in the
// folder cwd when it is not empty, and stdout into stdoutPath when that is not empty.
CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd = {},
                 const std::string& stdoutPath = {});
