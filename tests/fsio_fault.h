// File-system calls that fail on request, or have a signal come at them: the
// test's stand-in for the program's own fs_* functions.
#pragma once

#include <string>
#include <vector>

struct fault_plan {
    int fail_call = 0;          // the 1-based call that fails; 0: none
    int error = 5;              // its errno (EIO)
    std::size_t max_write = 0;  // if not 0, every write takes at most this many bytes
    int signal = 0;             // raised just before or just after signal_call
    int signal_call = 0;
    bool signal_after = false;
};

extern fault_plan fault;
// The name of every call made, in order.
extern std::vector<std::string> calls;
