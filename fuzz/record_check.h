// What must hold of the configuration record after any file was read, and of
// any text the program prints. A failure prints what broke and aborts, which
// both libFuzzer and afl++ take as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "capture.h"
#include "config/file.h"
#include "config/options.h"
#include "console/io.h"
#include "utf8.h"
#include "validate/check.h"

[[noreturn]] inline void finding(const char *what, std::string_view detail = {}) {
    std::fprintf(stderr, "\nINVARIANT BROKEN: %s", what);
    if (!detail.empty()) {
        std::fputs(" [", stderr);
        for (unsigned char c : detail.substr(0, 400)) {
            if (c >= 0x20 && c < 0x7F)
                std::fputc(c, stderr);
            else
                std::fprintf(stderr, "\\x%02x", c);
        }
        std::fputs("]", stderr);
    }
    std::fputs("\n", stderr);
    std::abort();
}

template <std::size_t N>
std::string_view name_in(const char (&name)[N], const char *what) {
    const void *nul = std::memchr(name, '\0', N);
    if (nul == nullptr) finding(what, std::string_view(name, N));
    return std::string_view(name, static_cast<std::size_t>(static_cast<const char *>(nul) - name));
}

inline void check_record(const options &o) {
    std::string_view iface = name_in(o.config_iface, "config_iface is not NUL-terminated");
    std::string_view ded =
        name_in(o.failover_ded_iface, "failover_ded_iface is not NUL-terminated");
    std::string_view type = name_in(o.failover_type, "failover_type is not NUL-terminated");
    std::string_view password = name_in(o.password, "password is not NUL-terminated");
    if (check_ifacename(iface) != 0) finding("config_iface is not an interface name", iface);
    if (check_ifacename(ded) != 0) finding("failover_ded_iface is not an interface name", ded);
    if (type != "master" && type != "slave" && type != "standalone")
        finding("failover_type is not master, slave or standalone", type);
    if (password.size() > 63) finding("password longer than 63 characters", password);
    for (char c : password)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            finding("password holds a character other than a letter or digit", password);
}

// The first field in which two records differ, by name, or nullptr where
// none does; a name's bytes after its NUL do not count.
inline const char *differing_field(const options &a, const options &b) {
    auto differ = [](const auto &x, const auto &y) { return std::strncmp(x, y, sizeof x) != 0; };
    if (a.file_version != b.file_version) return "file_version";
    if (a.ip != b.ip) return "ip";
    if (a.netmask != b.netmask) return "netmask";
    if (a.config_ip != b.config_ip) return "config_ip";
    if (a.config_netmask != b.config_netmask) return "config_netmask";
    if (differ(a.config_iface, b.config_iface)) return "config_iface";
    if (a.nw_ip != b.nw_ip) return "nw_ip";
    if (a.nw_netmask != b.nw_netmask) return "nw_netmask";
    if (a.nw_gw_ip != b.nw_gw_ip) return "nw_gw_ip";
    if (a.set_failover != b.set_failover) return "set_failover";
    if (differ(a.failover_type, b.failover_type)) return "failover_type";
    if (differ(a.failover_ded_iface, b.failover_ded_iface)) return "failover_ded_iface";
    if (a.kill_other_ifaces != b.kill_other_ifaces) return "kill_other_ifaces";
    if (a.clear_log != b.clear_log) return "clear_log";
    if (a.clear_edit != b.clear_edit) return "clear_edit";
    if (a.clear_production != b.clear_production) return "clear_production";
    if (a.set_edit != b.set_edit) return "set_edit";
    if (a.set_production != b.set_production) return "set_production";
    if (a.update_mode != b.update_mode) return "update_mode";
    if (differ(a.password, b.password)) return "password";
    return nullptr;
}

// What load makes of the file that save wrote of the record o (after save,
// which gives o its mode's flags): the version and failover the writer
// always states, and mode 1, since the file holds no mode.
inline options read_back(options o) {
    o.file_version = 6;
    o.set_failover = 0;
    o.update_mode = 1;
    return o;
}

// Text meant for a terminal: no character that a terminal obeys, except the
// line feed and the tab. In the C locale every byte is a character; on a
// UTF-8 console (utf8) the text must be UTF-8, in which the C1 controls
// U+0080..U+009F are C2 80..C2 9F.
inline void check_terminal_text(std::string_view text, const char *where, bool utf8 = false) {
    std::size_t valid = utf8 ? utf8_prefix(text) : text.size();
    if (valid < text.size())
        finding("output that is not UTF-8", text.substr(valid < 80 ? 0 : valid - 80));
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        auto next = static_cast<unsigned char>(i + 1 < text.size() ? text[i + 1] : 0);
        bool c1 = utf8 ? c == 0xC2 && next <= 0x9F : c >= 0x80 && c <= 0x9F;
        if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F || c1)
            finding(where, text.substr(i < 80 ? 0 : i - 80));
    }
}

// fconfig.dat read as the program reads it, into a fresh record; returns the
// reader's messages.
inline std::string load_messages(options *o) {
    std::string text;
    FILE *saved_err = io.err;
    io.err = capture(&text);
    set_defaults(o);
    load(o);
    std::fclose(io.err);
    io.err = saved_err;
    return text;
}
