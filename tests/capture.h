// A stream that keeps what is written to it in a string, for the tests and
// the fuzz harnesses. Past a megabyte, far more than any session prints, the
// program is taken to print for ever: the process ends at once, saying so,
// rather than fill the memory.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

inline FILE *capture(std::string *s) {
    cookie_io_functions_t calls = {};
    calls.write = [](void *cookie, const char *buf, std::size_t size) -> ssize_t {
        auto *text = static_cast<std::string *>(cookie);
        if (text->size() + size > 1 << 20) {
            std::fputs("FAIL: the program printed more than a megabyte\n", stderr);
            std::abort();
        }
        text->append(buf, size);
        return static_cast<ssize_t>(size);
    };
    return fopencookie(s, "w", calls);
}
