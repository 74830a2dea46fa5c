#include "CommandLine.h"

#include <filesystem>
#include <system_error>

namespace {

// The path as the shell passed its bytes, made absolute so that the title and the save question
// show the whole path, as after File > Open.
std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace

bool AsksForHelp(int argc, char** argv) {
    return argc > 1 && IsHelp(argv[1]);
}

CCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CCommandLine line;
    if (!args.empty() && IsHelp(args.front())) {
        line.m_action = CCommandLine::Action::Help;
        return line;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--templates" && i + 1 < args.size() && line.m_strTemplateSet.empty()) {
            line.m_strTemplateSet = args[++i];
        } else if (!arg.starts_with("--") && line.m_strStartPath.empty()) {
            line.m_strStartPath = Absolute(arg);
        } else {
            line.m_action = CCommandLine::Action::Usage;
            return line;
        }
    }
    return line;
}

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: tarnwick [--templates SET] [FILE]\n"
               "Edits tank files (.odf); FILE is opened at start, then the template set file\n"
               "SET is loaded as Template > Load Set would.\n",
               out);
}
