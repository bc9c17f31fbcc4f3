// Text forms of the configuration values: IP numbers and netmasks in dotted
// form, netmasks as a number of bits, unsigned numbers and 0/1 flags.
//
// Every parser takes the whole text (a NUL in it is an ordinary character),
// returns 1 when it accepts the text and 0 when not, and stores the value
// only when it accepts, except parse_ul, which always stores.
#pragma once

#include <cstdint>
#include <string_view>

using formatter_fn = const char *(*)(uint32_t);
using parser_fn = int (*)(std::string_view, uint32_t *);

int parse_ip(std::string_view s, uint32_t *pip);    // a.b.c.d, each part 0 to 255
int parse_bits(std::string_view s, uint32_t *pip);  // 0 to 32, stored as the prefix mask
int parse_mask(std::string_view s, uint32_t *pip);  // a prefix mask, dotted or in bits
int parse_ul(std::string_view s, uint32_t *pint);   // as a 32-bit strtoul in base 10
int parse_bool(std::string_view s, int8_t *truth);  // exactly "0" or "1"

// Each returns its text in a static buffer that its next call overwrites.
const char *format_ip(uint32_t ip);
const char *format_ul(uint32_t ul);
