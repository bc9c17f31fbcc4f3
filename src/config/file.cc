// Reading and writing fconfig.dat.
#include "config/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "catalog.h"
#include "config/fsio.h"
#include "config/replace.h"
#include "console/ascii.h"
#include "console/io.h"
#include "console/parse.h"
#include "console/print.h"
#include "dialogue/modes.h"
#include "validate/check.h"

namespace {

constexpr const char file_name[] = "fconfig.dat";

// ---- The lines ----

// How a line's value is read into the record and written from it.
enum class kind : std::uint8_t {
    ip,             // a dotted quad, in number
    flag,           // 0 or 1, in flag
    iface,          // an interface name, in name
    failover_type,  // master, slave or standalone, in name
    version,        // a number, in number; written as fixed
    password,
    language,  // read and ignored; written as the build's language code
    ignored,   // read and ignored; written as fixed
};

struct key_rule {
    const char *key;  // including its "="
    kind how;
    const char *catalog::*message = nullptr;  // drawn by a bad value
    uint32_t options::*number = nullptr;
    int8_t options::*flag = nullptr;
    char (options::*name)[16] = nullptr;
    const char *fixed = nullptr;  // written whatever the record holds
};

// The 22 lines in the order the appliance has always read them, which is the
// order they are written in. Some are written as constants: the version
// (this program writes version 6 whatever it read), set_failover, since this
// program never configures failover (see ask), and set_password, language and
// set_language, since every file carries both a password and a language for
// the appliance to take.
constexpr key_rule keys[] = {
    {"file_version=", kind::version, &catalog::file_bad_version, &options::file_version, nullptr,
     nullptr, "6"},
    {"config_iface=", kind::iface, &catalog::file_bad_config_iface, nullptr, nullptr,
     &options::config_iface},
    {"ip=", kind::ip, &catalog::file_bad_ip, &options::ip},
    {"netmask=", kind::ip, &catalog::file_bad_netmask, &options::netmask},
    {"kill_other_ifaces=", kind::flag, &catalog::file_bad_kill_other_ifaces, nullptr,
     &options::kill_other_ifaces},
    {"config_ip=", kind::ip, &catalog::file_bad_config_ip, &options::config_ip},
    // Netmasks from the file are taken as any dotted quad, contiguous or not.
    {"config_netmask=", kind::ip, &catalog::file_bad_config_netmask, &options::config_netmask},
    {"password=", kind::password},
    {"nw_ip=", kind::ip, &catalog::file_bad_nw_ip, &options::nw_ip},
    {"nw_netmask=", kind::ip, &catalog::file_bad_nw_netmask, &options::nw_netmask},
    {"nw_gw_ip=", kind::ip, &catalog::file_bad_nw_gw_ip, &options::nw_gw_ip},
    {"set_failover=", kind::flag, &catalog::file_bad_set_failover, nullptr, &options::set_failover,
     nullptr, "0"},
    {"failover_type=", kind::failover_type, &catalog::file_bad_failover_type, nullptr, nullptr,
     &options::failover_type},
    {"failover_ded_iface=", kind::iface, &catalog::file_bad_failover_ded_iface, nullptr, nullptr,
     &options::failover_ded_iface},
    {"clear_log=", kind::flag, &catalog::file_bad_clear_log, nullptr, &options::clear_log},
    {"clear_edit=", kind::flag, &catalog::file_bad_clear_edit, nullptr, &options::clear_edit},
    {"clear_production=", kind::flag, &catalog::file_bad_clear_production, nullptr,
     &options::clear_production},
    {"set_edit=", kind::flag, &catalog::file_bad_set_edit, nullptr, &options::set_edit},
    {"set_production=", kind::flag, &catalog::file_bad_set_production, nullptr,
     &options::set_production},
    {"set_password=", kind::ignored, nullptr, nullptr, nullptr, nullptr, "1"},
    {"language=", kind::language},
    {"set_language=", kind::ignored, nullptr, nullptr, nullptr, nullptr, "1"},
};

// A line is taken by the first key it begins with; since no key is the
// beginning of another, that is the only one, whatever the order above. The
// version and the lines that are read and ignored are written as constants.
constexpr bool keys_are_sound() {
    for (const key_rule &a : keys) {
        if ((a.how == kind::version || a.how == kind::ignored) && a.fixed == nullptr) return false;
        for (const key_rule &b : keys)
            if (&a != &b && std::string_view(b.key).starts_with(a.key)) return false;
    }
    return true;
}
static_assert(keys_are_sound());
static_assert(std::size(keys) == 22);

// ---- Reading ----

// Keys match without regard to the case of ASCII letters.
bool starts_with_key(std::string_view line, std::string_view key) {
    return same_folded(head(line, key.size()), key);
}

void report(const char *message, std::string_view value) {
    print_escaped(io.err, message, {value});
}

void copy_name(char *to, std::string_view value) {
    std::memcpy(to, value.data(), value.size());
    to[value.size()] = '\0';
}

void take_password(options *o, std::string_view value) {
    if (value.size() >= sizeof o->password) {
        print_text(io.err, msg.file_long_password);
        return;
    }
    for (const char &c : value) {
        if (!is_alnum(c)) {
            report(msg.file_bad_password_char, std::string_view(&c, 1));
            return;
        }
    }
    copy_name(o->password, value);
}

void take_value(options *o, const key_rule &rule, std::string_view value) {
    const char *bad = rule.message ? msg.*rule.message : nullptr;
    switch (rule.how) {
    case kind::ip:
        if (!parse_ip(value, &(o->*rule.number))) report(bad, value);
        break;
    case kind::flag:
        if (!parse_bool(value, &(o->*rule.flag))) report(bad, value);
        break;
    case kind::iface:
        if (check_ifacename(value))
            report(bad, value);
        else
            copy_name(o->*rule.name, value);
        break;
    case kind::failover_type:
        if (value.size() >= sizeof(o->*rule.name) || check_failover_type(value))
            report(bad, value);
        else
            copy_name(o->*rule.name, value);
        break;
    case kind::version:
        // The number is kept even when the text is refused; then its range counts.
        if (!parse_ul(value, &(o->*rule.number))) report(bad, value);
        if (o->*rule.number < 2 || o->*rule.number > 6)
            print_escaped(io.err, msg.file_unknown_version, {o->*rule.number});
        break;
    case kind::password:
        take_password(o, value);
        break;
    case kind::language:
    case kind::ignored:
        break;
    }
}

void take_line(options *o, std::string_view line) {
    for (const key_rule &rule : keys) {
        std::string_view key(rule.key);
        if (starts_with_key(line, key)) {
            line.remove_prefix(key.size());
            take_value(o, rule, line);
            return;
        }
    }
    if (!line.empty()) report(msg.file_unknown_parameter, line);
}

// Gathers the bytes of one line. Only the first max_line + 1 are kept: a line
// longer than max_line is refused whole, never split into pieces that would
// each be taken as a line.
struct line_buffer {
    char s[256];
    std::size_t len = 0;      // bytes of the line so far, line feed not counted
    std::size_t content = 0;  // length without the carriage returns at its end

    void add(char c) {
        if (len < sizeof s) s[len] = c;
        ++len;
        if (c != '\r') content = len;
    }
    void finish(options *o) {
        if (content > max_line)
            print_text(io.err, msg.file_too_long_line);
        else
            take_line(o, std::string_view(s, content));
        len = content = 0;
    }
};

line_buffer line;  // static: the program keeps nothing on the heap or in large frames

// ---- Writing ----

// The whole file, composed before anything is written, so that a failure to
// write it can still leave the old file. Its longest possible content (names
// of 15 and a password of 63 characters) is far from the size; a text that
// did not fit would be a failure, never a file cut short.
struct file_text {
    char s[2048];
    std::size_t len = 0;
    bool cut = false;

    void add(int n) {
        cut = cut || n < 0 || static_cast<std::size_t>(n) >= sizeof s - len;
        if (!cut) len += static_cast<std::size_t>(n);
    }
    void line(const char *key, const char *value) {
        add(std::snprintf(s + len, sizeof s - len, "%s%s\n", key, value));
    }
    void flag(const char *key, int8_t value) {
        add(std::snprintf(s + len, sizeof s - len, "%s%d\n", key, value));
    }
};

file_text text;

bool compose(const options *o, file_text *t) {
    for (const key_rule &rule : keys) {
        if (rule.fixed != nullptr)
            t->line(rule.key, rule.fixed);
        else if (rule.how == kind::ip)
            t->line(rule.key, format_ip(o->*rule.number));
        else if (rule.how == kind::flag)
            t->flag(rule.key, o->*rule.flag);
        else if (rule.how == kind::password)
            t->line(rule.key, o->password);
        else if (rule.how == kind::language)
            t->line(rule.key, msg.lang_code);
        else  // an interface name or a failover type
            t->line(rule.key, o->*rule.name);
    }
    return !t->cut;
}

// The cause of each error that the operator can do something about, in
// the operator's words: what is wrong and what to do, which for a
// write-protected diskette is not what it is for a full one.
constexpr struct {
    int error;
    const char *catalog::*cause;
} causes[] = {
    {EROFS, &catalog::cause_read_only},
    {ENOSPC, &catalog::cause_full},
    {EDQUOT, &catalog::cause_full},
    {folder_full, &catalog::cause_folder_full},
    {EACCES, &catalog::cause_permission},  // the folder's: the file's is file_read_only
    {EPERM, &catalog::cause_attributes},   // immutable, append-only
    {file_read_only, &catalog::cause_file_read_only},
    {others_file, &catalog::cause_others_file},
    {not_regular, &catalog::cause_not_regular},
    {EISDIR, &catalog::cause_not_regular},
    {EIO, &catalog::cause_io},
    // A medium pulled out (FUSE's ENOTCONN), or the folder gone with it.
    {ENOENT, &catalog::cause_gone},
    {ENOTCONN, &catalog::cause_gone},
    {ENODEV, &catalog::cause_gone},
    {ENXIO, &catalog::cause_gone},
    {ENOMEDIUM, &catalog::cause_gone},
    {ESTALE, &catalog::cause_gone},
    {missing_folder, &catalog::cause_missing_folder},
    {ELOOP, &catalog::cause_loop},
};

// The refused save's message, its cause on the line after it (any other
// error by its number), and the temporary file that could not be removed,
// named so that the operator can: emptied, or perhaps holding the password.
void report_refusal(int error) {
    print_text(io.err, msg.cannot_create);
    const char *cause = nullptr;
    for (const auto &c : causes)
        if (c.error == error) cause = msg.*c.cause;
    if (cause != nullptr)
        print_text(io.err, cause);
    else
        print_escaped(io.err, msg.cause_other, {error});
    bool emptied = false;
    if (const char *path = temp_left(&emptied))
        print_escaped(io.err, emptied ? msg.temp_left : msg.temp_unsafe, {path});
}

leftover_scan scan;  // at namespace scope: no guard for its initialisation

// File systems that a diskette may carry: FAT through the kernel's vfat or
// msdos driver, and FUSE, which may be a FAT driver.
constexpr long msdos_magic = 0x4d44;
constexpr long fuse_magic = 0x65735546;

}  // namespace

void load_file(options *o) {
    // No file is a new floppy. A file that is there but cannot be read must
    // not pass for one: the defaults would then replace it on the next save.
    // Only a regular file is opened: a device or a FIFO could be read for
    // ever, block, or do something on being opened (a serial line).
    struct stat st;
    if (fs_stat(file_name, &st) != 0) {
        if (errno != ENOENT) print_text(io.err, msg.cannot_read);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        print_text(io.err, msg.cannot_read);
        return;
    }
    int fd = fs_open(file_name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        if (errno != ENOENT) print_text(io.err, msg.cannot_read);
        return;
    }
    // What was opened may have been put there after the look above.
    if (fs_fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        print_text(io.err, msg.cannot_read);
        fs_close(fd);
        return;
    }
    static char buf[4096];
    line = line_buffer{};
    for (;;) {
        ssize_t n = fs_read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {  // the lines taken so far keep their effect
            print_text(io.err, msg.cannot_read);
            break;
        }
        if (n == 0) {
            if (line.len > 0) line.finish(o);  // a last line without a line feed
            break;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] == '\n')
                line.finish(o);
            else
                line.add(buf[i]);
        }
    }
    fs_close(fd);
}

void load(options *o) {
    load_file(o);
    // The file holds the flags of the mode chosen last time, not the mode;
    // an erasing mode must be chosen anew by whoever prepares this floppy.
    o->update_mode = 1;
}

int check_save() {
    // A save that a power cut stopped left its temporary file, password and
    // all; nothing but the operator may remove what this run did not make.
    if (open_leftovers(file_name, &scan))
        while (next_leftover(&scan)) print_escaped(io.err, msg.temp_unsafe, {scan.path});
    long fs_type = 0;
    int error = replace_check(file_name, &fs_type);
    if (error != 0) {
        report_refusal(error);
        return 1;
    }
    // An operator at the terminal learns that the mount failed or the cd was
    // forgotten before answering; a script's pipe gets what it always got.
    if (fs_type != 0 && fs_type != msdos_magic && fs_type != fuse_magic &&
        isatty(fileno(io.in)) == 1)
        print_text(io.err, msg.not_on_diskette);
    return 0;
}

void save_file(const options *o) {
    text = file_text{};
    int error = compose(o, &text) ? replace_file(file_name, text.s, text.len) : EOVERFLOW;
    if (error == 0) return;
    report_refusal(error);
    quit(1);
}

void save(options *o) {
    bool mode_found = false;
    for (const update_mode &up : update_table) {
        if (up.mode != o->update_mode) continue;
        o->clear_log = up.um_clear_log;
        o->clear_edit = up.um_clear_edit;
        o->clear_production = up.um_clear_production;
        o->set_edit = up.um_set_edit;
        o->set_production = up.um_set_production;
        mode_found = true;
    }
    if (!mode_found) {
        print_text(io.out, msg.internal_error);
        quit(1);
    }
    save_file(o);
}
