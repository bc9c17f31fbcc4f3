// Folded text output.
#include "console/fold.h"

#include <cstdio>

#include "console/io.h"
#include "console/print.h"

void print_folded(const char *text, int current_col, int left_margin, int width) {
    int col = current_col;
    bool need_delim = false;
    const char *p = text;
    while (*p != '\0') {
        const char *prev = p;
        while (*p != '\0' && *p != ' ') ++p;
        int w = static_cast<int>(p - prev);
        if (col > 0 && col + w + (need_delim ? 1 : 0) > width) {
            std::putc('\n', io.out);
            col = 0;
            need_delim = false;
        }
        if (col < left_margin) {
            for (; col < left_margin; ++col) std::putc(' ', io.out);
            need_delim = false;
        }
        if (need_delim) {
            std::putc(' ', io.out);
            ++col;
        }
        print_text(io.out, std::string_view(prev, static_cast<std::size_t>(w)));
        col += w;
        need_delim = true;
        while (*p == ' ') ++p;
    }
    std::putc('\n', io.out);
}
