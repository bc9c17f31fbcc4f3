#include "fsio_stub.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>

#include "config/fsio.h"

fault_plan fault;
std::vector<std::string> calls;
int renames = 0;

namespace {

// ---- The in-memory directory ----

struct descriptor {
    bool used = false;
    bool directory = false;
    bool writable = false;
    std::string name;
    std::size_t offset = 0;
};

bool in_memory = false;
std::map<std::string, std::string> files;
descriptor fds[16];
unsigned temp_counter = 0;
constexpr int first_fd = 3;

int fail(int e) {
    errno = e;
    return -1;
}

descriptor *lookup(int fd) {
    int i = fd - first_fd;
    if (i < 0 || i >= static_cast<int>(std::size(fds)) || !fds[i].used) return nullptr;
    return &fds[i];
}

int mem_open(const char *path, int flags) {
    std::string name(path);
    descriptor d;
    if (flags & O_DIRECTORY) {
        if (name != "." && name != "./") return fail(ENOTDIR);
        d.directory = true;
    } else {
        auto it = files.find(name);
        if (it == files.end()) {
            if (!(flags & O_CREAT)) return fail(ENOENT);
            it = files.emplace(name, std::string()).first;
        } else if ((flags & O_CREAT) && (flags & O_EXCL)) {
            return fail(EEXIST);
        }
        int access = flags & O_ACCMODE;
        if ((flags & O_TRUNC) && access != O_RDONLY) it->second.clear();
        d.writable = access != O_RDONLY;
        d.name = name;
    }
    for (std::size_t i = 0; i < std::size(fds); ++i) {
        if (!fds[i].used) {
            fds[i] = d;
            fds[i].used = true;
            return static_cast<int>(i) + first_fd;
        }
    }
    return fail(EMFILE);
}

ssize_t mem_read(int fd, void *buf, std::size_t n) {
    descriptor *d = lookup(fd);
    if (d == nullptr) return fail(EBADF);
    if (d->directory) return fail(EISDIR);
    const std::string &content = files.at(d->name);
    if (d->offset >= content.size()) return 0;
    std::size_t take = std::min(n, content.size() - d->offset);
    std::memcpy(buf, content.data() + d->offset, take);
    d->offset += take;
    return static_cast<ssize_t>(take);
}

ssize_t mem_write(int fd, const void *buf, std::size_t n) {
    descriptor *d = lookup(fd);
    if (d == nullptr || !d->writable) return fail(EBADF);
    std::string &content = files.at(d->name);
    if (content.size() < d->offset + n) content.resize(d->offset + n);
    std::memcpy(content.data() + d->offset, buf, n);
    d->offset += n;
    return static_cast<ssize_t>(n);
}

int mem_close(int fd) {
    descriptor *d = lookup(fd);
    if (d == nullptr) return fail(EBADF);
    *d = descriptor{};
    return 0;
}

int mem_mkstemps(char *tmpl, int suffixlen) {
    std::size_t len = std::strlen(tmpl);
    if (len < static_cast<std::size_t>(suffixlen) + 6) return fail(EINVAL);
    char *x = tmpl + len - static_cast<std::size_t>(suffixlen) - 6;
    if (std::strncmp(x, "XXXXXX", 6) != 0) return fail(EINVAL);
    char digits[7];
    std::snprintf(digits, sizeof digits, "%06u", ++temp_counter % 1000000);
    std::memcpy(x, digits, 6);
    return mem_open(tmpl, O_RDWR | O_CREAT | O_EXCL);
}

int mem_rename(const char *from, const char *to) {
    auto it = files.find(from);
    if (it == files.end()) return fail(ENOENT);
    std::string content = std::move(it->second);
    files.erase(it);
    files[to] = std::move(content);
    return 0;
}

// ---- Recording and faults ----

// Records the call and makes it: -1 with the planned errno if it is the one
// that is to fail, and the planned signal raised before or after it.
template <class Call>
auto make(const char *name, Call real) -> decltype(real()) {
    calls.push_back(name);
    const int n = static_cast<int>(calls.size());
    if (n == fault.signal_call && !fault.signal_after) raise(fault.signal);
    if (n == fault.fail_call || (fault.fail_from != 0 && n >= fault.fail_from)) {
        errno = fault.error;
        return -1;
    }
    auto result = real();
    if (n == fault.signal_call && fault.signal_after) raise(fault.signal);
    return result;
}

}  // namespace

namespace memfs {

void reset() {
    in_memory = true;
    files.clear();
    for (descriptor &d : fds) d = descriptor{};
    temp_counter = 0;
    fault = {};
    calls.clear();
    renames = 0;
}

void put(const std::string &name, std::string_view content) {
    files[name] = std::string(content);
}

const std::string *find(const std::string &name) {
    auto it = files.find(name);
    return it == files.end() ? nullptr : &it->second;
}

std::size_t file_count() {
    return files.size();
}

std::size_t open_count() {
    return static_cast<std::size_t>(
        std::count_if(std::begin(fds), std::end(fds), [](const descriptor &d) { return d.used; }));
}

}  // namespace memfs

int fs_open(const char *path, int flags, mode_t mode) {
    return make("open",
                [&] { return in_memory ? mem_open(path, flags) : ::open(path, flags, mode); });
}

ssize_t fs_read(int fd, void *buf, std::size_t n) {
    if (fault.max_read != 0 && n > fault.max_read) n = fault.max_read;
    return make("read", [&] { return in_memory ? mem_read(fd, buf, n) : ::read(fd, buf, n); });
}

ssize_t fs_write(int fd, const void *buf, std::size_t n) {
    if (fault.max_write != 0 && n > fault.max_write) n = fault.max_write;
    return make("write", [&] { return in_memory ? mem_write(fd, buf, n) : ::write(fd, buf, n); });
}

int fs_fsync(int fd) {
    return make("fsync", [&] { return in_memory ? (lookup(fd) ? 0 : fail(EBADF)) : ::fsync(fd); });
}

int fs_close(int fd) {
    // A failing close still releases the descriptor, as close(2) does.
    int r = in_memory ? mem_close(fd) : ::close(fd);
    return make("close", [&] { return r; });
}

// Every file in memory is a regular one.
int mem_stat(bool found, struct stat *st) {
    *st = {};
    st->st_mode = S_IFREG | 0600;
    return found ? 0 : fail(ENOENT);
}

int fs_stat(const char *path, struct stat *st) {
    return make("stat",
                [&] { return in_memory ? mem_stat(files.count(path), st) : ::stat(path, st); });
}

int fs_fstat(int fd, struct stat *st) {
    return make("fstat", [&] {
        return in_memory ? (lookup(fd) ? mem_stat(true, st) : fail(EBADF)) : ::fstat(fd, st);
    });
}

ssize_t fs_readlink(const char *path, char *buf, std::size_t n) {
    return make("readlink", [&]() -> ssize_t {
        if (in_memory) return fail(files.count(path) ? EINVAL : ENOENT);  // no links there
        return ::readlink(path, buf, n);
    });
}

int fs_mkstemps(char *tmpl, int suffixlen) {
    return make("mkstemps", [&] {
        return in_memory ? mem_mkstemps(tmpl, suffixlen) : ::mkstemps(tmpl, suffixlen);
    });
}

int fs_rename(const char *from, const char *to) {
    int r =
        make("rename", [&] { return in_memory ? mem_rename(from, to) : std::rename(from, to); });
    renames += r == 0;
    return r;
}

int fs_unlink(const char *path) {
    return make("unlink", [&] {
        return in_memory ? (files.erase(path) ? 0 : fail(ENOENT)) : ::unlink(path);
    });
}

int fs_ftruncate(int fd, off_t length) {
    return make("ftruncate", [&] {
        if (!in_memory) return ::ftruncate(fd, length);
        descriptor *d = lookup(fd);
        if (d == nullptr || !d->writable) return fail(EBADF);
        files.at(d->name).resize(static_cast<std::size_t>(length));
        return 0;
    });
}

// The planned figures, or in memory those of a roomy file system of no
// particular kind.
int fs_statfs(const char *path, struct statfs *st) {
    return make("statfs", [&] {
        if (fault.figures) {
            *st = *fault.figures;
            return 0;
        }
        if (!in_memory) return ::statfs(path, st);
        *st = {};
        st->f_blocks = st->f_bfree = st->f_bavail = 2880;
        return 0;
    });
}

// In memory, a folder with no entries to read.
ssize_t fs_getdents(int fd, void *buf, std::size_t n) {
    return make("getdents", [&]() -> ssize_t {
        return in_memory ? (lookup(fd) ? 0 : fail(EBADF)) : ::getdents64(fd, buf, n);
    });
}
