// The whole program on one input: an fconfig.dat and the operator's typing.
//
// The input is the file's bytes, the line "--stdin--", then standard input;
// without that line there is no fconfig.dat and all of it is standard input.
// The program runs in a scratch directory with its console on memory
// streams, once in the C locale and once in a UTF-8 one. Its end, exit(), is
// linked to this harness (-Wl,--wrap=exit), which then checks what the run
// left: status 0 or 1, safe text on the console, no descriptor left open,
// and a file that either is the old one byte for byte or, when the program
// saved, a new one that reads back without a message. The UTF-8 run must
// print the C locale run's text in UTF-8, but for the character quoted in a
// refusal, where it shows the whole UTF-8 character typed. Any breach
// aborts, which afl++ and the replay take as a crash; a run that does not
// end is a hang.
//
// Since exit() comes back here, afl++ runs many inputs in one process
// (persistent mode), not one fork per input: fork is slow on this machine.
// Every piece of state the program keeps is set afresh on each run, and
// afl++'s stability figure would show if one were not.
//
// Usage: whole_run FILE..., or one input on standard input; under afl++,
// with its test-case shared memory. The scratch directory is made under
// $TMPDIR, else /tmp; WHOLE_RUN_VERBOSE=1 prints how each run ended.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "catalog.h"
#include "config/file.h"
#include "config/options.h"
#include "console/io.h"
#include "fsio_stub.h"
#include "record_check.h"
#include "utf8.h"

int dprep_main(int argc, char **argv);  // src/driver/main.cc, compiled again under this name

// The names that ld --wrap gives the real exit() and its replacement.
extern "C" [[noreturn]] void __real_exit(int status);  // NOLINT(bugprone-reserved-identifier)

#ifdef __AFL_FUZZ_TESTCASE_LEN
__AFL_FUZZ_INIT();
#endif

namespace {

constexpr std::string_view separator = "--stdin--\n";
constexpr unsigned time_limit_seconds = 5;

std::jmp_buf ended;
bool running = false;  // exit() is the program's end, not the harness's
int exit_status = 0;
bool saved = false;  // a rename has put the new fconfig.dat in place
bool utf8 = false;   // the run's locale is a UTF-8 one
std::string scratch;
std::string shown_out, shown_err;

std::string read_fd(int fd) {
    std::string s;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        s.append(buf, static_cast<std::size_t>(n));
    }
    return s;
}

bool read_file(const char *path, std::string *s) {
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    *s = read_fd(fd);
    ::close(fd);
    return true;
}

bool ends_with(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// Entries of the scratch directory other than fconfig.dat; removes all when
// asked to.
std::string entries(bool remove) {
    std::string names;
    if (DIR *d = ::opendir(".")) {
        while (dirent *e = ::readdir(d)) {
            std::string_view n = e->d_name;
            if (n == "." || n == "..") continue;
            if (n != "fconfig.dat") names.append(n).append(" ");
            if (remove) ::unlink(e->d_name);
        }
        ::closedir(d);
    }
    return names;
}

// The lowest free descriptor: it moves when a run leaves one open.
int lowest_free_fd() {
    int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(fd);
    return fd;
}

// Shows what the program printed, then reports the breach.
[[noreturn]] void broken(const char *what, std::string_view detail = {}) {
    std::string_view out = shown_out;
    if (out.size() > 2000) out = out.substr(out.size() - 2000);
    std::fprintf(stderr, "whole_run: --- end of standard output ---\n%.*s\n",
                 static_cast<int>(out.size()), out.data());
    std::fprintf(stderr, "whole_run: --- standard error ---\n%.*s\n",
                 static_cast<int>(shown_err.size()), shown_err.data());
    entries(true);
    finding(what, detail);
}

void on_alarm(int) {
    static const char text[] = "\nINVARIANT BROKEN: the program did not end in time (hang)\n";
    if (::write(2, text, sizeof text - 1) < 0) {
    }
    std::abort();
}

void check_end(bool had_file, const std::string &before, int fd_before) {
    if (exit_status != 0 && exit_status != 1)
        broken("exit status other than 0 or 1", std::to_string(exit_status));
    check_terminal_text(shown_out, "control byte on standard output", utf8);
    check_terminal_text(shown_err, "control byte on standard error", utf8);
    if (lowest_free_fd() != fd_before) broken("the program left a descriptor open");

    std::string left = entries(false);
    if (!left.empty()) broken("files left beside fconfig.dat", left);

    struct stat st;
    bool has_file = ::stat("fconfig.dat", &st) == 0;
    std::string now;
    if (saved) {
        if (exit_status != 0) broken("saved, but the exit status is not 0");
        if (!has_file || !read_file("fconfig.dat", &now))
            broken("saved, but there is no fconfig.dat");
        if ((st.st_mode & 07777) != 0600) broken("the file written is not of mode 0600");
        std::size_t lines = 0;
        for (char c : now) lines += c == '\n';
        if (lines != 22 || now.back() != '\n') broken("the file written is not 22 lines", now);
        options o;
        std::string messages = load_messages(&o);
        if (!messages.empty()) broken("the file written draws messages when read", messages);
        check_record(o);
        if (!ends_with(shown_out, msg.password_note) && !ends_with(shown_out, msg.eject_warning))
            broken("saved, but the closing advice is not the last output");
    } else {
        if (had_file && (!read_file("fconfig.dat", &now) || now != before))
            broken("fconfig.dat changed although nothing was saved");
        if (!had_file && has_file) broken("fconfig.dat appeared although nothing was saved");
        if (exit_status == 0 && !ends_with(shown_out, msg.confirm_question))
            broken("status 0 without saving, but not after an abort at the confirmation");
        if (exit_status == 1 && !ends_with(shown_out, msg.end_of_file))
            broken("status 1, but the last output is not the end-of-file message");
    }
}

// In a frame of its own, so that no caller's variable lives across the
// longjmp back from exit().
void run_program() {
    running = true;
    if (setjmp(ended) == 0) {
        static char name[] = "dprep";
        static char *argv[] = {name, nullptr};
        dprep_main(1, argv);
        running = false;
        exit_status = 98;  // main returned, which it never does
    }
}

void run_in(const char *locale, bool had_file, const std::string &before, std::string &typed) {
    ::setenv("LC_ALL", locale, 1);
    utf8 = std::string_view(locale) != "C";
    entries(true);
    if (had_file) {
        int fd = ::open("fconfig.dat", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 ||
            ::write(fd, before.data(), before.size()) != static_cast<ssize_t>(before.size())) {
            std::perror("whole_run: fconfig.dat");
            std::abort();
        }
        ::close(fd);
    }
    int fd_before = lowest_free_fd();

    console real = io;
    // fmemopen refuses a buffer of no bytes in some C libraries; an empty
    // input is the same as /dev/null.
    io.in =
        typed.empty() ? std::fopen("/dev/null", "r") : fmemopen(typed.data(), typed.size(), "r");
    shown_out.clear();
    shown_err.clear();
    io.out = capture(&shown_out);
    io.err = capture(&shown_err);
    calls.clear();  // the stand-in's record would grow from run to run
    renames = 0;
    exit_status = -1;

    run_program();
    saved = renames > 0;
    std::fclose(io.in);
    std::fclose(io.out);
    std::fclose(io.err);
    io = real;

    if (exit_status == 98) broken("the program returned from main");
    check_end(had_file, before, fd_before);
    if (std::getenv("WHOLE_RUN_VERBOSE"))
        std::fprintf(stderr, "whole_run: %s: status %d, %s\n", locale, exit_status,
                     saved      ? "saved"
                     : had_file ? "file kept"
                                : "no file");
}

// The line that text begins with, its line feed included, taken off text.
std::string_view take_line(std::string_view *text) {
    std::string_view line = text->substr(0, text->find('\n') + 1);
    if (line.empty()) line = *text;  // the last, without a line feed
    text->remove_prefix(line.size());
    return line;
}

// What the UTF-8 run printed (u) is the C locale run's text (c) in UTF-8,
// line by line, but for the character quoted in a refusal (msg.invalid_char,
// "...%s: '%c' *\n", which ends its line): there the C locale shows the
// first byte typed, and where that byte begins a UTF-8 character (C2..F4), a
// UTF-8 console shows that whole character, or the escape of a C1 control.
void check_utf8_run(std::string_view c, std::string_view u, const char *where) {
    if (latin1_to_utf8(c) == u) return;
    std::string_view f = msg.invalid_char;
    std::string_view after = f.substr(f.find("%c") + 2);
    std::string_view mid = f.substr(f.find("%s") + 2, f.find("%c") - f.find("%s") - 2);
    const std::string after_in_utf8 = latin1_to_utf8(after);
    while (!c.empty() || !u.empty()) {
        std::string_view cl = take_line(&c), ul = take_line(&u);
        if (latin1_to_utf8(cl) == ul) continue;
        // The C line: head, the byte quoted, after; the UTF-8 line: head
        // and after in UTF-8, what is shown between.
        std::size_t at = cl.size() > after.size() ? cl.size() - after.size() - 1 : 0;
        std::string head = latin1_to_utf8(cl.substr(0, at));
        if (at == 0 || !ends_with(cl, after) || !ends_with(cl.substr(0, at), mid) ||
            !ul.starts_with(head) || !ends_with(ul, after_in_utf8) ||
            ul.size() <= head.size() + after_in_utf8.size())
            broken(where, std::string(cl) + " | " + std::string(ul));
        auto b = static_cast<unsigned char>(cl[at]);
        std::string_view shown =
            ul.substr(head.size(), ul.size() - head.size() - after_in_utf8.size());
        bool c1_escape = b == 0xC2 && shown.size() == 4 &&
                         (shown.starts_with("\\x8") || shown.starts_with("\\x9"));
        bool typed = b >= 0xC2 && b <= 0xF4 && shown.starts_with(cl[at]);
        for (std::size_t i = 1; typed && i < shown.size(); ++i)
            typed = (static_cast<unsigned char>(shown[i]) & 0xC0) == 0x80;
        if (!c1_escape && !typed) broken(where, std::string(cl) + " | " + std::string(ul));
    }
}

void run_once(std::string_view input) {
    std::size_t cut = input.find(separator);
    bool had_file = cut != std::string_view::npos;
    std::string before(had_file ? input.substr(0, cut) : std::string_view());
    std::string typed(had_file ? input.substr(cut + separator.size()) : input);

    run_in("C", had_file, before, typed);
    std::string c_out = std::move(shown_out), c_err = std::move(shown_err);
    run_in("C.UTF-8", had_file, before, typed);
    check_utf8_run(c_out, shown_out, "standard output in UTF-8 is not the C locale's");
    check_utf8_run(c_err, shown_err, "standard error in UTF-8 is not the C locale's");
}

}  // namespace

// The program's exit(): back to the harness while a run is on.
extern "C" [[noreturn]] void __wrap_exit(int status) {  // NOLINT(bugprone-reserved-identifier)
    if (!running) __real_exit(status);
    running = false;
    exit_status = status;
    std::longjmp(ended, 1);
}

int main(int argc, char **argv) {
    // The inputs are named relative to where the harness started.
    for (int i = 1; i < argc; ++i)
        if (char *path = ::realpath(argv[i], nullptr)) argv[i] = path;
    scratch = new_scratch_dir("whole-run");
    if (::chdir(scratch.c_str()) != 0) {
        std::perror("whole_run: scratch directory");
        return 2;
    }

#ifdef __AFL_FUZZ_TESTCASE_LEN
    if (std::getenv("__AFL_SHM_ID") != nullptr || std::getenv("AFL_PERSISTENT") != nullptr) {
        unsigned char *buf = __AFL_FUZZ_TESTCASE_BUF;
        while (__AFL_LOOP(1000)) {
            auto len = static_cast<std::size_t>(__AFL_FUZZ_TESTCASE_LEN);
            run_once(std::string_view(reinterpret_cast<const char *>(buf), len));
        }
        entries(true);
        ::rmdir(scratch.c_str());
        return 0;
    }
#endif
    std::signal(SIGALRM, on_alarm);
    if (argc < 2) {
        ::alarm(time_limit_seconds);
        run_once(read_fd(0));
    }
    for (int i = 1; i < argc; ++i) {
        std::string input;
        if (!read_file(argv[i], &input)) {
            std::fprintf(stderr, "whole_run: cannot read %s\n", argv[i]);
            return 2;
        }
        if (std::getenv("WHOLE_RUN_VERBOSE")) std::fprintf(stderr, "whole_run: %s\n", argv[i]);
        ::alarm(time_limit_seconds);
        run_once(input);
    }
    ::alarm(0);
    entries(true);
    ::rmdir(scratch.c_str());
    return 0;
}
