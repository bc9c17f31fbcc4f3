// The stand-in for the fs_* calls of src/config/fsio.h that the save-fault
// tests and the fuzz harnesses link in place of the library's: it records
// every call, fails the one planned or has a signal come at it, and makes
// the calls on the real file system or, for a fuzzer's speed, in a flat
// in-memory directory ".".
#pragma once

#include <sys/statfs.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct fault_plan {
    int fail_call = 0;          // the 1-based call that fails; 0: none
    int fail_from = 0;          // if not 0, this call and every later one fail: a disk that dies
    int error = 5;              // their errno (EIO)
    std::size_t max_write = 0;  // if not 0, every write takes at most this many bytes
    std::size_t max_read = 0;   // if not 0, every read returns at most this many, as a pipe may
    int signal = 0;             // raised just before or just after signal_call
    int signal_call = 0;
    bool signal_after = false;
    std::optional<struct statfs> figures;  // what statfs reports, if given
};

extern fault_plan fault;
extern std::vector<std::string> calls;  // the name of every call made, in order
extern int renames;                     // renames that succeeded

namespace memfs {

// From the first reset on, the calls go to memory: an empty directory, no
// descriptor open, no call recorded, no fault planned.
void reset();
// Creates or replaces a file.
void put(const std::string &name, std::string_view content);
// The file's content, or nullptr when there is no such file.
const std::string *find(const std::string &name);
// Files in the directory, and descriptors not yet closed.
std::size_t file_count();
std::size_t open_count();

}  // namespace memfs
