// A program run on a pseudo-terminal and driven as an operator at the
// keyboard drives it: look at the screen, type, look again.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

struct terminal {
    pid_t pid = -1;
    int master = -1;
    std::string screen;  // every byte the terminal has shown, echo included
    // Read calls the program must have completed before it can wait again:
    // the one it last waited in has to return first.
    unsigned long long reads = 0;
};

// Starts exe with dir as its current directory on a new pseudo-terminal in
// the usual cooked mode: echo, control characters echoed as ^X, line
// editing, Return read as a line feed and line feeds shown as CR LF.
bool start(terminal *t, const char *exe, const char *dir);

// Waits until the program waits for input, with all it wrote before and
// echoed, the echo of every key typed so far, on the screen; false if it ends
// or does not come to wait in time.
bool wait_for_input(terminal *t, std::string_view echoed, int timeout_ms);

// Types the keys, as from the keyboard.
void type(terminal *t, std::string_view keys);

// Reads the screen until the program has ended and returns its exit status;
// -1 if it does not end in time, in which case it is killed.
int finish(terminal *t, int timeout_ms);
