// The three kinds of question: each shows the current value as its default,
// keeps it on an empty answer, and asks again until the answer is acceptable.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/parse.h"

// A 32-bit value shown by formatter and read by parser. p holds one %s for
// the default; errorprompt is printed on a line of its own on a refusal.
void prompt_ul(const char *p, const char *errorprompt, formatter_fn formatter, parser_fn parser,
               uint32_t *data);

// A yes/no flag; the build's yes/no hint and default letter follow prompt.
void prompt_bool(const char *prompt, int8_t *b);

// A non-empty word of ASCII letters and digits, shorter than len, in data.
// type names the value in refusals.
void prompt_string(const char *prompt, const char *type, char *data, int len);

// True when line is a non-empty prefix of word, ASCII letters compared
// without regard to case and every other byte exactly.
bool matches_word(std::string_view line, const char *word);
