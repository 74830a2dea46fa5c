#include "CommandLine.h"

#include "FileIo.h"

namespace {

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
        } else if (arg == "--no-settings" && !line.m_bNoSettings) {
            line.m_bNoSettings = true;
        } else if (!arg.starts_with("--") && line.m_strStartPath.empty()) {
            line.m_strStartPath = AbsolutePath(arg);
        } else {
            line.m_action = CCommandLine::Action::Usage;
            return line;
        }
    }
    return line;
}

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: tarnwick [--no-settings] [--templates SET] [FILE]\n"
               "Edits tank files (.odf); FILE is opened at start, then the template set file\n"
               "SET is loaded as Template > Load Set would.\n"
               "\n"
               "The editor remembers the files last opened or saved (File > Open Recent), the\n"
               "size and place of its windows, the split between the tree and the panel, the\n"
               "template list (loaded again at the next start unless --templates is given)\n"
               "and the tree's open groups and selected field, in\n"
               "$XDG_CONFIG_HOME/tarnwick/tarnwick.conf (~/.config/tarnwick/tarnwick.conf).\n"
               "Nothing about a tank file's content is stored there.\n"
               "\n"
               "  --no-settings     read and write no settings (for scripts and tests)\n"
               "  --templates SET   load the template set file SET instead of the templates\n"
               "                    of the last run\n",
               out);
}
