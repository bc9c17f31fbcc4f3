// Helpers shared by the unit tests: the console pointed at strings, a
// scratch directory to stand in for the floppy, and expected texts made from
// the catalog, so that a changed text needs no change here.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "capture.h"
#include "console/io.h"

// Points the console at the given input and at two captures (capture.h) for
// as long as it lives.
class console_capture {
public:
    explicit console_capture(std::string_view input = {});
    ~console_capture();
    console_capture(const console_capture &) = delete;
    console_capture &operator=(const console_capture &) = delete;

    std::string out();  // everything printed on the output so far
    std::string err();

private:
    std::string input_;
    console saved_;
    std::string out_;
    std::string err_;
};

// A fresh directory (new_scratch_dir), the current one while the object
// lives, and removed with what it holds.
class scratch_dir {
public:
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir &) = delete;
    scratch_dir &operator=(const scratch_dir &) = delete;
    const std::string &path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

std::string read_file(const std::string &path);
void write_file(const std::string &path, std::string_view content);
bool file_exists(const std::string &path);
// Names in the current directory, sorted, "." and ".." left out.
std::string list_dir();

// A catalog format with each conversion (%s, %c, %d, %lu) replaced by the
// next argument as given: the test writes a value escaped where the program
// escapes it. Every argument must be used.
std::string expand(const char *format, std::initializer_list<std::string_view> args = {});
// A yes/no question as prompt_bool asks it, with its default.
std::string asked(const char *question, bool yes);
// A file of an end-to-end case in the linked catalog's language, such as
// "whole-run/after.dat"; a missing one fails the test.
std::string case_file(const std::string &path);
