// The console's codeset, and escaped output of outside bytes.
#include "console/print.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "console/ascii.h"
#include "console/io.h"

namespace {

// A locale name is language[_territory][.codeset][@modifier], or a codeset
// alone, as some terminals send it over ssh (LC_CTYPE=UTF-8); C and POSIX
// are no codeset of that kind.
bool utf8_name(std::string_view name) {
    std::size_t at = name.find('@');
    if (at != std::string_view::npos) name.remove_suffix(name.size() - at);
    std::size_t dot = name.find('.');
    if (dot != std::string_view::npos) name.remove_prefix(dot + 1);  // the codeset
    return same_folded(name, "utf-8") || same_folded(name, "utf8");
}

// The length of the run of bytes below 0x80 that text begins with, which
// reads the same in UTF-8: eight bytes at a time, since most of what is
// printed is such text.
std::size_t ascii_run(std::string_view text) {
    std::size_t i = 0;
    for (; text.size() - i >= 8; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, text.data() + i, 8);
        uint64_t high = eight & 0x8080808080808080u;
        if (high == 0) continue;
        if constexpr (std::endian::native == std::endian::little)
            return i + static_cast<std::size_t>(std::countr_zero(high)) / 8;
        break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    return i;
}

bool is_control(unsigned char c) {
    return (c <= 0x1F && c != '\t') || (c >= 0x7F && c <= 0x9F);
}

// The length of the UTF-8 character of two to four bytes that s begins
// with, its code point in *cp; 0 when s begins with none. Overlong forms,
// surrogates and anything above U+10FFFF are no characters.
std::size_t utf8_character(std::string_view s, uint32_t *cp) {
    auto lead = static_cast<unsigned char>(s[0]);
    std::size_t n;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < n) return 0;
    uint32_t c = lead & (0x7Fu >> n);
    for (std::size_t i = 1; i < n; ++i) {
        auto next = static_cast<unsigned char>(s[i]);
        if (next < low || next > high) return 0;
        low = 0x80;
        high = 0xBF;
        c = c << 6 | (next & 0x3Fu);
    }
    *cp = c;
    return n;
}

// Collects what one call prints, so that it reaches an unbuffered standard
// error in one write, not byte by byte.
struct sink {
    FILE *f;
    char buf[print_capacity];  // not cleared: only what is put is written
    std::size_t n = 0;

    explicit sink(FILE *to) : f(to) {}

    void put_byte(unsigned char c) {
        if (n == sizeof buf) flush();
        buf[n++] = static_cast<char>(c);
    }
    void put_bytes(std::string_view bytes) {
        while (!bytes.empty()) {
            if (n == sizeof buf) flush();
            std::size_t k = std::min(bytes.size(), sizeof buf - n);
            std::memcpy(buf + n, bytes.data(), k);
            n += k;
            bytes.remove_prefix(k);
        }
    }
    // Text of ISO-8859-1, in the console's codeset: the runs that read the
    // same in UTF-8 as they are.
    void put_text(std::string_view text) {
        std::size_t run = io.utf8 ? ascii_run(text) : text.size();
        for (;;) {
            put_bytes(head(text, run));
            if (run == text.size()) return;
            put(static_cast<unsigned char>(text[run]));
            text.remove_prefix(run + 1);
            run = ascii_run(text);
        }
    }
    // A character of ISO-8859-1, in the console's codeset.
    void put(unsigned char c) {
        if (c < 0x80 || !io.utf8) {
            put_byte(c);
            return;
        }
        put_byte(static_cast<unsigned char>(0xC0 | c >> 6));
        put_byte(static_cast<unsigned char>(0x80 | (c & 0x3F)));
    }
    void put_safe(unsigned char c) {
        if (!is_control(c)) {
            put(c);
            return;
        }
        static const char hex[] = "0123456789abcdef";
        put_byte('\\');
        put_byte('x');
        put_byte(static_cast<unsigned char>(hex[c >> 4]));
        put_byte(static_cast<unsigned char>(hex[c & 0xF]));
    }
    // The character typed at the start of s: see print_escaped.
    void put_typed(std::string_view s) {
        if (s.empty()) return;
        uint32_t cp = 0;
        std::size_t len = io.utf8 ? utf8_character(s, &cp) : 0;
        if (len == 0) {
            put_safe(static_cast<unsigned char>(s[0]));
        } else if (cp < 0x100) {
            // One of ISO-8859-1, and so shown, or escaped, as any other.
            put_safe(static_cast<unsigned char>(cp));
        } else {
            put_bytes(head(s, len));
        }
    }
    // A number in decimal, right-aligned in width columns.
    void put_number(unsigned long number, std::size_t width) {
        char digits[24];
        std::size_t k = sizeof digits;
        do {
            digits[--k] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        for (std::size_t w = sizeof digits - k; w < width; ++w) put_byte(' ');
        put_bytes(std::string_view(digits + k, sizeof digits - k));
    }
    void flush() {
        std::fwrite(buf, 1, n, f);
        n = 0;
    }
};

}  // namespace

bool names_utf8(const char *lc_all, const char *lc_ctype, const char *lang) {
    for (const char *name : {lc_all, lc_ctype, lang})
        if (name != nullptr && *name != '\0') return utf8_name(name);
    return false;  // the C locale
}

void print_text(FILE *f, std::string_view text) {
    if (!io.utf8) {
        std::fwrite(text.data(), 1, text.size(), f);
        return;
    }
    sink out(f);
    out.put_text(text);
    out.flush();
}

void print_escaped(FILE *f, const char *fmt, std::initializer_list<print_arg> args) {
    sink out(f);
    const print_arg *arg = args.begin();
    std::string_view rest = fmt;
    for (;;) {
        std::size_t pct = std::min(rest.find('%'), rest.size());
        out.put_text(head(rest, pct));
        rest.remove_prefix(pct);
        if (rest.empty()) break;
        conversion c = conversion_at(rest);
        if (c.length == 0 || arg == args.end()) {
            out.put('%');
            rest.remove_prefix(1);
            continue;
        }
        const print_arg &a = *arg++;
        if (c.letter == 'c')
            out.put_typed(a.text);
        else if (c.letter == 's')
            for (char ch : a.text) out.put_safe(static_cast<unsigned char>(ch));
        else
            out.put_number(a.number, c.width);
        rest.remove_prefix(c.length);
    }
    out.flush();
}
