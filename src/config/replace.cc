// Replacing a file through a temporary file, a sync and a rename, with the
// temporary file removed whatever ends the process first.
#include "config/replace.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <string_view>

#include "config/fsio.h"

namespace {

bool set_path(char *to, std::string_view dir, std::string_view name) {
    if (dir.size() + name.size() >= PATH_MAX) return false;
    // std::copy, unlike memcpy, is defined for the empty view's null pointer.
    char *end = std::copy(dir.begin(), dir.end(), to);
    end = std::copy(name.begin(), name.end(), end);
    *end = '\0';
    return true;
}

// The directory part of path, with its final '/', or "" for the current one.
std::string_view dir_of(const char *path) {
    const char *slash = std::strrchr(path, '/');
    return slash ? std::string_view(path, static_cast<std::size_t>(slash - path + 1))
                 : std::string_view();
}

// Follows name's chain of symbolic links into path, as opening it would;
// 0, or the error that stops it.
int resolve_target(const char *name, char *path) {
    static char link[PATH_MAX];
    static char next[PATH_MAX];
    if (!set_path(path, {}, name)) return ENAMETOOLONG;
    for (int hops = 0; hops < 40; ++hops) {
        ssize_t n = fs_readlink(path, link, sizeof link);
        if (n < 0) return errno == EINVAL || errno == ENOENT ? 0 : errno;  // no link, or nothing
        if (static_cast<std::size_t>(n) >= sizeof link) return ENAMETOOLONG;
        std::string_view target(link, static_cast<std::size_t>(n));
        std::string_view dir = target.starts_with('/') ? std::string_view() : dir_of(path);
        if (!set_path(next, dir, target)) return ENAMETOOLONG;
        set_path(path, {}, next);
    }
    return ELOOP;
}

// Only a regular file, or nothing yet, may be replaced: a rename over a
// device node or a FIFO would put the file in its place, and a directory
// cannot be. Opening the existing file for writing, as a plain save would,
// must be allowed: a read-only file is not replaced behind the operator's
// back.
int may_write(const char *path) {
    struct stat st;
    if (fs_stat(path, &st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISREG(st.st_mode)) return not_regular;
    int fd = fs_open(path, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) return errno == ENOENT ? 0 : errno;
    fs_close(fd);
    return 0;
}

int write_all(int fd, const char *p, std::size_t n) {
    while (n > 0) {
        ssize_t done = fs_write(fd, p, n);
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) return errno;
        if (done == 0) return EIO;  // no progress, and no error to say why
        p += done;
        n -= static_cast<std::size_t>(done);
    }
    return 0;
}

// The directory part of a target, "." for the current one.
bool set_dir(char *to, std::string_view dir) {
    return set_path(to, dir.empty() ? "." : dir, "");
}

// Makes the rename itself durable. File systems that cannot sync a directory
// say so with EINVAL; the rename stands there anyway.
int sync_dir(std::string_view dir) {
    static char path[PATH_MAX];
    if (!set_dir(path, dir)) return ENAMETOOLONG;
    int fd = fs_open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return errno;
    int error = fs_fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP ? 0 : errno;
    fs_close(fd);
    return error;
}

// ---- The temporary file against signals ----

// What the operator and the system send to end a program: Ctrl-C, Ctrl-\, a
// closed terminal, a shutdown, and the other signals that end a process by
// default and are sent by other programs.
constexpr int ending_signals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,
                                  SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE};

char temp[PATH_MAX];  // the temporary file's path, for the handler too
volatile sig_atomic_t temp_exists = 0;

struct sigaction previous[std::size(ending_signals)];
struct sigaction previous_xfsz;
sigset_t ending_set;
sigset_t previous_mask;

// Removes the temporary file, then lets the signal end the process as it
// would have: raised again with its default action, it is delivered as soon
// as the handler returns. Only async-signal-safe calls here. (A process that
// a signal ends writes no coverage counters, hence the exclusion.)
// GCOVR_EXCL_START
void remove_temp_and_end(int sig) {
    if (temp_exists) ::unlink(temp);
    struct sigaction dfl = {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    raise(sig);
}
// GCOVR_EXCL_STOP

// From here to unguard(), a terminating signal removes the temporary file, if
// there is one, before it ends the process. Only signals left at their
// default action are caught: one the caller ignores (nohup, a background
// job) stays ignored, and one that a harness around this code handles
// (a fuzzer's timer) stays its own.
void guard() {
    sigemptyset(&ending_set);
    for (int sig : ending_signals) sigaddset(&ending_set, sig);
    struct sigaction handler = {};
    handler.sa_handler = remove_temp_and_end;
    handler.sa_mask = ending_set;
    for (std::size_t i = 0; i < std::size(ending_signals); ++i) {
        sigaction(ending_signals[i], nullptr, &previous[i]);
        bool by_default =
            (previous[i].sa_flags & SA_SIGINFO) == 0 && previous[i].sa_handler == SIG_DFL;
        if (by_default) sigaction(ending_signals[i], &handler, nullptr);
    }
    // Past the file-size limit the write fails, and the save with it, rather
    // than the process ending with the temporary file left.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous_xfsz);
}

void unguard() {
    for (std::size_t i = 0; i < std::size(ending_signals); ++i)
        sigaction(ending_signals[i], &previous[i], nullptr);
    sigaction(SIGXFSZ, &previous_xfsz, nullptr);
}

// Creating the file and renaming it change what the handler must do: no
// signal may come between such a call and the note of its outcome.
void hold_signals() {
    sigprocmask(SIG_BLOCK, &ending_set, &previous_mask);
}

void let_signals_in() {
    sigprocmask(SIG_SETMASK, &previous_mask, nullptr);
}

// Each step's error is taken at once, before a call that tidies up can
// change errno.
int replace_guarded(const char *name, const char *text, std::size_t len) {
    static char target[PATH_MAX];
    int error = resolve_target(name, target);
    if (error == 0) error = may_write(target);
    if (error != 0) return error;
    std::string_view dir = dir_of(target);
    if (!set_path(temp, dir, "fcXXXXXX.tmp")) return ENAMETOOLONG;

    hold_signals();
    int fd = fs_mkstemps(temp, 4);
    error = fd < 0 ? errno : 0;
    temp_exists = fd >= 0;
    let_signals_in();
    if (fd < 0) return error;

    error = write_all(fd, text, len);
    if (error == 0 && fs_fsync(fd) != 0) error = errno;

    hold_signals();
    if (error == 0 && fs_rename(temp, target) != 0) error = errno;
    if (error != 0) fs_unlink(temp);
    temp_exists = 0;
    let_signals_in();
    // On FAT a file's size and first cluster live in its directory entry,
    // and the rename leaves the entry under the new name to the kernel's
    // writeback, long after "saved". Syncing the file again, through the
    // descriptor kept open over the rename, writes it now. Once that sync
    // has succeeded, closing can lose nothing.
    if (error == 0 && fs_fsync(fd) != 0) error = errno;
    fs_close(fd);
    return error != 0 ? error : sync_dir(dir);
}

}  // namespace

int replace_file(const char *name, const char *text, std::size_t len) {
    guard();
    int error = replace_guarded(name, text, len);
    unguard();
    return error;
}

// The save's own first steps, which write nothing, then what the save would
// meet in the directory.
int replace_check(const char *name) {
    static char target[PATH_MAX];
    static char dir[PATH_MAX];
    int error = resolve_target(name, target);
    if (error == 0) error = may_write(target);
    if (error != 0) return error;
    if (!set_dir(dir, dir_of(target))) return ENAMETOOLONG;
    // A medium mounted read-only says EROFS here, to root as well.
    if (fs_access(dir, W_OK | X_OK) != 0) return errno;
    // The new file needs a block, and an inode where they are counted, while
    // the old one still holds its own. Root's reserve counts as free: root
    // may use it, and for anyone else the save's own error says "full".
    struct statvfs fs;
    if (fs_statvfs(dir, &fs) != 0) return 0;  // no figures to go by
    if (fs.f_blocks > 0 && fs.f_bfree == 0) return ENOSPC;
    if (fs.f_files > 0 && fs.f_ffree == 0) return ENOSPC;
    return 0;
}
