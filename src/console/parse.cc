// Parsers and formatters of value text.
//
// The parsers follow the rules of the formatted-input patterns "%d.%d.%d.%d%s"
// and "%d%s", but scan the text themselves: the library's conversion of a
// number too large for an int is undefined, and here such a number is simply
// out of range.
#include "console/parse.h"

#include <cstdio>

#include "console/ascii.h"

namespace {

struct scanner {
    std::string_view s;
    std::size_t pos = 0;

    bool at_end() const { return pos == s.size(); }
    void skip_space() {
        while (!at_end() && is_space(s[pos])) ++pos;
    }
    bool take(char c) {
        if (at_end() || s[pos] != c) return false;
        ++pos;
        return true;
    }
    // Only white space is left: a "%s" after the numbers would assign nothing.
    bool rest_is_space() {
        skip_space();
        return at_end();
    }

    // A "%d" conversion: white space, an optional sign, one or more digits.
    // Returns false when no number is there. *value gets the number taken as
    // an unsigned 32-bit value if it is at most limit, or limit + 1 when it is
    // larger, negative, or too large for 32 bits.
    bool number(uint32_t limit, uint32_t *value) {
        skip_space();
        bool negative = false;
        if (!at_end() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
        if (at_end() || !is_digit(s[pos])) return false;
        uint64_t magnitude = 0;
        while (!at_end() && is_digit(s[pos])) {
            magnitude = magnitude * 10 + static_cast<uint64_t>(s[pos++] - '0');
            if (magnitude > limit) magnitude = uint64_t{limit} + 1;  // saturate, keep scanning
        }
        if (negative && magnitude != 0) magnitude = uint64_t{limit} + 1;
        *value = static_cast<uint32_t>(magnitude);
        return true;
    }
};

// The prefix mask with the given number of one bits, 0 to 32.
uint32_t prefix_mask(unsigned bits) {
    return bits == 0 ? 0 : 0xFFFFFFFFu << (32 - bits);
}

}  // namespace

int parse_ip(std::string_view s, uint32_t *pip) {
    scanner in{s};
    uint32_t ip = 0;
    for (int part = 0; part < 4; ++part) {
        uint32_t d;
        if (part > 0 && !in.take('.')) return 0;
        if (!in.number(255, &d) || d > 255) return 0;
        ip = ip << 8 | d;
    }
    if (!in.rest_is_space()) return 0;
    *pip = ip;
    return 1;
}

int parse_bits(std::string_view s, uint32_t *pip) {
    scanner in{s};
    uint32_t bits;
    if (!in.number(32, &bits) || bits > 32 || !in.rest_is_space()) return 0;
    *pip = prefix_mask(bits);
    return 1;
}

int parse_mask(std::string_view s, uint32_t *pip) {
    uint32_t ip;
    if (!parse_ip(s, &ip) && !parse_bits(s, &ip)) return 0;
    for (unsigned i = 0; i <= 32; ++i) {
        if (ip == prefix_mask(i)) {
            *pip = ip;
            return 1;
        }
    }
    return 0;
}

int parse_ul(std::string_view s, uint32_t *pint) {
    scanner in{s};
    in.skip_space();
    bool negative = false;
    if (!in.at_end() && (s[in.pos] == '+' || s[in.pos] == '-')) negative = s[in.pos++] == '-';
    if (in.at_end() || !is_digit(s[in.pos])) {
        *pint = 0;  // no number: the conversion gives 0 and stops at the start
        return 0;
    }
    uint64_t magnitude = 0;
    bool overflow = false;
    while (!in.at_end() && is_digit(s[in.pos])) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(s[in.pos++] - '0');
        if (magnitude > 0xFFFFFFFFu) {
            overflow = true;
            magnitude = 0xFFFFFFFFu;
        }
    }
    // Out of range gives the largest value whatever the sign; otherwise a
    // minus negates modulo 2^32, as strtoul does.
    auto value = static_cast<uint32_t>(magnitude);
    if (negative && !overflow) value = 0u - value;
    *pint = value;
    return in.at_end() ? 1 : 0;
}

int parse_bool(std::string_view s, int8_t *truth) {
    if (s.size() != 1 || (s[0] != '0' && s[0] != '1')) return 0;
    *truth = static_cast<int8_t>(s[0] - '0');
    return 1;
}

const char *format_ip(uint32_t ip) {
    static char s[64];
    std::snprintf(s, sizeof s, "%d.%d.%d.%d", static_cast<int>(ip >> 24 & 0xFF),
                  static_cast<int>(ip >> 16 & 0xFF), static_cast<int>(ip >> 8 & 0xFF),
                  static_cast<int>(ip & 0xFF));
    return s;
}

const char *format_ul(uint32_t ul) {
    static char s[64];
    std::snprintf(s, sizeof s, "%lu", static_cast<unsigned long>(ul));
    return s;
}
