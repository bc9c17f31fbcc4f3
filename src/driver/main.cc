// The main flow: the arguments, the banner, defaults, the saved file, then
// dialogue, summary and check until the answers agree, the confirmation, and
// the save.
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "catalog.h"
#include "config/file.h"
#include "config/options.h"
#include "console/io.h"
#include "console/print.h"
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
        print_text(io.out, "\n");
        print_text(io.out, msg.confirm_question);
        std::fflush(io.out);
        std::string_view line(s, my_gets(s, sizeof s));
        if (matches_word(line, msg.yes_word)) return answer::yes;
        if (matches_word(line, msg.no_word)) return answer::no;
        if (matches_word(line, msg.abort_word)) return answer::abort;
    }
}

// The help or the version, printed; a failure to write it is said, as a
// script that reads it must know.
[[noreturn]] void quit_printed() {
    if (std::fflush(io.out) != 0 || std::ferror(io.out)) {
        print_text(io.err, msg.write_error);
        quit(1);
    }
    quit(0);
}

// Only --help and --version, each alone, are understood. Anything else is
// an operator's mistake (a folder named for the file, say): refused before
// anything is asked, rather than ignored and the file saved elsewhere.
[[noreturn]] void take_arguments(int argc, char **argv) {
    std::string_view arg = argv[1];
    if (argc == 2 && arg == "--help") {
        print_text(io.out, msg.help);
        quit_printed();
    }
    if (argc == 2 && arg == "--version") {
        print_escaped(io.out, "%s %s\n", {msg.program_name, version});
        quit_printed();
    }
    print_text(io.err, msg.usage_error);
    quit(2);
}

}  // namespace

int main(int argc, char **argv) {
    // The password is in this process's memory from its first answer on: no
    // core file, which would land in the current directory, the floppy. Hard
    // limit too, so that nothing can raise it again.
    const rlimit no_core = {0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    // Line-buffered even into a pipe, so that a transcript keeps the order of
    // the screen; the buffers are static, as is everything else here.
    static char out_buffer[BUFSIZ];
    static char in_buffer[BUFSIZ];
    std::setvbuf(stdout, out_buffer, _IOLBF, sizeof out_buffer);
    std::setvbuf(stdin, in_buffer, _IOFBF, sizeof in_buffer);
    io.utf8 = names_utf8(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
    if (argc > 1) take_arguments(argc, argv);

    print_text(io.out, "\n");
    print_escaped(io.out, msg.banner, {version_major, version_minor});

    options o;
    set_defaults(&o);
    load(&o);
    // A save that cannot succeed is said now, before anything is typed in vain.
    if (check_save() != 0) quit(1);

    print_text(io.out, "\n");
    print_text(io.out, msg.press_return);

    for (;;) {
        ask(&o);
        show(&o);
        if (check(&o) != 0) {
            print_text(io.out, "\n");
            print_text(io.out, msg.please_correct);
            print_text(io.out, "\n");
            continue;
        }
        answer a = confirm();
        if (a == answer::abort) quit(0);
        if (a == answer::yes) break;
    }

    save(&o);
    print_text(io.out, "\n");
    print_text(io.out, msg.saved);
    print_text(io.out, msg.password_note);
    if (o.update_mode != 1) {
        print_text(io.out, msg.erase_warning);
        print_text(io.out, msg.eject_warning);
    }
    quit(0);
}
