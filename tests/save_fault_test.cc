// Every file-system call of a save made to fail in turn: each failure is
// reported with status 1 and none loses the file that was there before.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "catalog.h"
#include "config/file.h"
#include "config/options.h"
#include "config/replace.h"
#include "fsio_stub.h"
#include "test_support.h"

namespace {

const std::string old_file = "file_version=6\npassword=old\n";

std::string refusal(const std::string &cause) {
    return msg.cannot_create + cause;
}

options record() {
    options o;
    set_defaults(&o);
    std::strcpy(o.password, "new1");
    o.update_mode = 1;
    return o;
}

// What a 32-bit build's emulator adds when a signal ends the program: its
// own line, or nothing where the kernel runs the program itself.
const char *const emulator_line =
    "(qemu: uncaught target signal [0-9]+ \\([^)]*\\) - (core dumped|no core)\n)?";

// The save as the program makes it, in a child: status 0 after a save that
// returned, 1 after a reported failure, or the end by a signal; standard
// error as err says. As in the program, no core dump: one would land on the
// floppy, and the emulator's beside the file. A signal that the caller
// ignores (nohup, a background job) must stay ignored.
template <class Predicate>
void save_in_child(const fault_plan &plan, Predicate ends,
                   const testing::Matcher<const std::string &> &err = "", int ignored = 0) {
    EXPECT_EXIT(
        {
            if (ignored) signal(ignored, SIG_IGN);
            rlimit no_core;
            no_core.rlim_cur = no_core.rlim_max = 0;
            setrlimit(RLIMIT_CORE, &no_core);
            fault = plan;
            calls.clear();
            options o = record();
            save(&o);
            quit(ignored && signal(ignored, SIG_IGN) != SIG_IGN ? 2 : 0);
        },
        ends, err);
}

// A clean save in a scratch directory: the calls it makes and what it writes.
std::vector<std::string> clean_save(std::string *written, bool had_file = true) {
    scratch_dir dir;
    if (had_file) write_file("fconfig.dat", old_file);
    fault = {};
    calls.clear();
    options o = record();
    console_capture con;
    save(&o);
    *written = read_file("fconfig.dat");
    return calls;
}

}  // namespace

TEST(SaveFaults, EveryFailingCallIsReportedAndKeepsTheOldFile) {
    std::string new_file;
    const std::vector<std::string> sequence = clean_save(&new_file);
    ASSERT_NE(new_file, old_file);
    ASSERT_GE(sequence.size(), 8u);
    std::string all;
    for (const std::string &c : sequence) all += c + " ";
    // The file is synced again under its new name before the directory: on
    // FAT that writes its directory entry, which the rename left in memory.
    EXPECT_EQ(all,
              "readlink stat open close mkstemps write fsync rename fsync close open fsync close ");

    bool renamed = false;
    for (std::size_t n = 1; n <= sequence.size(); ++n) {
        const std::string &call = sequence[n - 1];
        SCOPED_TRACE("call " + std::to_string(n) + ": " + call);
        // Closing the descriptor that only tested the old file for writing,
        // or one already synced after the rename, loses nothing.
        bool harmless = call == "close" && (sequence[n - 2] == "open" || renamed);
        // A directory sync that the file system does not support is no
        // failure, nor is a directory that may not be opened to be synced.
        bool unsupported = call == "fsync" && sequence[n - 2] == "open";
        bool folder = call == "open" && renamed;
        std::vector<int> errors = {EIO, ENOSPC};
        if (unsupported) errors.insert(errors.end(), {EINVAL, ENOTSUP});
        if (folder) errors.push_back(EACCES);
        for (int error : errors) {
            scratch_dir dir;
            write_file("fconfig.dat", old_file);
            fault_plan plan;
            plan.fail_call = static_cast<int>(n);
            plan.error = error;
            bool saved = harmless || (unsupported && (error == EINVAL || error == ENOTSUP)) ||
                         (folder && error == EACCES);
            const char *cause = error == EIO         ? msg.cause_io
                                : call == "mkstemps" ? msg.cause_folder_full
                                                     : msg.cause_full;
            save_in_child(plan, testing::ExitedWithCode(saved ? 0 : 1),
                          saved ? "" : refusal(cause));
            // Up to the rename the old file stands; after it, the new one.
            EXPECT_EQ(read_file("fconfig.dat"), renamed || saved ? new_file : old_file);
            EXPECT_EQ(list_dir(), "fconfig.dat");
        }
        if (call == "rename") renamed = true;
    }
    EXPECT_TRUE(renamed);

    // A disk that dies at the rename: the temporary file can be neither
    // emptied nor removed, and is named as one that may hold the password.
    scratch_dir dir;
    write_file("fconfig.dat", old_file);
    fault_plan plan;
    plan.fail_from = static_cast<int>(std::find(sequence.begin(), sequence.end(), "rename") -
                                      sequence.begin() + 1);
    save_in_child(plan, testing::ExitedWithCode(1),
                  testing::ContainsRegex("\nfc[A-Za-z0-9]{6}\\.tmp, "));
    std::string names = list_dir(), left = names.substr(0, names.find(' '));
    if (left == "fconfig.dat") left = names.substr(names.find(' ') + 1);
    EXPECT_EQ(read_file(left), new_file);
    EXPECT_EQ(read_file("fconfig.dat"), old_file);
}

// Ctrl-C, a closed terminal, a shutdown or Ctrl-\ at any step of the save,
// just before or just after the call: the program ends by the signal, and
// the directory holds the old file (or none) up to the rename, the whole new
// file from the rename on, and nothing else.
TEST(SaveFaults, ASignalAtAnyStepLeavesTheOldFileOrTheWholeNewOne) {
    std::size_t last_call = 0;  // of a save over an old file
    for (bool had_file : {true, false}) {
        std::string new_file;
        const std::vector<std::string> sequence = clean_save(&new_file, had_file);
        if (had_file) last_call = sequence.size();
        std::size_t rename_at = 1;
        while (sequence[rename_at - 1] != "rename") ++rename_at;
        // Those of the terminal and a shutdown, and others that end a
        // process by default: a UPS's power warning, a CPU limit, a
        // real-time one (the first: qemu-i386 has no room for the last).
        for (int sig : {SIGINT, SIGHUP, SIGTERM, SIGQUIT, SIGPWR, SIGXCPU, SIGRTMIN}) {
            for (std::size_t n = 1; n <= sequence.size(); ++n) {
                for (bool after : {false, true}) {
                    SCOPED_TRACE("signal " + std::to_string(sig) +
                                 (after ? " after " : " before ") + "call " + std::to_string(n) +
                                 " (" + sequence[n - 1] + ")" +
                                 (had_file ? "" : ", no file before"));
                    scratch_dir dir;
                    if (had_file) write_file("fconfig.dat", old_file);
                    fault_plan plan;
                    plan.signal = sig;
                    plan.signal_call = static_cast<int>(n);
                    plan.signal_after = after;
                    save_in_child(plan, testing::KilledBySignal(sig),
                                  testing::MatchesRegex(emulator_line));
                    // The rename's signal is held until the rename is done.
                    bool renamed = n >= rename_at;
                    EXPECT_EQ(list_dir(), renamed || had_file ? "fconfig.dat" : "");
                    EXPECT_EQ(read_file("fconfig.dat"), renamed    ? new_file
                                                        : had_file ? old_file
                                                                   : "");
                }
            }
        }
    }
    for (int sig : {SIGHUP, SIGINT}) {  // ignored, at the first and the last call
        for (std::size_t n : {std::size_t{1}, last_call}) {
            scratch_dir dir;
            write_file("fconfig.dat", old_file);
            fault_plan plan;
            plan.signal = sig;
            plan.signal_call = static_cast<int>(n);
            save_in_child(plan, testing::ExitedWithCode(0), "", sig);
            EXPECT_EQ(list_dir(), "fconfig.dat");
        }
    }
}

TEST(SaveFaults, ShortAndInterruptedWritesStillWriteEverything) {
    std::string expected;
    clean_save(&expected);
    scratch_dir dir;
    options o = record();
    console_capture con;
    for (std::size_t most : {1u, 7u}) {  // a single byte is progress too
        fault = {};
        fault.max_write = most;
        save(&o);
        EXPECT_EQ(read_file("fconfig.dat"), expected);
    }

    // EINTR on the first write: tried again, not a failure.
    calls.clear();
    fault = {};
    save(&o);
    std::size_t first_write = 0;
    while (calls[first_write] != "write") ++first_write;
    fault.fail_call = static_cast<int>(first_write + 1);
    fault.error = EINTR;
    calls.clear();
    save(&o);
    EXPECT_EQ(read_file("fconfig.dat"), expected);
    EXPECT_EQ(con.err(), "");
    fault = {};
}

// A file that is there but cannot be read is reported once, never taken for
// a new floppy; the lines read before a read error keep their effect.
TEST(LoadFaults, AnUnreadableFileIsReportedAndAnInterruptionIsNot) {
    // Two reads' worth: the first ends inside the second ip= line.
    std::string text = "ip=10.0.0.1\n" + std::string(4080, '\n') + "ip=10.0.0.2\n";
    struct {
        int call, error;  // stat, open and fstat are calls 1 to 3; the reads follow
        uint32_t ip;
        const char *err;
        const char *last;  // the reader's last call: nothing follows a failed stat or open
    } cases[] = {{5, EIO, 0x0A000001u, msg.cannot_read, "close"},
                 {5, EINTR, 0x0A000002u, "", "close"},
                 {1, EACCES, 0, msg.cannot_read, "stat"},
                 {2, EACCES, 0, msg.cannot_read, "open"},
                 {3, EIO, 0, msg.cannot_read, "close"}};
    for (const auto &c : cases) {
        scratch_dir dir;
        write_file("fconfig.dat", text);
        options o;
        set_defaults(&o);
        fault = {};
        fault.fail_call = c.call;
        fault.error = c.error;
        calls.clear();
        console_capture con;
        load(&o);
        EXPECT_EQ(o.ip, c.ip) << c.error;
        EXPECT_EQ(con.err(), c.err) << c.error;
        EXPECT_EQ(calls.back(), c.last) << c.error;
    }
    fault = {};
}

// Before the first question, what would make the save fail is said with its
// cause, having tried the folder with a file of the save's kind made and
// removed, and what a power cut left is named; a figure that a file system
// does not keep stands in the way of nothing. Media and folders that refuse
// for real are the scenarios of save-failures.sh.
TEST(SaveCheck, SaysWhatWouldMakeTheSaveFailAndLeavesNothing) {
    // The status, standard error and what the folder holds afterwards, with
    // fconfig.dat a file or a link, and a file that a power cut left.
    auto check = [](const char *link, const char *left) {
        scratch_dir dir;
        if (link) symlink(link, "fconfig.dat");
        if (!link) write_file("fconfig.dat", old_file);
        if (left) write_file(left, "password=x\n");
        console_capture con;
        calls.clear();
        int status = check_save();
        return std::tuple(status, con.err(), list_dir());
    };
    check(nullptr, nullptr);
    const std::vector<std::string> sequence = calls;
    constexpr long vfat = 0x4d44, fuse = 0x65735546;
    struct {
        const char *what;
        long type;  // the file system, and its size and free blocks
        unsigned long blocks, free;
        const char *call;  // fails with error
        int error;
        std::string err;
        const char *link = nullptr;
        const char *left = nullptr;
    } const cases[] = {
        {"room on a FAT diskette", vfat, 2847, 1, "", 0, ""},
        {"FAT through FUSE: no size", fuse, 0, 0, "", 0, ""},
        {"no figures", 0, 0, 0, "statfs", ENOSYS, ""},
        {"no free block", vfat, 2847, 0, "", 0, refusal(msg.cause_full)},
        {"the folder gone", vfat, 2847, 1, "mkstemps", ENOENT, refusal(msg.cause_gone)},
        {"the medium pulled out", fuse, 0, 0, "mkstemps", ENOTCONN, refusal(msg.cause_gone)},
        {"an error of no known cause", vfat, 2847, 1, "mkstemps", EMLINK,
         refusal(expand(msg.cause_other, {std::to_string(EMLINK)}))},
        {"the user's read-only file", vfat, 2847, 1, "open", EACCES,
         refusal(msg.cause_file_read_only)},
        {"the file gone since its look", vfat, 2847, 1, "open", ENOENT, ""},
        {"a loop of links", vfat, 2847, 1, "readlink", ELOOP, refusal(msg.cause_loop)},
        {"a link into a missing directory", vfat, 2847, 1, "", 0, refusal(msg.cause_missing_folder),
         "gone/fconfig.dat"},
        // Named, and not this run's to remove.
        {"a file a power cut left", vfat, 2847, 1, "", 0, expand(msg.temp_unsafe, {"fcAbC123.tmp"}),
         nullptr, "fcAbC123.tmp"},
    };
    for (const auto &c : cases) {
        fault = {};
        fault.figures.emplace();
        fault.figures->f_type = c.type;
        fault.figures->f_blocks = c.blocks, fault.figures->f_bfree = c.free;
        // The call's last: the scan for what a power cut left looks first.
        fault.fail_call = static_cast<int>(sequence.rend() -
                                           std::find(sequence.rbegin(), sequence.rend(), c.call));
        fault.error = c.error;
        bool refused = c.err.starts_with(msg.cannot_create);
        EXPECT_EQ(check(c.link, c.left), std::tuple(refused ? 1 : 0, c.err,
                                                    std::string(c.left ? c.left : "") +
                                                        (c.left ? " " : "") + "fconfig.dat"))
            << c.what;
    }

    // A signal while the file made exists leaves nothing behind.
    for (std::size_t n = 1; n <= sequence.size(); ++n) {
        SCOPED_TRACE("signal at call " + std::to_string(n) + ", " + sequence[n - 1]);
        scratch_dir dir;
        write_file("fconfig.dat", old_file);
        fault_plan plan;
        plan.signal = SIGTERM;
        plan.signal_call = static_cast<int>(n);
        EXPECT_EXIT((fault = plan, calls.clear(), check_save(), quit(0)),
                    testing::KilledBySignal(SIGTERM), testing::MatchesRegex(emulator_line));
        EXPECT_EQ(list_dir(), "fconfig.dat");
    }
    fault = {};
}
