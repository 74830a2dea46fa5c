#pragma once

// Helpers shared by the core's tests: a scratch folder per test, captured messages and whole
// file reads and writes.

#include "Message.h"
#include "Schema.h"
#include "TankFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace tarnwick_test {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// A fresh folder under the system's temporary folder, removed with everything in it.
class CScratchDir {
public:
    CScratchDir() {
        static std::atomic<int> counter{0};
        m_path = fs::temp_directory_path() /
                 ("tarnwick-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~CScratchDir() {
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    const fs::path& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    // A copy of the data file at relative (see DataPath) in this folder, free to be changed.
    std::string Copy(const std::string& relative) const;

    // Names of the entries of the folder or of its subfolder sub, sorted, hidden ones (such as a
    // stray temporary file) included.
    Texts Entries(const std::string& sub = {}) const {
        Texts names;
        for (const auto& entry : fs::directory_iterator(m_path / sub))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path m_path;
};

// Captures every ShowMessage text while alive, then puts the previous handler back.
class CMessageCapture {
public:
    CMessageCapture() {
        m_previous = SetMessageHandler([this](const std::string& text, const std::string& reason) {
            m_texts.push_back(text);
            m_lines.push_back(MessageLine(text, reason));
        });
    }
    ~CMessageCapture() { SetMessageHandler(std::move(m_previous)); }
    CMessageCapture(const CMessageCapture&) = delete;
    CMessageCapture& operator=(const CMessageCapture&) = delete;

    const std::vector<std::string>& Texts() const { return m_texts; }
    // The messages with their reasons, as the command line prints them.
    const std::vector<std::string>& Lines() const { return m_lines; }
    void Clear() {
        m_texts.clear();
        m_lines.clear();
    }

private:
    MessageHandler m_previous;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_lines;
};

// The index of the field that path names, such as "GameObject.maxHealth"; fails the test when
// there is none.
inline std::size_t FieldIndex(std::string_view path) {
    const int index = CSchema::Get().FindFieldPath(path);
    EXPECT_GE(index, 0) << path;
    return static_cast<std::size_t>(index);
}
// The entry of that field in file, const where file is.
template <class File> auto& Field(File& file, std::string_view path) {
    return file.m_fields.at(FieldIndex(path));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// text with its first from replaced by to; the test fails when from is not there.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// text with every LF replaced by end, such as "\r\n".
inline std::string WithLineEnds(std::string text, const std::string& end) {
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += end.size())
        text.replace(at, 1, end);
    return text;
}

inline std::string DataPath(const std::string& relative) {
    return TARNWICK_TEST_DATA "/" + relative;
}

// The bytes of the data file at relative, such as "model/empty.odf".
inline std::string ReadData(const std::string& relative) {
    return ReadBytes(DataPath(relative));
}

inline std::string CScratchDir::Copy(const std::string& relative) const {
    const fs::path to = m_path / fs::path(relative).filename();
    fs::copy_file(DataPath(relative), to, fs::copy_options::overwrite_existing);
    return to.string();
}

} // namespace tarnwick_test
