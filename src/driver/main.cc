// The main flow: banner, defaults, the saved file, then dialogue, summary and
// check until the answers agree, the confirmation, and the save.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "catalog.h"
#include "config/file.h"
#include "config/options.h"
#include "console/io.h"
#include "console/prompt.h"
#include "dialogue/dialogue.h"
#include "validate/check.h"
#include "version.h"

namespace {

enum class answer : std::uint8_t { yes, no, abort };

// Asks until the answer is a prefix of the yes, no or abort word; anything
// else, an empty line included, brings the question back.
answer confirm() {
    static char s[256];
    for (;;) {
        std::fputs("\n", io.out);
        std::fputs(msg.confirm_question, io.out);
        std::fflush(io.out);
        std::string_view line(s, my_gets(s, sizeof s));
        if (matches_word(line, msg.yes_word)) return answer::yes;
        if (matches_word(line, msg.no_word)) return answer::no;
        if (matches_word(line, msg.abort_word)) return answer::abort;
    }
}

}  // namespace

int main() {
    // Line-buffered even into a pipe, so that a transcript keeps the order of
    // the screen; the buffers are static, as is everything else here.
    static char out_buffer[BUFSIZ];
    static char in_buffer[BUFSIZ];
    std::setvbuf(stdout, out_buffer, _IOLBF, sizeof out_buffer);
    std::setvbuf(stdin, in_buffer, _IOFBF, sizeof in_buffer);

    std::fputs("\n", io.out);
    std::fprintf(io.out, msg.banner, version_major, version_minor);

    options o;
    set_defaults(&o);
    load(&o);

    std::fputs("\n", io.out);
    std::fputs(msg.press_return, io.out);

    for (;;) {
        ask(&o);
        show(&o);
        if (check(&o) != 0) {
            std::fputs("\n", io.out);
            std::fputs(msg.please_correct, io.out);
            std::fputs("\n", io.out);
            continue;
        }
        answer a = confirm();
        if (a == answer::abort) quit(0);
        if (a == answer::yes) break;
    }

    save(&o);
    std::fputs("\n", io.out);
    std::fputs(msg.saved, io.out);
    std::fputs(msg.password_note, io.out);
    if (o.update_mode != 1) {
        std::fputs(msg.erase_warning, io.out);
        std::fputs(msg.eject_warning, io.out);
    }
    quit(0);
}
