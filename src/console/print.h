// Everything the program prints reaches the console through here. Its texts
// are ISO-8859-1 bytes: written as they are, or as UTF-8 where the user's
// locale is a UTF-8 one. Bytes from outside (an answer, a line of the data
// file) are escaped besides, so that none of them can drive the terminal.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string_view>

// Whether the locale that the environment names is a UTF-8 one: the first of
// LC_ALL, LC_CTYPE and LANG that is set and not empty (null: not set), whose
// codeset, after its '.' and before any '@', is UTF-8 or utf8 in any case.
// Decided from the name alone: the terminal is what the name describes, and
// the locale itself need not be installed (an ssh session, a static program
// in a root with no locale data at all).
bool names_utf8(const char *lc_all, const char *lc_ctype, const char *lang);

// Writes text to f in the console's codeset.
void print_text(FILE *f, std::string_view text);

// printf to f, in the console's codeset.
void print_format(FILE *f, const char *fmt, ...) __attribute__((format(printf, 2, 3)));

// Prints fmt to f with each %s replaced by the next argument and each %c by
// the character at the start of the next argument. In both, a control byte
// (0x00-0x08, 0x0A-0x1F, 0x7F-0x9F: everything a terminal obeys but the tab)
// is shown as \xHH with lower-case hex digits. The character of a %c is one
// byte, or on a UTF-8 console the whole UTF-8 character that its argument
// begins with, if it begins with a valid one: what the operator typed.
void print_escaped(FILE *f, const char *fmt, std::initializer_list<std::string_view> args);
