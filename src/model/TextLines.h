#pragma once

#include <cstddef>
#include <string_view>

// Calls f(line, endSize) for every line of bytes: the line without its line end, and the size of
// that line end (0 for a last line without one, 1 for LF, 2 for CR LF). A line ends at LF, and
// one CR right before the LF belongs to the line end. A last line without LF counts when it is
// not empty, so "a\n" is one line and "" none. Lines have no length limit.
template <class F> void ForEachLineWithEnd(std::string_view bytes, F&& f) {
    while (!bytes.empty()) {
        auto lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            f(bytes, std::size_t{0});
            break;
        }
        std::string_view line = bytes.substr(0, lf);
        std::size_t end = 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            end = 2;
        }
        f(line, end);
        bytes.remove_prefix(lf + 1);
    }
}

// Calls f(line) for every line of bytes, without its line end, as ForEachLineWithEnd splits them.
template <class F> void ForEachLine(std::string_view bytes, F&& f) {
    ForEachLineWithEnd(bytes, [&f](std::string_view line, std::size_t) { f(line); });
}

// True when the first line of bytes ends in CR LF.
inline bool FirstLineEndsInCrLf(std::string_view bytes) {
    auto lf = bytes.find('\n');
    return lf != std::string_view::npos && lf > 0 && bytes[lf - 1] == '\r';
}
