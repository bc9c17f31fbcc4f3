// ASCII character classes, and the string helpers that go with them. <cctype>
// follows the locale and is undefined for negative char values; these know
// ASCII alone and take any byte.
#pragma once

#include <cstddef>
#include <string_view>

constexpr bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool is_alnum(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || is_digit(c);
}

// The white space of formatted input: blank, tab, LF, VT, FF and CR.
constexpr bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Lower case for the letters A to Z; every other byte as it is.
constexpr char fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal but for the case of the ASCII letters A to Z, every other byte exactly.
constexpr bool same_folded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

// The first n bytes of s, all of s where it is shorter. Not substr, whose
// out-of-range throw would bring exception code into the programs where the
// optimiser is off; not a string_view built from s.data(), which newer
// clang-tidy takes for a string that may lack its terminator.
constexpr std::string_view head(std::string_view s, std::size_t n) noexcept {
    if (n < s.size()) s.remove_suffix(s.size() - n);
    return s;
}
