#include "TemplateSetFile.h"

#include "FileError.h"
#include "FileIo.h"
#include "Message.h"
#include "TextLines.h"

#include <exception>
#include <filesystem>

bool ReadTemplateSetFile(const std::string& path, std::vector<std::string>& paths) {
    // Memory running out on a huge file fails like an unreadable file.
    std::error_code error;
    try {
        std::string bytes;
        if (ReadWholeFile(path, bytes, error)) {
            paths = ParseTemplateSetText(bytes);
            for (std::string& line : paths)
                line = TemplatePathIn(path, line);
            return true;
        }
    } catch (const std::exception&) {
        error = FileError::TooLarge;
    }
    ShowMessage(FormatText("Error opening template set file '%s'", path), error);
    return false;
}

std::string TemplatePathIn(const std::string& setPath, const std::string& line) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (line.empty() || line.front() == '/' || fs::exists(line, error))
        return line;
    // A set written by hand names its templates from its own folder, wherever the program runs.
    const fs::path beside = fs::absolute(fs::path(setPath), error).parent_path() / line;
    return !error && fs::exists(beside, error) ? beside.string() : line;
}

std::vector<std::string> ParseTemplateSetText(std::string_view bytes) {
    std::vector<std::string> lines;
    // A blank line names no file: a set written by hand often ends with one.
    ForEachLine(bytes, [&lines](std::string_view line) {
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            lines.emplace_back(line);
    });
    return lines;
}

bool WriteTemplateSetFile(const std::string& path, const std::vector<std::string>& paths) {
    std::error_code error;
    try {
        std::string text;
        for (const std::string& line : paths) {
            text += line;
            text += '\n';
        }
        if (WriteFileAtomically(path, text, error))
            return true;
    } catch (const std::exception&) {
        error = FileError::TooLarge;
    }
    ShowMessage(FormatText("Error writing template set file '%s'", path), error);
    return false;
}
