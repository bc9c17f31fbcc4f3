// Runs dprep-en or dprep-sv, the language of the catalog that this test is
// built with, on a pseudo-terminal through end-to-end cases,
// typing each line of a case's input only once the program waits for it, and
// compares the screen, the terminal's echo included, with the case's output
// with each typed answer placed after its question.
//
//   pty_tests <executable> <case directory>...
//
// A case's input is typed as at a keyboard: each line ended by Return, and
// the end of the input as Ctrl-D (twice after a line without a line feed,
// the first handing over that part of the line).
#include <fcntl.h>
#include <limits.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "../capture.h"
#include "../utf8.h"
#include "catalog.h"
#include "terminal.h"

namespace fs = std::filesystem;

namespace {

constexpr int wait_ms = 10000;  // generous: sanitizer builds start slowly
bool utf8 = false;              // the program runs in a UTF-8 locale

std::string read_file(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// What the terminal shows for program output: each line feed as CR LF, and
// in a UTF-8 locale the cases' ISO-8859-1 text in UTF-8.
std::string on_screen(const std::string &text) {
    std::string out;
    for (char c : utf8 ? latin1_to_utf8(text) : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The echo of typed keys: control characters as ^X, Return as a new line,
// Ctrl-D not at all.
std::string echo_of(std::string_view keys) {
    std::string out;
    for (char c : keys) {
        auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\r\n";
        else if (c == '\x04')
            continue;
        else if (u < 0x20 && c != '\t')
            out += {'^', static_cast<char>(u + 0x40)};
        else
            out += c;
    }
    return out;
}

// Byte values that do not print are shown as \xHH in reports.
std::string visible(std::string_view s) {
    std::string out;
    for (char c : s) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\') {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            out += hex;
        }
    }
    return out;
}

// The keys typed for a case's input, one string for each time the program
// waits for input.
std::vector<std::string> keystrokes(std::string_view input) {
    std::vector<std::string> keys;
    while (!input.empty()) {
        std::size_t end = input.find('\n');
        if (end == std::string_view::npos) {
            keys.push_back(std::string(input) + "\x04");
            break;
        }
        keys.push_back(std::string(input.substr(0, end)) + "\r");
        input.remove_prefix(end + 1);
    }
    keys.push_back("\x04");
    return keys;
}

struct session {
    std::string name;
    bool ok = true;

    void fail(const std::string &what) {
        std::printf("FAIL %s: %s\n", name.c_str(), what.c_str());
        ok = false;
    }
};

// The floppy holds nothing but fconfig.dat with exactly the text wanted, or
// nothing at all when there is none.
void expect_floppy(session *s, const fs::path &floppy, const fs::path &want) {
    std::string names;
    for (const auto &entry : fs::directory_iterator(floppy))
        names += entry.path().filename().string() + " ";
    if (names != (want.empty() ? "" : "fconfig.dat "))
        s->fail("the floppy holds: " + names);
    else if (!want.empty() && read_file(floppy / "fconfig.dat") != read_file(want))
        s->fail("fconfig.dat differs from " + want.filename().string());
}

// From its first question on the program holds what the operator types: it
// has no core file to leave, whatever limit it started with (main raises it).
void expect_no_core(session *s, pid_t pid) {
    std::string limits = read_file("/proc/" + std::to_string(pid) + "/limits");
    if (!std::regex_search(limits, std::regex("\nMax core file size +0 +0 ")))
        s->fail("the core file size limit is not 0, soft and hard");
}

bool run_case(const char *exe, const fs::path &dir) {
    session s{dir.parent_path().filename().string() + "/" + dir.filename().string()};
    // At a terminal, in a folder on no diskette (the scratch folder), the
    // program notes that before the first question, after the banner.
    std::string printed = read_file(dir / "stdout");
    printed.insert(printed.find('\n', printed.find('\n') + 1) + 1, msg.not_on_diskette);
    const std::string output = on_screen(printed);
    const std::vector<std::string> keys = keystrokes(read_file(dir / "stdin"));
    int want_status = fs::exists(dir / "status") ? std::atoi(read_file(dir / "status").c_str()) : 0;
    fs::path want_file = fs::exists(dir / "after.dat")    ? dir / "after.dat"
                         : fs::exists(dir / "before.dat") ? dir / "before.dat"
                                                          : fs::path();

    const fs::path floppy = new_scratch_dir("dprep-pty");
    if (fs::exists(dir / "before.dat")) fs::copy_file(dir / "before.dat", floppy / "fconfig.dat");
    terminal t;
    if (!start(&t, exe, floppy.c_str())) s.fail("cannot start the program on a pseudo-terminal");

    // The screen expected: the program's output up to each wait, then the
    // echo of what is typed there. Whenever the program waits, the last
    // thing it showed must be a question, which ends in a blank, and after a
    // line was answered a new one: a question still in the program's buffer
    // leaves the screen as it was.
    std::string want;
    std::size_t shown = 0;
    std::string echoed;
    for (const std::string &k : keys) {
        if (!s.ok || !wait_for_input(&t, echoed, wait_ms)) break;
        if (&k == &keys.front()) expect_no_core(&s, t.pid);
        std::size_t now = t.screen.size() - echoed.size();
        bool after_line = echoed.empty() || echoed.back() == '\n';
        if (now < shown + (after_line ? 1 : 0) || now > output.size() || output[now - 1] != ' ') {
            s.fail("the program waits after '" +
                   visible(t.screen.substr(t.screen.size() > 80 ? t.screen.size() - 80 : 0)) +
                   "', which is no question");
            break;
        }
        want += output.substr(shown, now - shown) + echo_of(k);
        shown = now;
        echoed += echo_of(k);
        type(&t, k);
    }
    int status = finish(&t, s.ok ? wait_ms : 1000);
    if (shown <= output.size()) want += output.substr(shown);
    if (status != want_status)
        s.fail("status " + std::to_string(status) + ", expected " + std::to_string(want_status));
    if (t.screen != want) {
        std::size_t at = 0;
        while (at < t.screen.size() && at < want.size() && t.screen[at] == want[at]) ++at;
        std::size_t line = want.rfind('\n', at == 0 ? 0 : at - 1);
        line = line == std::string::npos ? 0 : line + 1;
        s.fail("the screen differs at byte " + std::to_string(at) + ":\n  expected '" +
               visible(std::string_view(want).substr(line, 120)) + "'\n  shown    '" +
               visible(std::string_view(t.screen).substr(std::min(line, t.screen.size()), 120)) +
               "'");
    }
    expect_floppy(&s, floppy, want_file);
    fs::remove_all(floppy);
    return s.ok;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <executable> <case directory>...\n", argv[0]);
        return 2;
    }
    // The program runs in a scratch directory, so a relative name would miss.
    char exe[PATH_MAX];
    if (realpath(argv[1], exe) == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    // The C locale, or the UTF-8 locale that DPREP_UTF8 names, as tests/lib.sh has it.
    const char *locale = std::getenv("DPREP_UTF8");
    utf8 = locale != nullptr && *locale != '\0';
    setenv("LC_ALL", utf8 ? locale : "C", 1);
    // Some containers have no pseudo-terminals at all; that is no fault of the program.
    int probe = posix_openpt(O_RDWR | O_NOCTTY);
    if (probe < 0) {
        std::printf("SKIP: no pseudo-terminal: %s\n", std::strerror(errno));
        return 77;
    }
    close(probe);
    rlimit core;
    if (getrlimit(RLIMIT_CORE, &core) == 0 && core.rlim_max != 0) {
        core.rlim_cur = core.rlim_max;
        setrlimit(RLIMIT_CORE, &core);
    } else {
        std::printf("(no core limit above 0 to start the program with)\n");
    }
    bool ok = true;
    for (int i = 2; i < argc; ++i) ok = run_case(exe, argv[i]) && ok;
    std::printf("%d sessions: %s\n", argc - 2, ok ? "all as expected" : "failures above");
    return ok ? 0 : 1;
}
