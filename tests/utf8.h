// UTF-8 for the terminal test and the fuzz harnesses, by the C library's
// iconv: not by a second copy of the program's own conversion, which is
// what they check.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace utf8_detail {

inline iconv_t open(const char *tocode, const char *fromcode) {
    iconv_t cd = iconv_open(tocode, fromcode);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::perror("iconv_open");
        std::abort();
    }
    return cd;
}

// from through cd, appended to *to, up to a byte that begins no valid
// character; returns the length of from converted.
inline std::size_t convert(iconv_t cd, std::string_view from, std::string *to) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *in = const_cast<char *>(from.data());  // only read
    std::size_t left = from.size();
    while (left > 0) {
        char buf[4096];
        char *out = buf;
        std::size_t room = sizeof buf;
        std::size_t done = iconv(cd, &in, &left, &out, &room);
        to->append(buf, static_cast<std::size_t>(out - buf));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    return from.size() - left;
}

}  // namespace utf8_detail

// ISO-8859-1 text, such as the end-to-end cases hold, in UTF-8.
inline std::string latin1_to_utf8(std::string_view text) {
    static iconv_t cd = utf8_detail::open("UTF-8", "ISO-8859-1");
    std::string s;
    utf8_detail::convert(cd, text, &s);
    return s;
}

// The length of the UTF-8 that text begins with: up to a stray or missing
// continuation byte, an overlong form, a surrogate or a code point past
// U+10FFFF.
inline std::size_t utf8_prefix(std::string_view text) {
    static iconv_t cd = utf8_detail::open("UTF-32LE", "UTF-8");
    std::string code_points;
    return utf8_detail::convert(cd, text, &code_points);
}
