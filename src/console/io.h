// The console the program talks through, and the two ways a run ends early.
#pragma once

#include <cstddef>
#include <cstdio>

// Standard input, output and error by default; tests hand in their own streams.
struct console {
    FILE *in;
    FILE *out;
    FILE *err;
    bool utf8;  // the user's locale is a UTF-8 one: print in UTF-8 (print.h)
};
extern console io;

// Ends the process with the given status. Every message printed before it is
// flushed on the way out.
[[noreturn]] void quit(int status);

// Reads one whole line into s (size sz): the line feed is removed and a NUL
// put after the line, which is at most sz - 2 bytes long. Returns the line's
// length: a NUL byte typed in the line is an ordinary character and counts.
// A line that does not fit is refused and the next one read instead. At end
// of input it reports that the changes are lost and ends the process with
// status 1.
std::size_t my_gets(char *s, int sz);
