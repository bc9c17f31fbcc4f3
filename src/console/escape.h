// Printing bytes that came from outside (an answer, a line of the data file)
// so that none of them can drive the terminal.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string_view>

// Prints fmt to f with each %s replaced by the next argument and each %c by
// the first byte of the next argument. In both, a control byte (0x00-0x08,
// 0x0A-0x1F, 0x7F-0x9F: everything a terminal obeys but the tab) is shown as
// \xHH with lower-case hex digits; every other byte is written as it is.
void print_escaped(FILE *f, const char *fmt, std::initializer_list<std::string_view> args);
