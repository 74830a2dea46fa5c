#include "Commands.h"

#include "FieldPath.h"
#include "FileIo.h"
#include "Message.h"
#include "Schema.h"
#include "TankFile.h"
#include "TankFileReader.h"

#include <algorithm>

namespace {

struct Finding {
    std::size_t line;
    std::string reason;
    std::string text;
};

// The key of a key line as the reader takes it: before the first '=', trailing blanks and tabs
// removed.
std::string_view KeyOf(std::string_view line) {
    std::string_view key = line.substr(0, line.find('='));
    auto last = key.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view{} : key.substr(0, last + 1);
}

// True when a header line holds more than blanks around its bracketed header: a key line
// written after the header on the same line, say, which reading drops.
bool HasTextBesideHeader(std::string_view line) {
    auto open = line.find('[');
    auto close = line.find(']', open);
    std::string_view before = line.substr(0, open);
    std::string_view after =
        close == std::string_view::npos ? std::string_view{} : line.substr(close + 1);
    auto blank = [](std::string_view text) {
        return text.find_first_not_of(" \t") == std::string_view::npos;
    };
    return !blank(before) || !blank(after);
}

std::string UnknownKeyReason(const CTankFile& file, const TankLine& line) {
    const CFieldGroup* group = file.m_groups[line.groupIndex].get();
    std::string reason = "key not in group " + group->m_strName;
    if (const CFieldEntry* near = FindFieldIgnoringCase(file, KeyOf(line.text), group))
        reason += " (did you mean " + near->m_strName + "?)";
    return reason;
}

// Every line of bytes that loading does not keep, in line order.
std::vector<Finding> FindUnkeptLines(std::string_view bytes) {
    CTankFile file;
    std::vector<Finding> findings;
    std::vector<TankLine> valueLines;
    std::vector<std::size_t> lastLineOf(kSchemaFieldCount, 0); // the line that decides a field
    ReadTankText(bytes, file, [&](const TankLine& line) {
        auto add = [&](std::string reason) {
            findings.push_back({line.number, std::move(reason), std::string(line.text)});
        };
        switch (line.kind) {
        case TankLineKind::Blank:
            break;
        case TankLineKind::Header:
            if (HasTextBesideHeader(line.text))
                add("text beside the header");
            break;
        case TankLineKind::Value:
            valueLines.push_back(line);
            lastLineOf[line.fieldIndex] = line.number;
            break;
        case TankLineKind::NoValue:
            // It still counts as touching the field: it empties a value set earlier.
            add("no usable value");
            lastLineOf[line.fieldIndex] = line.number;
            break;
        case TankLineKind::UnknownHeader:
            add("header names no group");
            break;
        case TankLineKind::NoGroup:
            add("before any group");
            break;
        case TankLineKind::UnknownKey:
            add(UnknownKeyReason(file, line));
            break;
        case TankLineKind::Other:
            add("comment or other text");
            break;
        }
    });
    for (const TankLine& line : valueLines) {
        if (std::size_t last = lastLineOf[line.fieldIndex]; last != line.number)
            findings.push_back({line.number, "overridden by line " + std::to_string(last),
                                std::string(line.text)});
    }
    std::ranges::stable_sort(findings, {}, &Finding::line);
    return findings;
}

} // namespace

int RunCheck(const Args& args) {
    if (args.empty())
        return CommandLineError("Usage: tarnwick-cli check FILE...");
    bool listed = false, failed = false;
    for (const std::string& path : args) {
        std::string bytes;
        if (path.empty() || !ReadWholeFile(path, bytes)) {
            ShowMessage(FormatText("Error opening tank file '%s'.", path));
            failed = true;
            continue;
        }
        std::string text;
        for (const Finding& finding : FindUnkeptLines(bytes)) {
            text += path + ':' + std::to_string(finding.line) + ": " + finding.reason + ": " +
                    finding.text + '\n';
        }
        listed = listed || !text.empty();
        WriteOut(text);
    }
    return failed ? kExitFailure : listed ? kExitNo : kExitOk;
}
