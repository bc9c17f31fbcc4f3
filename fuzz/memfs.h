// An in-memory directory behind the fs_* seam of src/config/fsio.h, so that a
// harness reads and saves fconfig.dat without touching the disk. Linking
// memfs.cc replaces the real calls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace memfs {

// Empties the directory and forgets every descriptor.
void reset();
// Creates or replaces a file.
void put(const std::string &name, std::string_view content);
// The file's content, or nullptr when there is no such file.
const std::string *find(const std::string &name);
// Files in the directory, and descriptors not yet closed.
std::size_t file_count();
std::size_t open_count();
// Each read returns at most n bytes, as a pipe or a slow medium may.
void set_max_read(std::size_t n);

}  // namespace memfs
