// The real file-system calls.
#include "config/fsio.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cstdio>

int fs_open(const char *path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

ssize_t fs_read(int fd, void *buf, std::size_t n) {
    return ::read(fd, buf, n);
}

ssize_t fs_write(int fd, const void *buf, std::size_t n) {
    return ::write(fd, buf, n);
}

int fs_fsync(int fd) {
    return ::fsync(fd);
}

int fs_close(int fd) {
    return ::close(fd);
}

int fs_stat(const char *path, struct stat *st) {
    return ::stat(path, st);
}

int fs_fstat(int fd, struct stat *st) {
    return ::fstat(fd, st);
}

ssize_t fs_readlink(const char *path, char *buf, std::size_t n) {
    return ::readlink(path, buf, n);
}

int fs_mkstemps(char *tmpl, int suffixlen) {
    return ::mkstemps(tmpl, suffixlen);
}

int fs_rename(const char *from, const char *to) {
    return std::rename(from, to);
}

int fs_unlink(const char *path) {
    return ::unlink(path);
}

int fs_ftruncate(int fd, off_t length) {
    return ::ftruncate(fd, length);
}

int fs_statfs(const char *path, struct statfs *st) {
    return ::statfs(path, st);
}

ssize_t fs_getdents(int fd, void *buf, std::size_t n) {
    return ::getdents64(fd, buf, n);
}
