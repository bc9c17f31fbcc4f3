// Everything the program prints reaches the console through here. Its texts
// are ISO-8859-1 bytes: written as they are, or as UTF-8 where the user's
// locale is a UTF-8 one. Bytes from outside (an answer, a line of the data
// file) are escaped besides, so that none of them can drive the terminal.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "console/ascii.h"

// Whether the locale that the environment names is a UTF-8 one: the first of
// LC_ALL, LC_CTYPE and LANG that is set and not empty (null: not set), whose
// codeset, after its '.' and before any '@', or the whole name where it is
// only a codeset, is UTF-8 or utf8 in any case. Decided from the name alone:
// the terminal is what the name describes, and the locale itself need not be
// installed (an ssh session, a static program in a root with no locale data).
bool names_utf8(const char *lc_all, const char *lc_ctype, const char *lang);

// Writes text to f in the console's codeset.
void print_text(FILE *f, std::string_view text);

// An argument of print_escaped: text for %s and %c, a number (never
// negative) for %d and %lu.
struct print_arg {
    std::string_view text;
    unsigned long number = 0;

    constexpr print_arg(std::string_view t) : text(t) {}
    constexpr print_arg(const char *t) : text(t) {}
    template <std::integral N>
    constexpr print_arg(N n) : number(static_cast<unsigned long>(n)) {}
    // A character or a flag would pass for a number and print as one, or,
    // for %c, print nothing: give %c a text, %d a number.
    print_arg(char) = delete;
    print_arg(bool) = delete;
};

// Prints fmt to f with each %s replaced by the next argument, each %c by the
// character at the start of the next argument, and each %d or %lu (with an
// optional width, as in "%4lu") by the next argument's number in decimal. In
// %s and %c a control byte (0x00-0x08, 0x0A-0x1F, 0x7F-0x9F: everything a
// terminal obeys but the tab) is shown as \xHH with lower-case hex digits.
// The character of a %c is one byte, or on a UTF-8 console the whole UTF-8
// character that its argument begins with, if it begins with a valid one:
// what the operator typed. A '%' that starts no conversion, or one that has
// no argument left, is printed as it stands.
void print_escaped(FILE *f, const char *fmt, std::initializer_list<print_arg> args);

// What one call prints reaches f in one write, up to this many bytes: more
// than the longest message (message_size), so that a message on the
// unbuffered standard error is never split.
inline constexpr std::size_t print_capacity = 2048;

// A conversion of print_escaped's format at the start of fmt: its length,
// '%' included (0 where fmt starts none), its letter and its width.
struct conversion {
    std::size_t length = 0;
    char letter = 0;
    std::size_t width = 0;
};

constexpr conversion conversion_at(std::string_view fmt) {
    conversion c;
    std::size_t i = 1;
    for (; i < fmt.size() && is_digit(fmt[i]) && c.width < 1000; ++i)
        c.width = c.width * 10 + static_cast<std::size_t>(fmt[i] - '0');
    bool is_long = i < fmt.size() && fmt[i] == 'l';
    if (is_long) ++i;
    if (i >= fmt.size()) return c;
    char letter = fmt[i];
    bool text = (letter == 's' || letter == 'c') && c.width == 0 && !is_long;
    bool number = (letter == 'd' && !is_long) || (letter == 'u' && is_long);
    if (text || number) {
        c.length = i + 1;
        c.letter = letter;
    }
    return c;
}

// The most bytes a catalog text can become when printed, with each %s a
// value of at most longest_value bytes: every byte from 0x80 up doubled in
// UTF-8, every byte of a value escaped as \xHH, a %c as a UTF-8 character of
// up to four bytes, a number of up to 20 digits.
constexpr std::size_t message_size(std::string_view fmt, std::size_t longest_value) {
    std::size_t n = 0;
    while (!fmt.empty()) {
        conversion c = fmt[0] == '%' ? conversion_at(fmt) : conversion{};
        if (c.length == 0) {
            n += static_cast<unsigned char>(fmt[0]) >= 0x80 ? 2u : 1u;
            fmt.remove_prefix(1);
            continue;
        }
        if (c.letter == 's')
            n += 4 * longest_value;
        else if (c.letter == 'c')
            n += 4;
        else
            n += c.width > 20 ? c.width : 20u;
        fmt.remove_prefix(c.length);
    }
    return n;
}
