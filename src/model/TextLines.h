#pragma once

#include <string_view>

// Calls f(line) for every line of bytes, without its line end. A line ends at LF, and one CR
// right before the LF belongs to the line end. A last line without LF counts when it is not
// empty, so "a\n" is one line and "" none. Lines have no length limit.
template <class F> void ForEachLine(std::string_view bytes, F&& f) {
    while (!bytes.empty()) {
        auto lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        f(line);
        if (lf == std::string_view::npos)
            break;
        bytes.remove_prefix(lf + 1);
    }
}

// True when the first line of bytes ends in CR LF.
inline bool FirstLineEndsInCrLf(std::string_view bytes) {
    auto lf = bytes.find('\n');
    return lf != std::string_view::npos && lf > 0 && bytes[lf - 1] == '\r';
}
