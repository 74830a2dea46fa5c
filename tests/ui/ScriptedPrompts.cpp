#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

CScriptedPrompts::~CScriptedPrompts() {
    EXPECT_TRUE(m_replies.empty()) << m_replies.size() << " queued replies were never asked for";
}

void CScriptedPrompts::Record(const std::string& entry) {
    m_shown.push_back(entry);
    if (m_onShow)
        m_onShow(entry);
}

std::vector<std::string> CScriptedPrompts::TakeShown() {
    std::vector<std::string> shown;
    shown.swap(m_shown);
    return shown;
}

std::optional<CScriptedPrompts::Reply> CScriptedPrompts::NextReply(const std::string& entry) {
    if (m_replies.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << entry;
        return std::nullopt;
    }
    Reply reply = std::move(m_replies.front());
    m_replies.pop_front();
    return reply;
}

void CScriptedPrompts::Message(const std::string& text) {
    Record(text);
}

IPrompts::Answer CScriptedPrompts::YesNoCancel(const std::string& text) {
    Record(text);
    auto reply = NextReply(text);
    if (!reply)
        return Answer::Cancel;
    if (const auto* answer = std::get_if<Answer>(&*reply))
        return *answer;
    ADD_FAILURE() << "a file dialog's reply was queued, but the question was: " << text;
    return Answer::Cancel;
}

bool CScriptedPrompts::NextPath(const std::string& entry, std::string& path) {
    const std::vector<std::string> paths = NextPaths(entry);
    if (!paths.empty())
        path = paths.front();
    return !paths.empty();
}

std::vector<std::string> CScriptedPrompts::NextPaths(const std::string& entry) {
    Record(entry);
    auto reply = NextReply(entry);
    if (!reply)
        return {};
    if (const auto* paths = std::get_if<std::vector<std::string>>(&*reply))
        return *paths;
    if (const auto* path = std::get_if<std::optional<std::string>>(&*reply))
        return *path ? std::vector<std::string>{**path} : std::vector<std::string>{};
    ADD_FAILURE() << "an answer was queued, but the prompt was " << entry;
    return {};
}

bool CScriptedPrompts::OpenPath(const std::string& filter, std::string& path) {
    m_lastFilter = filter;
    return NextPath("[Open]", path);
}

std::vector<std::string> CScriptedPrompts::OpenPaths(const std::string& title,
                                                     const std::string& filter) {
    m_lastFilter = filter;
    return NextPaths("[Open many: " + title + "]");
}

bool CScriptedPrompts::SavePath(const std::string& filter, const std::string& defaultExtension,
                                std::string& path) {
    m_lastFilter = filter;
    return NextPath("[Save As ." + defaultExtension + "]", path);
}
