#include "fsio_fault.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "config/fsio.h"

fault_plan fault;
std::vector<std::string> calls;

namespace {

// Records the call; true when it is the one that is to fail.
bool fails(const char *name) {
    calls.push_back(name);
    if (static_cast<int>(calls.size()) != fault.fail_call) return false;
    errno = fault.error;
    return true;
}

}  // namespace

int fs_open(const char *path, int flags, mode_t mode) {
    return fails("open") ? -1 : ::open(path, flags, mode);
}

ssize_t fs_read(int fd, void *buf, std::size_t n) {
    return fails("read") ? -1 : ::read(fd, buf, n);
}

ssize_t fs_write(int fd, const void *buf, std::size_t n) {
    if (fails("write")) return -1;
    if (fault.max_write != 0 && n > fault.max_write) n = fault.max_write;
    return ::write(fd, buf, n);
}

int fs_fsync(int fd) {
    return fails("fsync") ? -1 : ::fsync(fd);
}

int fs_close(int fd) {
    // A failing close still releases the descriptor, as close(2) does.
    int r = ::close(fd);
    return fails("close") ? -1 : r;
}

ssize_t fs_readlink(const char *path, char *buf, std::size_t n) {
    return fails("readlink") ? -1 : ::readlink(path, buf, n);
}

int fs_mkstemps(char *tmpl, int suffixlen) {
    return fails("mkstemps") ? -1 : ::mkstemps(tmpl, suffixlen);
}

int fs_rename(const char *from, const char *to) {
    return fails("rename") ? -1 : std::rename(from, to);
}

int fs_unlink(const char *path) {
    return fails("unlink") ? -1 : ::unlink(path);
}
