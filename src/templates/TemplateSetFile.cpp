#include "TemplateSetFile.h"

#include "FileIo.h"
#include "Message.h"
#include "TextLines.h"

bool ReadTemplateSetFile(const std::string& path, std::vector<std::string>& paths) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        ShowMessage(FormatText("Error opening template set file '%s'", path));
        return false;
    }
    paths = ParseTemplateSetText(bytes);
    return true;
}

std::vector<std::string> ParseTemplateSetText(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

bool WriteTemplateSetFile(const std::string& path, const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& line : paths) {
        text += line;
        text += '\n';
    }
    if (!WriteFileAtomically(path, text)) {
        ShowMessage(FormatText("Error writing template set file '%s'", path));
        return false;
    }
    return true;
}
