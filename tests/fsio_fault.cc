#include "fsio_fault.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "config/fsio.h"

fault_plan fault;
std::vector<std::string> calls;

namespace {

// Records the call and makes it: -1 with the planned errno if it is the one
// that is to fail, and the planned signal raised before or after it.
template <class Call>
auto make(const char *name, Call real) -> decltype(real()) {
    calls.push_back(name);
    const int n = static_cast<int>(calls.size());
    if (n == fault.signal_call && !fault.signal_after) raise(fault.signal);
    if (n == fault.fail_call) {
        errno = fault.error;
        return -1;
    }
    auto result = real();
    if (n == fault.signal_call && fault.signal_after) raise(fault.signal);
    return result;
}

}  // namespace

int fs_open(const char *path, int flags, mode_t mode) {
    return make("open", [&] { return ::open(path, flags, mode); });
}

ssize_t fs_read(int fd, void *buf, std::size_t n) {
    return make("read", [&] { return ::read(fd, buf, n); });
}

ssize_t fs_write(int fd, const void *buf, std::size_t n) {
    if (fault.max_write != 0 && n > fault.max_write) n = fault.max_write;
    return make("write", [&] { return ::write(fd, buf, n); });
}

int fs_fsync(int fd) {
    return make("fsync", [&] { return ::fsync(fd); });
}

int fs_close(int fd) {
    // A failing close still releases the descriptor, as close(2) does.
    int r = ::close(fd);
    return make("close", [&] { return r; });
}

int fs_stat(const char *path, struct stat *st) {
    return make("stat", [&] { return ::stat(path, st); });
}

int fs_fstat(int fd, struct stat *st) {
    return make("fstat", [&] { return ::fstat(fd, st); });
}

ssize_t fs_readlink(const char *path, char *buf, std::size_t n) {
    return make("readlink", [&] { return ::readlink(path, buf, n); });
}

int fs_mkstemps(char *tmpl, int suffixlen) {
    return make("mkstemps", [&] { return ::mkstemps(tmpl, suffixlen); });
}

int fs_rename(const char *from, const char *to) {
    return make("rename", [&] { return std::rename(from, to); });
}

int fs_unlink(const char *path) {
    return make("unlink", [&] { return ::unlink(path); });
}
