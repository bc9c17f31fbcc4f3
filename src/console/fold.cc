// Folded text output.
#include "console/fold.h"

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
            print_text(io.out, "\n");
            col = 0;
            need_delim = false;
        }
        if (col < left_margin) {
            for (; col < left_margin; ++col) print_text(io.out, " ");
            need_delim = false;
        }
        if (need_delim) {
            print_text(io.out, " ");
            ++col;
        }
        print_text(io.out, std::string_view(prev, static_cast<std::size_t>(w)));
        col += w;
        need_delim = true;
        while (*p == ' ') ++p;
    }
    print_text(io.out, "\n");
}
