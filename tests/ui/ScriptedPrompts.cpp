#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <utility>

CScriptedPrompts::~CScriptedPrompts() {
    EXPECT_TRUE(m_replies.empty()) << m_replies.size() << " queued replies were never asked for";
}

std::vector<std::string> CScriptedPrompts::TakeShown() {
    return std::exchange(m_shown, {});
}

void CScriptedPrompts::Record(const std::string& entry) {
    m_shown.push_back(entry);
    if (m_onShow)
        m_onShow(entry);
}

CScriptedPrompts::Reply CScriptedPrompts::Next(const std::string& entry) {
    Record(entry);
    if (m_replies.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << entry;
        return std::vector<std::string>{};
    }
    Reply reply = std::move(m_replies.front());
    m_replies.pop_front();
    return reply;
}

void CScriptedPrompts::Message(const std::string& text) {
    Record(text);
}

IPrompts::Answer CScriptedPrompts::YesNoCancel(const std::string& text) {
    const Reply reply = Next(text);
    if (const auto* answer = std::get_if<Answer>(&reply))
        return *answer;
    return Answer::Cancel;
}

std::vector<std::string> CScriptedPrompts::Paths(const std::string& entry,
                                                 const std::string& filter) {
    m_lastFilter = filter;
    const Reply reply = Next(entry);
    if (const auto* path = std::get_if<std::optional<std::string>>(&reply))
        return *path ? std::vector<std::string>{**path} : std::vector<std::string>{};
    if (const auto* paths = std::get_if<std::vector<std::string>>(&reply))
        return *paths;
    ADD_FAILURE() << "an answer was queued, but the prompt was " << entry;
    return {};
}

bool CScriptedPrompts::OpenPath(const std::string& filter, std::string& path) {
    const std::vector<std::string> paths = Paths("[Open]", filter);
    if (!paths.empty())
        path = paths.front();
    return !paths.empty();
}

std::vector<std::string> CScriptedPrompts::OpenPaths(const std::string& title,
                                                     const std::string& filter) {
    return Paths("[Open many: " + title + "]", filter);
}

bool CScriptedPrompts::SavePath(const std::string& filter, const std::string& defaultExtension,
                                std::string& path) {
    const std::vector<std::string> paths = Paths("[Save As ." + defaultExtension + "]", filter);
    if (!paths.empty())
        path = paths.front();
    return !paths.empty();
}
