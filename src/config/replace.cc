// Replacing a file through a temporary file, a sync and a rename, with the
// temporary file emptied and removed whatever ends the process first.
#include "config/replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "config/fsio.h"
#include "console/ascii.h"

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
// back. *st is the target's, all 0 where there is none.
int may_write(const char *path, struct stat *st) {
    *st = {};
    if (fs_stat(path, st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISREG(st->st_mode)) return not_regular;
    int fd = fs_open(path, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd >= 0) {
        fs_close(fd);
        return 0;
    }
    if (errno == EACCES) return st->st_uid == geteuid() ? file_read_only : others_file;
    if (errno != ENOENT) return errno;
    *st = {};  // gone since the look
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
// say so with EINVAL; the rename stands there anyway. So it does in a folder
// that may be written but not read (mode 0733), which cannot be opened to be
// synced: the file itself has been synced under its new name.
int sync_dir(std::string_view dir) {
    static char path[PATH_MAX];
    if (!set_dir(path, dir)) return ENAMETOOLONG;
    int fd = fs_open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return errno == EACCES ? 0 : errno;
    int error = fs_fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP ? 0 : errno;
    fs_close(fd);
    return error;
}

// ---- The temporary file against signals ----

// What mkstemps makes of the X's: letters and digits.
constexpr char temp_pattern[] = "fcXXXXXX.tmp";

char temp[PATH_MAX];  // the temporary file's path

// Whether the temporary file (temp, which nothing makes anew before the
// caller asks) could not be removed, for temp_left.
bool is_left = false;
bool left_emptied = false;

// The signals whose default action does not end the process: they stop or
// continue it, or are ignored. SIGKILL and SIGSTOP cannot be held off, and
// SIGXFSZ is ignored instead (see guard).
constexpr int not_ending[] = {SIGKILL, SIGSTOP, SIGTSTP, SIGTTIN,  SIGTTOU,
                              SIGCONT, SIGCHLD, SIGURG,  SIGWINCH, SIGXFSZ};

sigset_t ending_set;  // all others, but those that the C library keeps for itself
sigset_t previous_mask;
struct sigaction previous_xfsz;

// From here to unguard(), the signals that would end the process are held
// off. The save looks for one before the rename, the step it cannot undo,
// and stops there if one came: it then ends the process once the temporary
// file has been emptied and removed, and a later one once the new file is
// complete. No handler runs in between, and a signal that the caller
// ignores (nohup, a background job) or handles itself (a fuzzer's timer)
// stays so.
void guard() {
    sigfillset(&ending_set);
    for (int sig : not_ending) sigdelset(&ending_set, sig);
    sigprocmask(SIG_BLOCK, &ending_set, &previous_mask);
    // Past the file-size limit the write fails, and the save with it, rather
    // than the process ending with the temporary file left.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous_xfsz);
    is_left = false;
}

// A signal held off since guard() is delivered here.
void unguard() {
    sigaction(SIGXFSZ, &previous_xfsz, nullptr);
    sigprocmask(SIG_SETMASK, &previous_mask, nullptr);
}

// Whether a signal held off would end the process once let in: one left at
// its default action. (A process that a signal ends writes no coverage
// counters, hence the exclusion.)
bool interrupted() {
    sigset_t pending;
    if (sigpending(&pending) != 0) return false;
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction now;
        // GCOVR_EXCL_START
        if (sigismember(&pending, sig) == 1 && sigismember(&ending_set, sig) == 1 &&
            sigaction(sig, nullptr, &now) == 0 && (now.sa_flags & SA_SIGINFO) == 0 &&
            now.sa_handler == SIG_DFL)
            return true;
        // GCOVR_EXCL_STOP
    }
    return false;
}

// Creates the temporary file in dir: its descriptor, or -1 and *error.
int make_temp(std::string_view dir, int *error) {
    *error = ENAMETOOLONG;
    if (!set_path(temp, dir, temp_pattern)) return -1;
    int fd = fs_mkstemps(temp, 4);
    *error = fd < 0 ? errno : 0;
    // The folder has no room for another entry, though there may be blocks
    // free (a FAT diskette's top folder holds 224), or no inode is left.
    if (*error == ENOSPC) *error = folder_full;
    // Only a link leads into another folder: the current one is there.
    if ((*error == ENOENT || *error == ENOTDIR) && !dir.empty()) *error = missing_folder;
    return fd;
}

// Empties the temporary file, which may hold a password, so that nothing of
// it stays even where it cannot be removed; then removes it. One that stays
// is noted for temp_left. Returns the removal's error. Only before the
// rename: after it, the descriptor is the new file's.
int discard_temp(int fd) {
    bool emptied = fs_ftruncate(fd, 0) == 0;
    int error = fs_unlink(temp) == 0 ? 0 : errno;
    if (error != 0) {
        is_left = true;
        left_emptied = emptied;
    }
    return error;
}

// Each step's error is taken at once, before a call that tidies up can
// change errno.
int replace_guarded(const char *name, const char *text, std::size_t len) {
    static char target[PATH_MAX];
    struct stat st;
    int error = resolve_target(name, target);
    if (error == 0) error = may_write(target, &st);
    if (error != 0) return error;
    std::string_view dir = dir_of(target);
    int fd = make_temp(dir, &error);
    if (fd < 0) return error;

    error = write_all(fd, text, len);
    if (error == 0 && fs_fsync(fd) != 0) error = errno;
    if (error == 0 && interrupted()) error = EINTR;  // GCOVR_EXCL_LINE, as above
    if (error == 0 && fs_rename(temp, target) != 0) error = errno;
    if (error != 0) discard_temp(fd);
    // On FAT a file's size and first cluster live in its directory entry,
    // and the rename leaves the entry under the new name to the kernel's
    // writeback, long after "saved". Syncing the file again, through the
    // descriptor kept open over the rename, writes it now. Once that sync
    // has succeeded, closing can lose nothing.
    if (error == 0 && fs_fsync(fd) != 0) error = errno;
    fs_close(fd);
    return error != 0 ? error : sync_dir(dir);
}

int check_guarded(const char *name, long *fs_type) {
    static char target[PATH_MAX];
    static char dir_path[PATH_MAX];
    int error = resolve_target(name, target);
    if (error != 0) return error;
    std::string_view dir = dir_of(target);
    if (!set_dir(dir_path, dir)) return ENAMETOOLONG;
    // The new file needs a block while the old one still holds its own.
    // Root's reserve counts as free: root may use it, and for anyone else
    // the save's own error says "full". A file system that keeps no figures
    // (FAT through FUSE reports 0 blocks) stands in the way of nothing.
    struct statfs fs;
    if (fs_statfs(dir_path, &fs) == 0) {
        *fs_type = static_cast<long>(fs.f_type);
        if (fs.f_blocks > 0 && fs.f_bfree == 0) return ENOSPC;
    }
    // The kernel's own judgement of the folder, with this process's
    // effective credentials: a file of the save's kind made and removed.
    int fd = make_temp(dir, &error);
    if (fd < 0) return error;
    error = discard_temp(fd);
    fs_close(fd);
    if (error != 0) return error;
    // What the making and removing changed in the folder goes to the medium
    // now, not whenever the kernel gets round to it.
    sync_dir(dir);

    struct stat st;
    error = may_write(target, &st);
    if (error != 0 || st.st_mode == 0) return error;
    // In a sticky folder (mode 1777, as /tmp) another user's file is for its
    // owner, the folder's or root to replace, writable or not; the rename
    // alone would meet that rule, and it cannot be tried without replacing.
    // (Root, as the coverage run is, meets no such rule: save-failures.sh
    // tries it as another user.)
    struct stat folder;
    uid_t me = geteuid();
    // GCOVR_EXCL_START
    bool sticky = me != 0 && st.st_uid != me && fs_stat(dir_path, &folder) == 0 &&
                  (folder.st_mode & S_ISVTX) != 0 && folder.st_uid != me;
    // GCOVR_EXCL_STOP
    return sticky ? others_file : 0;
}

// Whether name is one that mkstemps makes of temp_pattern, in any case (the
// msdos driver shows 8.3 names in lower case).
bool is_temp_name(const char *name) {
    for (std::size_t i = 0; i + 1 < sizeof temp_pattern; ++i) {
        char want = temp_pattern[i];
        if (want == 'X' ? !is_alnum(name[i]) : fold(name[i]) != want) return false;
    }
    return name[sizeof temp_pattern - 1] == '\0';
}

}  // namespace

int replace_file(const char *name, const char *text, std::size_t len) {
    guard();
    int error = replace_guarded(name, text, len);
    unguard();
    return error;
}

int replace_check(const char *name, long *fs_type) {
    *fs_type = 0;
    guard();
    int error = check_guarded(name, fs_type);
    unguard();
    return error;
}

const char *temp_left(bool *emptied) {
    *emptied = left_emptied;
    return is_left ? temp : nullptr;
}

bool open_leftovers(const char *name, leftover_scan *s) {
    static char target[PATH_MAX];
    static char dir_path[PATH_MAX];
    std::string_view dir;
    bool there = resolve_target(name, target) == 0 && set_dir(dir_path, dir = dir_of(target)) &&
                 set_path(s->path, dir, "");
    s->dir_len = dir.size();
    s->at = s->end = 0;
    s->fd = there ? fs_open(dir_path, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0) : -1;
    return s->fd >= 0;  // a folder that may not be read (mode 0733) holds none to name
}

bool next_leftover(leftover_scan *s) {
    for (;;) {
        if (s->at >= s->end) {
            ssize_t n = fs_getdents(s->fd, s->buf, sizeof s->buf);
            if (n <= 0) {
                fs_close(s->fd);
                s->fd = -1;
                return false;
            }
            s->at = 0;
            s->end = static_cast<std::size_t>(n);
        }
        // A record as the kernel lays it out: struct dirent64.
        const char *record = s->buf + s->at;
        unsigned short length;
        std::memcpy(&length, record + offsetof(struct dirent64, d_reclen), sizeof length);
        s->at += length;
        const char *name = record + offsetof(struct dirent64, d_name);
        // Such a name is as long as the pattern, its NUL included.
        if (is_temp_name(name) && s->dir_len + sizeof temp_pattern <= sizeof s->path) {
            std::memcpy(s->path + s->dir_len, name, sizeof temp_pattern);
            return true;
        }
    }
}
