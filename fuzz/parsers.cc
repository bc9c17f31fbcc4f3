// The value parsers on arbitrary text, each against its definition.
//
// parse_ip and parse_bits are compared with the C library's sscanf on the
// patterns "%d.%d.%d.%d%s" and "%d%s" wherever sscanf's behaviour is defined
// (no NUL in the text, no number of ten digits or more); parse_ul with
// strtoull folded to 32 bits. The formatters must print back what parses to
// the same value. check_ifacename accepts only names that a record holds.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console/parse.h"
#include "record_check.h"
#include "validate/check.h"

namespace {

struct result {
    bool ok;
    uint32_t value;
};

// Runs a parser twice from two different presets: a refusal must leave each
// preset in place, an acceptance must store the same value both times.
result run(parser_fn parser, std::string_view s, const char *name) {
    uint32_t a = 0x5A5A5A5Au, b = 0xA5A5A5A5u;
    int ra = parser(s, &a);
    int rb = parser(s, &b);
    if (ra != rb || (ra != 0 && ra != 1)) finding(name, s);
    if (ra == 0 && (a != 0x5A5A5A5Au || b != 0xA5A5A5A5u))
        finding("a refused text changed the value", s);
    if (ra == 1 && a != b) finding("an accepted text stored two different values", s);
    return {ra == 1, a};
}

bool is_prefix_mask(uint32_t m) {
    uint32_t host = ~m;
    return (host & (host + 1)) == 0;
}

// sscanf's %d is undefined for a number that does not fit an int, and it
// stops at a NUL where the program's parsers do not.
bool scanf_defined(std::string_view s) {
    if (s.find('\0') != std::string_view::npos) return false;
    std::size_t run = 0;
    for (char c : s) {
        run = (c >= '0' && c <= '9') ? run + 1 : 0;
        if (run > 9) return false;
    }
    return true;
}

result reference_ip(const std::string &s) {
    int d[4] = {4711, 4711, 4711, 4711};
    std::string junk(s.size() + 1, '\0');
    int n = std::sscanf(s.c_str(), "%d.%d.%d.%d%s", &d[0], &d[1], &d[2], &d[3], junk.data());
    if (n != 4 && n != -1) return {false, 0};
    uint32_t ip = 0;
    for (int part : d) {
        if (static_cast<uint32_t>(part) > 255) return {false, 0};
        ip = ip << 8 | static_cast<uint32_t>(part);
    }
    return {true, ip};
}

result reference_bits(const std::string &s) {
    int bits = 4711;
    std::string junk(s.size() + 1, '\0');
    int n = std::sscanf(s.c_str(), "%d%s", &bits, junk.data());
    if ((n != 1 && n != -1) || static_cast<uint32_t>(bits) > 32) return {false, 0};
    return {true, bits == 0 ? 0u : 0xFFFFFFFFu << (32 - bits)};
}

// A 32-bit strtoul: a magnitude above 4294967295 gives 4294967295 whatever
// the sign; otherwise '-' negates modulo 2^32. Accepted when at least one
// digit was taken and the digits run to the end of the text.
result reference_ul(std::string_view text) {
    std::string s(text);
    const char *start = s.c_str();
    char *end = nullptr;
    errno = 0;
    unsigned long long r = std::strtoull(start, &end, 10);
    bool overflow = errno == ERANGE;
    const char *p = start;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = *p == '-';
    if (end == start) return {false, 0};
    unsigned long long magnitude = negative ? 0ull - r : r;
    uint32_t value;
    if (overflow || magnitude > 0xFFFFFFFFull)
        value = 0xFFFFFFFFu;
    else
        value = negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
    return {static_cast<std::size_t>(end - start) == text.size(), value};
}

void expect_same(result got, result want, const char *what, std::string_view s) {
    if (got.ok != want.ok || (got.ok && got.value != want.value)) finding(what, s);
}

void check_parse_ip(std::string_view s) {
    result r = run(parse_ip, s, "parse_ip returned other than 0 or 1");
    if (r.ok) {
        std::string printed = format_ip(r.value);
        uint32_t again = ~r.value;
        if (parse_ip(printed, &again) != 1 || again != r.value)
            finding("format_ip printed what does not parse back", printed);
    }
    if (scanf_defined(s))
        expect_same(r, reference_ip(std::string(s)), "parse_ip differs from sscanf", s);
}

void check_parse_bits(std::string_view s) {
    result r = run(parse_bits, s, "parse_bits returned other than 0 or 1");
    if (r.ok && !is_prefix_mask(r.value)) finding("parse_bits gave no prefix mask", s);
    if (scanf_defined(s))
        expect_same(r, reference_bits(std::string(s)), "parse_bits differs from sscanf", s);
}

void check_parse_mask(std::string_view s) {
    result r = run(parse_mask, s, "parse_mask returned other than 0 or 1");
    if (r.ok && !is_prefix_mask(r.value)) finding("parse_mask gave no prefix mask", s);
    uint32_t ip = 0, bits = 0;
    bool as_ip = parse_ip(s, &ip) == 1 && is_prefix_mask(ip);
    bool as_bits = parse_bits(s, &bits) == 1;
    if (as_ip && as_bits) finding("a text is both a dotted quad and a number of bits", s);
    result want{as_ip || as_bits, as_ip ? ip : bits};
    expect_same(r, want, "parse_mask is not parse_ip or parse_bits restricted to prefix masks", s);
}

void check_parse_ul(std::string_view s) {
    result want = reference_ul(s);
    for (uint32_t preset : {0x5A5A5A5Au, 0xA5A5A5A5u}) {
        uint32_t v = preset;
        int r = parse_ul(s, &v);
        if (r != (want.ok ? 1 : 0)) finding("parse_ul accepts differently from strtoul", s);
        if (v != want.value) finding("parse_ul stored another value than strtoul gives", s);
    }
}

void check_parse_bool(std::string_view s) {
    int8_t v = 42;
    int r = parse_bool(s, &v);
    bool want = s.size() == 1 && (s[0] == '0' || s[0] == '1');
    if (r != (want ? 1 : 0)) finding("parse_bool accepts other than exactly 0 or 1", s);
    if (v != (want ? s[0] - '0' : 42)) finding("parse_bool stored a wrong value", s);
}

// The file reader copies what this validator accepts into a name of 16
// bytes, and the writer puts it on a line of its own.
void check_ifacename_fits(std::string_view s) {
    if (check_ifacename(s) != 0) return;
    if (s.size() >= sizeof(options::config_iface))
        finding("check_ifacename accepted a name that the record cannot hold", s);
    for (char c : s)
        if (c <= ' ' || c > '~') finding("check_ifacename accepted a byte that is no text", s);
}

void check_formatters(const uint8_t *data, std::size_t size) {
    if (size < 4) return;
    uint32_t x = static_cast<uint32_t>(data[0]) << 24 | static_cast<uint32_t>(data[1]) << 16 |
                 static_cast<uint32_t>(data[2]) << 8 | data[3];
    uint32_t back = ~x;
    std::string text = format_ip(x);
    if (parse_ip(text, &back) != 1 || back != x) finding("format_ip does not parse back", text);
    back = ~x;
    text = format_ul(x);
    if (parse_ul(text, &back) != 1 || back != x) finding("format_ul does not parse back", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    std::string_view s(reinterpret_cast<const char *>(data), size);
    check_parse_ip(s);
    check_parse_bits(s);
    check_parse_mask(s);
    check_parse_ul(s);
    check_parse_bool(s);
    check_ifacename_fits(s);
    check_formatters(data, size);
    return 0;
}
