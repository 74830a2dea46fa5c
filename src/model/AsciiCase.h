#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// The game reads headers, keys and file names without regard to the case of A to Z, and so does
// every comparison of them here. Other bytes (UTF-8 or Windows-1252 letters) compare as they are:
// the files carry no encoding, so no other case rule could be right for all of them.

constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, {}, LowerAscii, LowerAscii);
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

constexpr bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view part) {
    // std::search rather than std::ranges::search: clang 14 cannot build the latter's subrange
    // against libstdc++ 12, and the fuzz build uses clang.
    const auto same = [](char a, char b) { return LowerAscii(a) == LowerAscii(b); };
    return part.empty() ||
           std::search(text.begin(), text.end(), part.begin(), part.end(), same) != text.end();
}

inline void LowerAsciiInPlace(std::string& text) {
    std::ranges::transform(text, text.begin(), LowerAscii);
}
