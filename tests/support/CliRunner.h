#pragma once

#include "TestSupport.h"

#include <ostream>
#include <string>
#include <vector>

struct CliResult {
    int status;      // exit status; -1 when the program did not exit normally
    std::string out; // what it wrote to stdout
    std::string err; // what it wrote to stderr
    bool operator==(const CliResult&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const CliResult& r) {
        return o << "status " << r.status << ", out \"" << r.out << "\", err \"" << r.err << '"';
    }
};

// Runs tarnwick-cli with args (passed as they are, no shell), stdin from /dev/null, in the
// folder cwd when it is not empty, and stdout into stdoutPath when that is not empty.
CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd = {},
                 const std::string& stdoutPath = {});

// The same for the program at path.
CliResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                     const std::string& cwd = {}, const std::string& stdoutPath = {});

// A folder holding copies of the command line's unit files, where the commands run, so that
// paths are given as a user in it gives them.
class CliTest : public ::testing::Test {
protected:
    CliTest() {
        for (const char* name :
             {"messy.odf", "messy_crlf.odf", "scout.odf", "heavy.odf", "hunter.odf"})
            m_dir.Copy(std::string("cli/") + name);
    }
    CliResult Run(const std::vector<std::string>& args) { return RunCli(args, m_dir.Path()); }
    std::string Bytes(const std::string& name) const {
        return tarnwick_test::ReadBytes(m_dir / name);
    }

    tarnwick_test::CScratchDir m_dir;
};
