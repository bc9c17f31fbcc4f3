// Turns UTF-8 string literals into ISO-8859-1 at compile time, so that the
// Swedish catalog can be read and checked as ordinary text while the program
// writes each of å, ä, ö, Å and Ö as the single byte the appliance expects.
// A character outside ISO-8859-1, or malformed UTF-8, stops the build.
#pragma once

#include <array>
#include <cstddef>

namespace latin1 {

template <std::size_t N>
struct utf8_literal {
    char bytes[N];
    consteval utf8_literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
    }
};

// Calls to this are not constant expressions, so reaching it fails the build.
inline void not_latin1() {}

// The code point of the character starting at bytes[i]; advances i past it.
template <std::size_t N>
consteval unsigned decode(const utf8_literal<N> &t, std::size_t &i) {
    unsigned lead = static_cast<unsigned char>(t.bytes[i++]);
    if (lead < 0x80) return lead;
    // Two-byte sequences C2 80 to C3 BF are exactly U+0080 to U+00FF.
    if ((lead == 0xC2 || lead == 0xC3) && i < N) {
        unsigned next = static_cast<unsigned char>(t.bytes[i++]);
        if ((next & 0xC0) == 0x80) return ((lead & 0x1F) << 6) | (next & 0x3F);
    }
    not_latin1();
    return 0;
}

template <std::size_t N>
consteval std::size_t length(const utf8_literal<N> &t) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < N;) {
        decode(t, i);
        ++n;
    }
    return n;
}

template <utf8_literal T>
consteval auto convert() {
    std::array<char, length(T)> out{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < sizeof T.bytes;) out[n++] = static_cast<char>(decode(T, i));
    return out;
}

template <utf8_literal T>
inline constexpr auto text = convert<T>();

}  // namespace latin1

// "Nätmask"_l1 is the NUL-terminated ISO-8859-1 text, in static storage.
template <latin1::utf8_literal T>
constexpr const char *operator""_l1() {
    return latin1::text<T>.data();
}
