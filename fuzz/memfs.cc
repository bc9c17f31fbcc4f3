// In-memory file-system calls: a flat directory "." of named byte strings.
#include "memfs.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "config/fsio.h"

namespace {

struct descriptor {
    bool used = false;
    bool directory = false;
    bool writable = false;
    std::string name;
    std::size_t offset = 0;
};

std::map<std::string, std::string> files;
descriptor fds[16];
std::size_t max_read = static_cast<std::size_t>(-1);
unsigned temp_counter = 0;

constexpr int first_fd = 3;

descriptor *lookup(int fd) {
    int i = fd - first_fd;
    if (i < 0 || i >= static_cast<int>(std::size(fds)) || !fds[i].used) return nullptr;
    return &fds[i];
}

int allocate(const descriptor &d) {
    for (std::size_t i = 0; i < std::size(fds); ++i) {
        if (!fds[i].used) {
            fds[i] = d;
            fds[i].used = true;
            return static_cast<int>(i) + first_fd;
        }
    }
    errno = EMFILE;
    return -1;
}

int fail(int e) {
    errno = e;
    return -1;
}

}  // namespace

namespace memfs {

void reset() {
    files.clear();
    for (descriptor &d : fds) d = descriptor{};
    max_read = static_cast<std::size_t>(-1);
    temp_counter = 0;
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
    std::size_t n = 0;
    for (const descriptor &d : fds) n += d.used;
    return n;
}

void set_max_read(std::size_t n) {
    max_read = n == 0 ? 1 : n;
}

}  // namespace memfs

int fs_open(const char *path, int flags, mode_t) {
    std::string name(path);
    if (flags & O_DIRECTORY) {
        if (name != "." && name != "./") return fail(ENOTDIR);
        return allocate({.directory = true});
    }
    auto it = files.find(name);
    if (it == files.end()) {
        if (!(flags & O_CREAT)) return fail(ENOENT);
        it = files.emplace(name, std::string()).first;
    } else if ((flags & O_CREAT) && (flags & O_EXCL)) {
        return fail(EEXIST);
    }
    int access = flags & O_ACCMODE;
    if ((flags & O_TRUNC) && access != O_RDONLY) it->second.clear();
    return allocate({.writable = access != O_RDONLY, .name = name});
}

ssize_t fs_read(int fd, void *buf, std::size_t n) {
    descriptor *d = lookup(fd);
    if (d == nullptr) return fail(EBADF);
    if (d->directory) return fail(EISDIR);
    const std::string &content = files.at(d->name);
    if (d->offset >= content.size()) return 0;
    std::size_t take = std::min({n, max_read, content.size() - d->offset});
    std::memcpy(buf, content.data() + d->offset, take);
    d->offset += take;
    return static_cast<ssize_t>(take);
}

ssize_t fs_write(int fd, const void *buf, std::size_t n) {
    descriptor *d = lookup(fd);
    if (d == nullptr || !d->writable) return fail(EBADF);
    std::string &content = files.at(d->name);
    if (content.size() < d->offset + n) content.resize(d->offset + n);
    std::memcpy(content.data() + d->offset, buf, n);
    d->offset += n;
    return static_cast<ssize_t>(n);
}

int fs_fsync(int fd) {
    return lookup(fd) ? 0 : fail(EBADF);
}

int fs_close(int fd) {
    descriptor *d = lookup(fd);
    if (d == nullptr) return fail(EBADF);
    *d = descriptor{};
    return 0;
}

// Every file here is a regular one.
int fs_stat(const char *path, struct stat *st) {
    *st = {};
    st->st_mode = S_IFREG | 0600;
    return files.count(path) ? 0 : fail(ENOENT);
}

int fs_fstat(int fd, struct stat *st) {
    *st = {};
    st->st_mode = S_IFREG | 0600;
    return lookup(fd) ? 0 : fail(EBADF);
}

ssize_t fs_readlink(const char *path, char *, std::size_t) {
    return fail(files.count(path) ? EINVAL : ENOENT);  // nothing here is a link
}

int fs_mkstemps(char *tmpl, int suffixlen) {
    std::size_t len = std::strlen(tmpl);
    if (len < static_cast<std::size_t>(suffixlen) + 6) return fail(EINVAL);
    char *x = tmpl + len - static_cast<std::size_t>(suffixlen) - 6;
    if (std::strncmp(x, "XXXXXX", 6) != 0) return fail(EINVAL);
    char digits[7];
    std::snprintf(digits, sizeof digits, "%06u", ++temp_counter % 1000000);
    std::memcpy(x, digits, 6);
    return fs_open(tmpl, O_RDWR | O_CREAT | O_EXCL, 0600);
}

int fs_rename(const char *from, const char *to) {
    auto it = files.find(from);
    if (it == files.end()) return fail(ENOENT);
    std::string content = std::move(it->second);
    files.erase(it);
    files[to] = std::move(content);
    return 0;
}

int fs_unlink(const char *path) {
    return files.erase(path) ? 0 : fail(ENOENT);
}
