// Reading and writing fconfig.dat.
#include "config/file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>

#include "catalog.h"
#include "config/options.h"
#include "record_check.h"
#include "test_support.h"

using namespace std::literals;

namespace {

struct loaded {
    options o;
    std::string err;
};

// Loads the given file content onto the defaults.
loaded load_text(std::string_view content) {
    scratch_dir dir;
    write_file("fconfig.dat", content);
    loaded l;
    set_defaults(&l.o);
    console_capture con;
    load(&l.o);
    l.err = con.err();
    EXPECT_EQ(con.out(), "");
    return l;
}

options defaults_in_mode_one() {
    options o;
    set_defaults(&o);
    o.update_mode = 1;
    return o;
}

// The reader's report of each (message, value), in order.
std::string reports(std::initializer_list<std::pair<const char *, const char *>> lines) {
    std::string all;
    for (auto [message, value] : lines) all += expand(message, {value});
    return all;
}

// Saved over an old file that others could read: it is replaced by one that
// only its owner can, and no temporary file is left. The record gets the
// flags of its mode, as save gives them.
std::string saved_text(options *o) {
    scratch_dir dir;
    write_file("fconfig.dat", "old\n");
    EXPECT_EQ(chmod("fconfig.dat", 0644), 0);
    console_capture con;
    save(o);
    EXPECT_EQ(con.out() + con.err(), "");
    struct stat st;
    EXPECT_EQ(stat("fconfig.dat", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(list_dir(), "fconfig.dat");
    return read_file("fconfig.dat");
}

}  // namespace

TEST(LoadFile, NoFileOrOneThatCannotBeReadLeavesTheDefaultsAndModeOneAndOnlyTheSecondIsReported) {
    for (bool unreadable : {false, true}) {
        scratch_dir dir;
        if (unreadable) {
            ASSERT_EQ(mkdir("fconfig.dat", 0700), 0);
        }
        options o;
        set_defaults(&o);
        console_capture con;
        load(&o);
        EXPECT_STREQ(differing_field(o, defaults_in_mode_one()), nullptr);
        EXPECT_EQ(con.out(), "");
        EXPECT_EQ(con.err(), unreadable ? msg.cannot_read : "");
    }
}

TEST(LoadFile, ReadsEveryKeyInAnyLetterCaseAndLineEnd) {
    loaded l = load_text(
        "IP=10.0.0.1\r\n\r\nNetMask=255.0.255.0\r\r\nconfig_IP=10.0.0.9\n\r\n"
        "kill_other_ifaces=1\nconfig_netmask=255.255.255.0\nnw_ip=10.1.0.0\nnw_netmask=255.255.0."
        "0\n"
        "nw_gw_ip=10.0.0.254\nset_failover=1\nfailover_type=master\nfailover_ded_iface=tr3\n"
        "config_iface=eth7\npassword=Abc123\nfile_version=2\nclear_log=1\nclear_edit=1\n"
        "clear_production=1\nset_edit=0\nset_production=0\nlanguage=whatever\nset_language=x\n"
        "set_password=\nfile_version=5"  // the last line has no line feed
    );
    EXPECT_EQ(l.err, "");
    const options &o = l.o;
    EXPECT_EQ(o.ip, 0x0A000001u);
    EXPECT_EQ(o.netmask, 0xFF00FF00u);  // any dotted quad is a netmask in the file
    EXPECT_EQ(o.config_ip, 0x0A000009u);
    EXPECT_EQ(o.config_netmask, 0xFFFFFF00u);
    EXPECT_EQ(o.nw_ip, 0x0A010000u);
    EXPECT_EQ(o.nw_netmask, 0xFFFF0000u);
    EXPECT_EQ(o.nw_gw_ip, 0x0A0000FEu);
    EXPECT_EQ(o.kill_other_ifaces, 1);
    EXPECT_EQ(o.set_failover, 1);
    EXPECT_STREQ(o.failover_type, "master");
    EXPECT_STREQ(o.failover_ded_iface, "tr3");
    EXPECT_STREQ(o.config_iface, "eth7");
    EXPECT_STREQ(o.password, "Abc123");
    EXPECT_EQ(o.file_version, 5u);
    EXPECT_EQ(o.clear_log + o.clear_edit + o.clear_production, 3);
    EXPECT_EQ(o.set_edit + o.set_production, 0);
    EXPECT_EQ(o.update_mode, 1u);
}

TEST(LoadFile, BadValuesAreReportedWithTheValueAndChangeNothing) {
    loaded l = load_text(
        "ip=10.0.0.1\nip=10.0.0.300\nip = 10.0.0.2\nconfig_iface=ETH0\nnetmask= 255.0.0.0x\n"
        "kill_other_ifaces=yes\nconfig_ip=1.2.3\nconfig_netmask=\nnw_ip=a\nnw_netmask=1\n"
        "nw_gw_ip=-1.0.0.0\nset_failover=2\nfailover_type=Master\n"
        "failover_type=standaloneXXXXXX\nfailover_ded_iface=eth\nclear_log=01\nclear_edit= 1\n"
        "clear_production=1 \nset_edit=\nset_production=true\n");
    EXPECT_EQ(l.err, reports({
                         {msg.file_bad_ip, "10.0.0.300"},
                         {msg.file_unknown_parameter, "ip = 10.0.0.2"},
                         {msg.file_bad_config_iface, "ETH0"},
                         {msg.file_bad_netmask, " 255.0.0.0x"},
                         {msg.file_bad_kill_other_ifaces, "yes"},
                         {msg.file_bad_config_ip, "1.2.3"},
                         {msg.file_bad_config_netmask, ""},
                         {msg.file_bad_nw_ip, "a"},
                         {msg.file_bad_nw_netmask, "1"},
                         {msg.file_bad_nw_gw_ip, "-1.0.0.0"},
                         {msg.file_bad_set_failover, "2"},
                         {msg.file_bad_failover_type, "Master"},
                         {msg.file_bad_failover_type, "standaloneXXXXXX"},
                         {msg.file_bad_failover_ded_iface, "eth"},
                         {msg.file_bad_clear_log, "01"},
                         {msg.file_bad_clear_edit, " 1"},
                         {msg.file_bad_clear_production, "1 "},
                         {msg.file_bad_set_edit, ""},
                         {msg.file_bad_set_production, "true"},
                     }));
    options expected = defaults_in_mode_one();
    expected.ip = 0x0A000001;  // the earlier valid line stands
    EXPECT_STREQ(differing_field(l.o, expected), nullptr);
}

TEST(LoadFile, VersionIsKeptEvenWhenRefusedThenRangeTested) {
    EXPECT_EQ(load_text("file_version=7\n").err, expand(msg.file_unknown_version, {"7"}));
    EXPECT_EQ(load_text("file_version=abc\n").err,
              expand(msg.file_bad_version, {"abc"}) + expand(msg.file_unknown_version, {"0"}));
    loaded l = load_text("file_version=6x\n");
    EXPECT_EQ(l.err, expand(msg.file_bad_version, {"6x"}));
    EXPECT_EQ(l.o.file_version, 6u);
    EXPECT_EQ(load_text("file_version=4294967296\n").err,
              expand(msg.file_unknown_version, {"4294967295"}));
    EXPECT_EQ(load_text("file_version=1\n").err, expand(msg.file_unknown_version, {"1"}));
    EXPECT_EQ(load_text("file_version=2\nfile_version= 6\n").err, "");
    // Nothing after the key, or after a sign, where a longer line left digits.
    EXPECT_EQ(load_text("file_version=23\nfile_version=\nfile_version=+45\nfile_version=+\n").err,
              expand(msg.file_unknown_version, {"23"}) + expand(msg.file_bad_version, {""}) +
                  expand(msg.file_unknown_version, {"0"}) +
                  expand(msg.file_unknown_version, {"45"}) + expand(msg.file_bad_version, {"+"}) +
                  expand(msg.file_unknown_version, {"0"}));
}

TEST(LoadFile, PasswordRule) {
    std::string p63(63, 'a'), p64(64, 'b');
    EXPECT_EQ(load_text("password=" + p63 + "\n").o.password, p63);
    loaded l = load_text("password=old1\npassword=" + p64 + "\npassword=a-b-\npassword=a b\n");
    EXPECT_STREQ(l.o.password, "old1");
    EXPECT_EQ(l.err, msg.file_long_password + expand(msg.file_bad_password_char, {"-"}) +
                         expand(msg.file_bad_password_char, {" "}));
    EXPECT_STREQ(load_text("password=old1\npassword=\n").o.password, "");
}

TEST(LoadFile, LongLinesAreRefusedWholeNeverSplit) {
    // The longest line taken, counted without its CR and LF.
    std::string taken = "password=" + std::string(245, 'a');
    ASSERT_EQ(taken.size(), 254u);
    loaded l = load_text(taken + "\r\r\n");
    EXPECT_EQ(l.err, msg.file_long_password);

    // One more character: nothing of the line is used, however it continues.
    std::string over = "password=x" + std::string(234, ' ') + "ip=10.9.9.9";
    ASSERT_EQ(over.size(), 255u);
    l = load_text("ip=10.0.0.1\n" + over + "\n" + std::string(100000, 'z') + "\r\nnetmask=8\n");
    EXPECT_EQ(l.err, msg.file_too_long_line + std::string(msg.file_too_long_line) +
                         expand(msg.file_bad_netmask, {"8"}));
    EXPECT_EQ(l.o.ip, 0x0A000001u);
    EXPECT_STREQ(l.o.password, "");
}

TEST(LoadFile, NulAndControlBytesAreOrdinaryCharactersShownEscaped) {
    // A message longer than any buffer of the reader still comes out whole.
    std::string shown;
    for (int i = 0; i < 250; ++i) shown += "\\x1b";
    EXPECT_EQ(load_text(std::string(250, '\x1b') + "\n").err,
              expand(msg.file_unknown_parameter, {shown}));
    loaded l = load_text(
        "ip=1.2.3.4\0junk\n\x1b[2Jip=1\nfailover_type=\x9bslave\npassword=a\x7f\n"
        "ip=5.6.7.8\t\n"sv);
    EXPECT_EQ(l.err, reports({
                         {msg.file_bad_ip, "1.2.3.4\\x00junk"},
                         {msg.file_unknown_parameter, "\\x1b[2Jip=1"},
                         {msg.file_bad_failover_type, "\\x9bslave"},
                         {msg.file_bad_password_char, "\\x7f"},
                     }));
    EXPECT_EQ(l.o.ip, 0x05060708u);
    // A lone CR ends no line: the rest stays part of the value.
    EXPECT_EQ(load_text("ip=1.1.1.1\rnetmask=0.0.0.0\r").err,
              expand(msg.file_bad_ip, {"1.1.1.1\\x0dnetmask=0.0.0.0"}));
}

TEST(SaveFile, WritesThroughSymbolicLinks) {
    options o = defaults_in_mode_one();
    const std::string expected = saved_text(&o);
    scratch_dir dir;
    ASSERT_EQ(mkdir("sub", 0700), 0);
    write_file("sub/real.dat", "old\n");
    ASSERT_EQ(symlink("sub/link", "fconfig.dat"), 0);
    ASSERT_EQ(symlink("real.dat", "sub/link"), 0);  // relative to the link's directory
    console_capture con;
    save(&o);
    EXPECT_EQ(con.err(), "");
    char target[64] = {};
    ASSERT_GT(readlink("fconfig.dat", target, sizeof target), 0);
    EXPECT_STREQ(target, "sub/link");
    EXPECT_EQ(read_file("sub/real.dat"), expected);
    EXPECT_EQ(list_dir(), "fconfig.dat sub");

    // An absolute link.
    ASSERT_EQ(unlink("fconfig.dat"), 0);
    ASSERT_EQ(symlink((dir.path() + "/sub/real.dat").c_str(), "fconfig.dat"), 0);
    write_file("sub/real.dat", "old\n");
    save(&o);
    EXPECT_EQ(read_file("sub/real.dat"), expected);

    // A dangling link: the file is created where it points.
    ASSERT_EQ(unlink("fconfig.dat"), 0);
    ASSERT_EQ(symlink("new.dat", "fconfig.dat"), 0);
    save(&o);
    EXPECT_EQ(read_file("new.dat"), expected);
}

namespace {

// On the way out again, so that what exit writes (coverage counters) is not
// refused too.
void lift_size_limit() {
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace

TEST(SaveFileDeathTest, FailuresEndTheRunAndKeepTheOldFile) {
    // Paths too long to be built: a link whose target goes on past the
    // longest path from its own directory, and a target whose directory
    // leaves no room for the temporary file's name.
    std::string deep;
    while (deep.size() < 3900) deep += std::string(200, 'd') + "/";
    deep += std::string(4084 - deep.size(), 'e') + "/x";  // 4086 bytes in all
    for (const char *setup :
         {"directory", "loop", "mode", "long link", "long target", "size limit"}) {
        scratch_dir dir;
        options o;
        set_defaults(&o);
        o.update_mode = 1;
        if (std::string(setup) == "directory") {
            ASSERT_EQ(mkdir("fconfig.dat", 0700), 0);
        } else if (std::string(setup) == "loop") {
            ASSERT_EQ(symlink("fconfig.dat", "fconfig.dat"), 0);
        } else if (std::string(setup) == "long link") {
            ASSERT_EQ(mkdir("sub", 0700), 0);
            ASSERT_EQ(symlink("sub/l", "fconfig.dat"), 0);
            ASSERT_EQ(symlink(std::string(4093, 'l').c_str(), "sub/l"), 0);
        } else if (std::string(setup) == "long target") {
            ASSERT_EQ(symlink(deep.c_str(), "fconfig.dat"), 0);
        } else if (std::string(setup) == "size limit") {
            write_file("fconfig.dat", "old\n");
        } else {
            write_file("fconfig.dat", "old\n");
            o.update_mode = 4;  // names no row of the table
        }
        EXPECT_EXIT(
            {
                if (std::string(setup) == "size limit") {
                    rlimit limit;
                    getrlimit(RLIMIT_FSIZE, &limit);
                    limit.rlim_cur = 100;  // less than the file
                    setrlimit(RLIMIT_FSIZE, &limit);
                    std::atexit(lift_size_limit);
                }
                console_capture con;
                save(&o);
            },
            testing::ExitedWithCode(1), "");
        EXPECT_EQ(list_dir(), std::string(setup) == "long link" ? "fconfig.dat sub" : "fconfig.dat")
            << setup;
        if (std::string(setup) == "mode" || std::string(setup) == "size limit") {
            EXPECT_EQ(read_file("fconfig.dat"), "old\n") << setup;
        }
    }
}

TEST(FileRoundTrip, WhatIsSavedLoadsBackUnchanged) {
    std::mt19937 rng(7);
    const char *types[] = {"master", "slave", "standalone"};
    for (int i = 0; i < 200; ++i) {
        options o;
        set_defaults(&o);
        o.ip = static_cast<uint32_t>(rng());
        o.netmask = static_cast<uint32_t>(rng());
        o.config_ip = static_cast<uint32_t>(rng());
        o.config_netmask = static_cast<uint32_t>(rng());
        o.nw_ip = static_cast<uint32_t>(rng());
        o.nw_netmask = static_cast<uint32_t>(rng());
        o.nw_gw_ip = static_cast<uint32_t>(rng());
        o.kill_other_ifaces = static_cast<int8_t>(rng() % 2);
        std::snprintf(o.config_iface, sizeof o.config_iface, "%s%u", i % 2 ? "eth" : "tr",
                      static_cast<unsigned>(rng() % 100000));
        std::snprintf(o.failover_ded_iface, sizeof o.failover_ded_iface, "eth%d", i);
        std::strcpy(o.failover_type, types[i % 3]);
        std::string pw(rng() % 64, 'x');
        for (char &c : pw) c = "aZ09qQ"[rng() % 6];
        std::strcpy(o.password, pw.c_str());
        o.update_mode = 1 + static_cast<uint32_t>(rng() % 3);

        std::string text = saved_text(&o);
        loaded back = load_text(text);
        EXPECT_EQ(back.err, "");
        EXPECT_STREQ(differing_field(back.o, read_back(o)), nullptr) << text;
    }
}
