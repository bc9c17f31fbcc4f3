// The file-system calls that reading and saving fconfig.dat make, gathered in
// one unit so that the tests can link their own and fail any one of them.
// Each behaves as the system call of the same name: -1 and errno on failure.
#pragma once

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>

#include <cstddef>

int fs_open(const char *path, int flags, mode_t mode);
ssize_t fs_read(int fd, void *buf, std::size_t n);
ssize_t fs_write(int fd, const void *buf, std::size_t n);
int fs_fsync(int fd);
int fs_close(int fd);
// stat follows symbolic links, as opening the path would.
int fs_stat(const char *path, struct stat *st);
int fs_fstat(int fd, struct stat *st);
ssize_t fs_readlink(const char *path, char *buf, std::size_t n);
// Creates a new file exclusively, mode 0600, naming it after the template
// (mkstemps); returns its descriptor.
int fs_mkstemps(char *tmpl, int suffixlen);
int fs_rename(const char *from, const char *to);
int fs_unlink(const char *path);
int fs_ftruncate(int fd, off_t length);
int fs_statfs(const char *path, struct statfs *st);
// Reads a directory's entries as the kernel gives them (getdents64), into a
// buffer of the caller's: no allocation, unlike readdir's.
ssize_t fs_getdents(int fd, void *buf, std::size_t n);
