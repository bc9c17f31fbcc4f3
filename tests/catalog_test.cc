// The two catalogs side by side: complete, with the same conversions in the
// same order, and the Swedish one in single-byte ISO-8859-1.
#include "catalog.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "latin1.h"

// Each language unit's definitions land in a namespace of their own here, so
// that both catalogs can be compared in one program.
namespace en {
#include "../lang/en.cc"
}
namespace sv {
#include "../lang/sv.cc"
}

namespace {

constexpr std::size_t entries = sizeof(catalog) / sizeof(const char *);
static_assert(sizeof(catalog) == entries * sizeof(const char *), "entries are all texts");

std::array<const char *, entries> texts_of(const catalog &c) {
    std::array<const char *, entries> t;
    std::memcpy(t.data(), &c, sizeof c);
    return t;
}

// The conversions of a format ("%s", "%lu", ...), in order.
std::string conversions(const char *text) {
    std::string found;
    for (const char *p = text; *p; ++p) {
        if (*p != '%') continue;
        found += '%';
        while (*++p && !std::strchr("sdcul%", *p)) found += *p;
        while (*p == 'l') found += *p++;
        if (*p == '\0') break;
        found += *p;
    }
    return found;
}

bool has_utf8_sequence(const char *text) {
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p)
        if (p[0] >= 0xC2 && p[0] <= 0xF4 && p[1] >= 0x80 && p[1] <= 0xBF) return true;
    return false;
}

}  // namespace

TEST(Catalog, EveryEntryIsDefinedInBothLanguages) {
    auto e = texts_of(en::msg), s = texts_of(sv::msg);
    for (std::size_t i = 0; i < entries; ++i) {
        ASSERT_NE(e[i], nullptr) << "English entry " << i;
        ASSERT_NE(s[i], nullptr) << "Swedish entry " << i;
    }
}

TEST(Catalog, FormatsHaveTheSameConversionsInTheSameOrder) {
    auto e = texts_of(en::msg), s = texts_of(sv::msg);
    for (std::size_t i = 0; i < entries; ++i)
        EXPECT_EQ(conversions(e[i]), conversions(s[i])) << e[i] << "\n" << s[i];
    EXPECT_EQ(conversions(en::msg.banner), "%d%d");
    EXPECT_EQ(conversions(en::msg.invalid_char), "%s%c");
    EXPECT_EQ(conversions(en::msg.file_unknown_version), "%lu");
}

TEST(Catalog, EnglishIsAsciiAndSwedishIsSingleByteLatin1) {
    for (const char *t : texts_of(en::msg))
        for (const char *p = t; *p; ++p) EXPECT_LT(static_cast<unsigned char>(*p), 0x80) << t;
    std::string all;
    for (const char *t : texts_of(sv::msg)) {
        EXPECT_FALSE(has_utf8_sequence(t)) << t;
        all += t;
    }
    // The texts themselves are pinned by the end-to-end cases; here only that
    // the letters are there, each as its one byte.
    for (char letter : {'\xe5', '\xe4', '\xf6'})
        EXPECT_NE(all.find(letter), std::string::npos) << (letter & 0xFF);
}

TEST(Catalog, WordsOfEachLanguageBeginWithDifferentLetters) {
    for (const catalog *c : {&en::msg, &sv::msg}) {
        EXPECT_NE(c->yes_word[0], c->no_word[0]);
        EXPECT_NE(c->yes_word[0], c->abort_word[0]);
        EXPECT_NE(c->no_word[0], c->abort_word[0]);
        EXPECT_EQ(c->yes_letter[0], c->yes_word[0]);
        EXPECT_EQ(c->no_letter[0], c->no_word[0]);
    }
}

TEST(Latin1, ConvertsEachLetterToOneByte) {
    EXPECT_STREQ("åäöÅÖé"_l1, "\xe5\xe4\xf6\xc5\xd6\xe9");
    EXPECT_EQ(std::strlen("Nätmask"_l1), 7u);
}
