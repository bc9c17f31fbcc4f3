// Pseudo-terminal sessions for the tests.
#include "terminal.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../capture.h"

namespace {

// The settings a Linux console starts with, spelt out so that the echo the
// tests expect does not hang on whatever the machine's defaults are.
termios cooked_mode() {
    termios tio;
    std::memset(&tio, 0, sizeof tio);
    tio.c_iflag = ICRNL | IXON;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_cflag = CS8 | CREAD | HUPCL;
    tio.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE | IEXTEN;
    tio.c_cc[VINTR] = 0x03;
    tio.c_cc[VQUIT] = 0x1c;
    tio.c_cc[VERASE] = 0x7f;
    tio.c_cc[VKILL] = 0x15;
    tio.c_cc[VEOF] = 0x04;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
    tio.c_cc[VSUSP] = 0x1a;
    tio.c_cc[VREPRINT] = 0x12;
    tio.c_cc[VWERASE] = 0x17;
    tio.c_cc[VLNEXT] = 0x16;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B38400);
    cfsetospeed(&tio, B38400);
    return tio;
}

long now_ms() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

enum class got { data, closed, timeout };

// Adds what the terminal shows next to the screen, waiting until deadline.
got read_screen(terminal *t, long deadline) {
    long left = deadline - now_ms();
    if (left < 0) left = 0;
    pollfd p = {t->master, POLLIN, 0};
    int r = poll(&p, 1, static_cast<int>(left));
    if (r < 0 && errno == EINTR) return got::data;
    if (r == 0) return got::timeout;
    char buf[4096];
    ssize_t n = read(t->master, buf, sizeof buf);
    if (n < 0 && errno == EINTR) return got::data;
    // Once the program and all its descriptors are gone, Linux answers EIO.
    if (n <= 0 || t->screen.size() > output_limit) return got::closed;
    t->screen.append(buf, static_cast<std::size_t>(n));
    return got::data;
}

// One of the program's /proc files; false if the kernel does not show it.
bool read_proc(pid_t pid, const char *name, char *text, std::size_t size) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/%s", static_cast<int>(pid), name);
    FILE *f = std::fopen(path, "r");
    if (f == nullptr) return false;
    std::size_t n = std::fread(text, 1, size - 1, f);
    std::fclose(f);
    text[n] = '\0';
    return n > 0;
}

// Read calls completed and bytes written, anywhere, by the program's main
// thread, which reads the keyboard; an emulator may run threads of its own.
struct io_counts {
    unsigned long long reads = 0, written = 0;
    bool operator==(const io_counts &) const = default;
};

bool io_of(pid_t pid, io_counts *c) {
    char name[32], text[512];
    std::snprintf(name, sizeof name, "task/%d/io", static_cast<int>(pid));
    return read_proc(pid, name, text, sizeof text) &&
           std::sscanf(text, "rchar: %*s wchar: %llu syscr: %llu", &c->written, &c->reads) == 2;
}

// Whether the program sleeps in a read of its standard input; where the
// kernel does not say which call it sleeps in, whether it sleeps at all.
bool reading(pid_t pid) {
    char text[512];
    long call;
    unsigned long long fd;
    if (read_proc(pid, "syscall", text, sizeof text))
        // The kernel's number for read: 0 for a 64-bit process (an emulator
        // running a 32-bit program too), 3 for a 32-bit one; this test may
        // itself be a 32-bit program that an emulator runs.
        return std::sscanf(text, "%ld %llx", &call, &fd) == 2 && (call == 0 || call == 3) &&
               fd == 0;
    if (!read_proc(pid, "stat", text, sizeof text)) return false;
    // The state follows the command name, which is in parentheses.
    const char *end = std::strrchr(text, ')');
    return end != nullptr && end[1] == ' ' && end[2] == 'S';
}

std::size_t without_lf(std::string_view s) {
    return s.size() - static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n'));
}

}  // namespace

bool start(terminal *t, const char *exe, const char *dir) {
    termios tio = cooked_mode();
    winsize ws = {24, 80, 0, 0};
    pid_t pid = forkpty(&t->master, nullptr, &tio, &ws);
    if (pid < 0) return false;
    if (pid == 0) {
        if (chdir(dir) != 0) _exit(126);
        // Through the emulator that a build for another kind of PC needs,
        // its words split by the shell as the scripts' run_prog splits them.
        if (const char *emulator = std::getenv("DPREP_EMULATOR"); emulator && *emulator)
            execl("/bin/sh", "sh", "-c", "exec $DPREP_EMULATOR \"$0\"", exe,
                  static_cast<char *>(nullptr));
        else
            execl(exe, exe, static_cast<char *>(nullptr));
        _exit(127);
    }
    t->pid = pid;
    return true;
}

bool wait_for_input(terminal *t, std::string_view echoed, int timeout_ms) {
    long deadline = now_ms() + timeout_ms;
    for (;;) {
        // Counted before and after the look, its calls show that the read it
        // sleeps in began after the one it last waited in returned, and has
        // not returned either: it stands still until typed to, all its
        // writes done, though the terminal may not have passed them on yet.
        io_counts before, after;
        if (io_of(t->pid, &before) && before.reads >= t->reads && reading(t->pid) &&
            io_of(t->pid, &after) && after == before) {
            // The terminal shows each line feed it wrote as CR LF.
            std::size_t want = after.written + without_lf(echoed);
            got g = got::data;
            while (g == got::data && without_lf(t->screen) < want) g = read_screen(t, deadline);
            if (without_lf(t->screen) == want) {
                t->reads = after.reads + 1;
                return true;
            }
            if (g != got::data) return false;
        }
        // Looks again at the latest after 2 ms of a quiet screen, which
        // only bounds what the waiting costs.
        if (read_screen(t, std::min(deadline, now_ms() + 2)) == got::closed) return false;
        if (now_ms() >= deadline) return false;
    }
}

void type(terminal *t, std::string_view keys) {
    while (!keys.empty()) {
        ssize_t n = write(t->master, keys.data(), keys.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        keys.remove_prefix(static_cast<std::size_t>(n));
    }
}

int finish(terminal *t, int timeout_ms) {
    long deadline = now_ms() + timeout_ms;
    while (read_screen(t, deadline) == got::data) {
    }
    if (t->screen.size() > output_limit) deadline = now_ms();  // ended at once
    int status = 0;
    pid_t done;
    while ((done = waitpid(t->pid, &status, WNOHANG)) == 0 && now_ms() < deadline) usleep(10000);
    if (done == 0) {
        kill(t->pid, SIGKILL);
        waitpid(t->pid, &status, 0);
        status = -1;
    } else if (done < 0) {
        status = -1;
    } else if (WIFEXITED(status)) {
        status = WEXITSTATUS(status);
    } else {
        status = 128 + WTERMSIG(status);
    }
    close(t->master);
    t->master = -1;
    t->pid = -1;
    return status;
}
