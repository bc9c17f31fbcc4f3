// File-system calls that fail on request: the test's stand-in for the
// program's own fs_* functions.
#pragma once

#include <string>
#include <vector>

struct fault_plan {
    int fail_call = 0;          // the 1-based call that fails; 0: none
    int error = 5;              // its errno (EIO)
    std::size_t max_write = 0;  // if not 0, every write takes at most this many bytes
};

extern fault_plan fault;
// The name of every call made, in order.
extern std::vector<std::string> calls;
