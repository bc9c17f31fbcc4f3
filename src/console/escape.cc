// Escaped output of outside bytes.
#include "console/escape.h"

namespace {

bool is_control(unsigned char c) {
    return (c <= 0x1F && c != '\t') || (c >= 0x7F && c <= 0x9F);
}

// Collects the message so that it reaches an unbuffered standard error in
// one write, not byte by byte.
struct sink {
    FILE *f;
    char buf[1024];
    std::size_t n = 0;

    void put(char c) {
        if (n == sizeof buf) flush();
        buf[n++] = c;
    }
    void put_safe(unsigned char c) {
        if (!is_control(c)) {
            put(static_cast<char>(c));
            return;
        }
        static const char hex[] = "0123456789abcdef";
        put('\\');
        put('x');
        put(hex[c >> 4]);
        put(hex[c & 0xF]);
    }
    void flush() {
        std::fwrite(buf, 1, n, f);
        n = 0;
    }
};

}  // namespace

void print_escaped(FILE *f, const char *fmt, std::initializer_list<std::string_view> args) {
    sink out{f, {}};
    const std::string_view *arg = args.begin();
    for (const char *p = fmt; *p != '\0'; ++p) {
        if (*p != '%' || (p[1] != 's' && p[1] != 'c') || arg == args.end()) {
            out.put(*p);
            continue;
        }
        std::string_view a = *arg++;
        if (*++p == 'c') a = a.substr(0, 1);
        for (char c : a) out.put_safe(static_cast<unsigned char>(c));
    }
    out.flush();
}
