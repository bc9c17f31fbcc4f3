// What the unit tests, the terminal test and the fuzz harnesses share about a
// program under test: how much it may print, and a folder for its files.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// A megabyte, far more than any session prints: a program that prints more
// is taken to print for ever.
constexpr std::size_t output_limit = 1 << 20;

// A stream that keeps what is written to it in a string. Past output_limit
// the process ends at once, saying so, rather than fill the memory.
inline FILE *capture(std::string *s) {
    cookie_io_functions_t calls = {};
    calls.write = [](void *cookie, const char *buf, std::size_t size) -> ssize_t {
        auto *text = static_cast<std::string *>(cookie);
        if (text->size() + size > output_limit) {
            std::fputs("FAIL: the program printed more than a megabyte\n", stderr);
            std::abort();
        }
        text->append(buf, size);
        return static_cast<ssize_t>(size);
    };
    return fopencookie(s, "w", calls);
}

// A fresh folder NAME-XXXXXX under $TMPDIR, else /tmp, for the caller to
// remove. Without one the process ends: carrying on would work in, and then
// remove, another folder.
inline std::string new_scratch_dir(const char *name) {
    const char *tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + name;
    path += "-XXXXXX";
    if (mkdtemp(path.data()) == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}
