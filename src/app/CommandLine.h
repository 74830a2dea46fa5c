#pragma once

#include <cstdio>
#include <string>
#include <vector>

// What the editor's command line asks for: `tarnwick [--no-settings] [--templates SET] [FILE]`.
struct CCommandLine {
    enum class Action {
        Run,   // start the editor
        Help,  // print the usage to stdout and end
        Usage, // the arguments are wrong: print the usage to stderr and end with status 2
    };
    Action m_action = Action::Run;
    std::string m_strStartPath; // made absolute, so the title shows the whole path; or empty
    std::string m_strTemplateSet;
    bool m_bNoSettings = false; // read and write no settings
};

// True when the first argument asks for help: answered before anything needs a display.
bool AsksForHelp(int argc, char** argv);

// Reads the arguments after the program's name, once Qt has taken its own options out.
CCommandLine ParseCommandLine(const std::vector<std::string>& args);

void PrintUsage(std::FILE* out);
