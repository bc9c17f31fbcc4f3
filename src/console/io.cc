// Line input: the one way an answer reaches the program.
#include "console/io.h"

#include <cstdint>
#include <cstdlib>

#include "catalog.h"
#include "console/print.h"

console io = {stdin, stdout, stderr, false};

void quit(int status) {
    std::exit(status);
}

namespace {

enum class line_read : std::uint8_t { complete, no_fit, nothing };

// Reads at most sz - 1 bytes, stopping after a line feed. Unlike the C string
// line read, it keeps count of the bytes, so a NUL in the line hides neither
// the rest of the line nor its line feed.
line_read read_line(char *s, int sz, std::size_t *len) {
    std::size_t n = 0;
    const auto limit = static_cast<std::size_t>(sz - 1);
    while (n < limit) {
        int c = std::getc(io.in);
        if (c == EOF) {
            if (std::ferror(io.in) || n == 0) return line_read::nothing;
            break;  // the input ended inside the line
        }
        if (c == '\n') {
            s[n] = '\0';
            *len = n;
            return line_read::complete;
        }
        s[n++] = static_cast<char>(c);
    }
    s[n] = '\0';
    return line_read::no_fit;
}

void discard_rest_of_line() {
    int c;
    do c = std::getc(io.in);
    while (c != EOF && c != '\n');
}

}  // namespace

std::size_t my_gets(char *s, int sz) {
    for (;;) {
        std::size_t len = 0;
        switch (read_line(s, sz, &len)) {
        case line_read::complete:
            return len;
        case line_read::nothing:
            print_text(io.out, msg.end_of_file);
            quit(1);
        case line_read::no_fit:
            print_text(io.out, msg.too_long_line);
            discard_rest_of_line();
            break;
        }
    }
}
