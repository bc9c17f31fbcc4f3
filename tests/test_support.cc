#include "test_support.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "catalog.h"

console_capture::console_capture(std::string_view input) : input_(input), saved_(io) {
    io.in =
        input_.empty() ? std::fopen("/dev/null", "r") : fmemopen(input_.data(), input_.size(), "r");
    io.out = capture(&out_);
    io.err = capture(&err_);
}

console_capture::~console_capture() {
    std::fclose(io.in);
    std::fclose(io.out);
    std::fclose(io.err);
    io = saved_;
}

std::string console_capture::out() {
    std::fflush(io.out);
    return out_;
}

std::string console_capture::err() {
    std::fflush(io.err);
    return err_;
}

scratch_dir::scratch_dir() : path_(new_scratch_dir("dprep-test")) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr || chdir(path_.c_str()) != 0) {
        std::perror("scratch directory");
        std::abort();
    }
    previous_ = cwd;
}

scratch_dir::~scratch_dir() {
    if (chdir(previous_.c_str()) != 0) std::abort();
    std::filesystem::remove_all(path_);
}

std::string read_file(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void write_file(const std::string &path, std::string_view content) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(content.data(), static_cast<std::streamsize>(content.size()));
}

bool file_exists(const std::string &path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::string list_dir() {
    std::vector<std::string> names;
    DIR *d = opendir(".");
    if (d == nullptr) return "(unreadable)";
    while (dirent *e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    std::string all;
    for (auto &n : names) all += (all.empty() ? "" : " ") + n;
    return all;
}

std::string expand(const char *format, std::initializer_list<std::string_view> args) {
    std::string text;
    const auto *arg = args.begin();
    for (const char *p = format; *p; ++p) {
        if (*p != '%') {
            text += *p;
            continue;
        }
        ++p;
        while (*p == 'l') ++p;
        if (*p == '\0') break;
        if (*p == '%') {
            text += '%';
        } else if (arg == args.end()) {
            ADD_FAILURE() << "too few arguments for " << format;
        } else {
            text += *arg++;
        }
    }
    EXPECT_EQ(arg, args.end()) << "too many arguments for " << format;
    return text;
}

std::string asked(const char *question, bool yes) {
    return question + expand(msg.yn_suffix, {yes ? msg.yes_letter : msg.no_letter});
}

std::string case_file(const std::string &path) {
    const std::string full = DPREP_CASES "/" + std::string(msg.lang_code) + "/" + path;
    EXPECT_TRUE(file_exists(full)) << full;
    return read_file(full);
}
