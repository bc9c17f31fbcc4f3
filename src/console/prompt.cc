// Prompt operations on top of the line reader.
#include "console/prompt.h"

#include <cstdio>
#include <cstring>

#include "catalog.h"
#include "console/ascii.h"
#include "console/io.h"
#include "console/print.h"

bool matches_word(std::string_view line, const char *word) {
    std::size_t n = line.size();
    return n > 0 && n <= std::strlen(word) && same_folded(line, std::string_view(word, n));
}

void prompt_ul(const char *p, const char *errorprompt, formatter_fn formatter, parser_fn parser,
               uint32_t *data) {
    static char s[256];
    for (;;) {
        print_escaped(io.out, p, {formatter(*data)});
        std::fflush(io.out);
        std::size_t n = my_gets(s, sizeof s);
        if (n == 0 || parser(std::string_view(s, n), data)) return;
        print_text(io.out, errorprompt);
        print_text(io.out, "\n");
    }
}

void prompt_bool(const char *prompt, int8_t *b) {
    static char s[20];
    for (;;) {
        print_text(io.out, prompt);
        print_escaped(io.out, msg.yn_suffix, {*b ? msg.yes_letter : msg.no_letter});
        std::fflush(io.out);
        std::size_t n = my_gets(s, sizeof s);
        if (n == 0) return;
        std::string_view answer(s, n);
        if (matches_word(answer, msg.yes_word)) {
            *b = 1;
            return;
        }
        if (matches_word(answer, msg.no_word)) {
            *b = 0;
            return;
        }
        print_text(io.out, msg.bad_input);
    }
}

void prompt_string(const char *prompt, const char *type, char *data, int len) {
    static char s[256];
    for (;;) {
        print_escaped(io.out, prompt, {data});
        std::fflush(io.out);
        std::size_t n = my_gets(s, sizeof s);
        std::string_view answer(s, n);
        if (n == 0) {
            if (data[0] != '\0') return;
            print_escaped(io.out, msg.must_give, {type});
            continue;
        }
        const char *bad = nullptr;
        for (const char &c : answer) {
            if (!is_alnum(c)) {
                bad = &c;
                break;
            }
        }
        if (bad != nullptr) {
            // From the bad byte on: the whole character typed, where it is one.
            print_escaped(io.out, msg.invalid_char,
                          {type, std::string_view(bad, n - static_cast<std::size_t>(bad - s))});
            continue;
        }
        if (n >= static_cast<std::size_t>(len)) {
            print_escaped(io.out, msg.too_long, {type});
            continue;
        }
        std::memcpy(data, s, n + 1);
        return;
    }
}
