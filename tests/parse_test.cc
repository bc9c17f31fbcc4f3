// Value text: every input has a defined result, and what is printed parses back.
#include "console/parse.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::literals;

namespace {

constexpr uint32_t untouched = 0xDEADBEEF;

struct accepted {
    std::string_view text;
    uint32_t value;
};

void expect_accepted(parser_fn parse, const accepted &c) {
    uint32_t v = untouched;
    EXPECT_EQ(parse(c.text, &v), 1) << '"' << c.text << '"';
    EXPECT_EQ(v, c.value) << '"' << c.text << '"';
}

void expect_refused(parser_fn parse, std::string_view text) {
    uint32_t v = untouched;
    EXPECT_EQ(parse(text, &v), 0) << '"' << text << '"';
    EXPECT_EQ(v, untouched) << "stored on refusing \"" << text << '"';
}

}  // namespace

TEST(ParseIp, AcceptsDottedQuadsWithLeadingBlanksSignsAndZeros) {
    for (const accepted &c : {
             accepted{"255.255.255.255", 0xFFFFFFFF},
             {"0.0.0.0", 0},
             {"192.168.1.1", 0xC0A80101},
             {"1.2.3.4 ", 0x01020304},
             {" 1.2.3.4", 0x01020304},
             {" \v\f\r1.2.3.4", 0x01020304},
             {"1. 2. 3. 4", 0x01020304},
             {"+1.2.3.4", 0x01020304},
             {"01.02.03.010", 0x0102030A},
             {"1.2.3.4\t\n", 0x01020304},
             {"1.2.3.-0", 0x01020300},
             {"00000000000000000001.2.3.4", 0x01020304},
         })
        expect_accepted(parse_ip, c);
}

TEST(ParseIp, RefusesMalformedAndOutOfRangeParts) {
    for (std::string_view text : {
             "1.2.3"sv,
             "1.2.3."sv,
             "1.2.3.4x"sv,
             "1.2.3.4 x"sv,
             "1.2.3.4.5"sv,
             "1.2.3.4/24"sv,
             "256.0.0.0"sv,
             "1.2.3.-4"sv,
             "1 .2.3.4"sv,
             "1.2.3. 4x"sv,
             ""sv,
             "   "sv,
             "-"sv,
             "a.b.c.d"sv,
             "1..2.3"sv,
             "1,2.3.4"sv,
             "1 2 3 4"sv,
             "+-1.2.3.4"sv,
             // Too large for 32 bits: out of range, never wrapped round to 1.
             "4294967297.0.0.0"sv,
             "99999999999999999999.0.0.0"sv,
             "1.2.3.4294967552"sv,
             // A NUL is an ordinary character, not the end of the text.
             "1.2.3.4\0"sv,
             "1.2.3.4\0junk"sv,
             "1.2\0.3.4"sv,
         })
        expect_refused(parse_ip, text);
}

TEST(ParseBits, AcceptsZeroToThirtyTwoAsPrefixMasks) {
    for (const accepted &c : {
             accepted{"24", 0xFFFFFF00},
             {"32", 0xFFFFFFFF},
             {"1", 0x80000000},
             {"0", 0},
             {" 24 ", 0xFFFFFF00},
             {"+8", 0xFF000000},
         })
        expect_accepted(parse_bits, c);
    for (std::string_view text : {"33"sv, "-1"sv, "99999999999"sv, "4294967320"sv, "/24"sv, "24x"sv,
                                  "2 4"sv, ""sv, "24\0"sv})
        expect_refused(parse_bits, text);
}

TEST(ParseMask, AcceptsOnlyContiguousMasksInEitherForm) {
    for (const accepted &c : {
             accepted{"255.255.255.0", 0xFFFFFF00},
             {"24", 0xFFFFFF00},
             {"0.0.0.0", 0},
             {"0", 0},
             {"255.255.255.255", 0xFFFFFFFF},
             {"128.0.0.0", 0x80000000},
         })
        expect_accepted(parse_mask, c);
    for (std::string_view text :
         {"255.0.255.0"sv, "0.255.255.255"sv, "255.255.255.1"sv, "/24"sv, "33"sv, "1.2.3"sv})
        expect_refused(parse_mask, text);
}

TEST(ParseUl, BehavesAsA32BitStrtoulAndAlwaysStores) {
    struct ul_case {
        std::string_view text;
        int result;
        uint32_t stored;
    };
    for (const ul_case &c : {
             ul_case{"3", 1, 3},
             {" 3", 1, 3},
             {"0", 1, 0},
             {"+7", 1, 7},
             {"4294967295", 1, 4294967295u},
             {"4294967296", 1, 4294967295u},  // saturates, never wraps to 0
             {"99999999999999999999999", 1, 4294967295u},
             {"-1", 1, 4294967295u},
             {"-4294967295", 1, 1},
             {"-4294967296", 1, 4294967295u},
             {"3 ", 0, 3},
             {"3x", 0, 3},
             {"2\0"sv, 0, 2},
             {"x", 0, 0},
             {"", 0, 0},
             {"-", 0, 0},
             {" ", 0, 0},
         }) {
        uint32_t v = untouched;
        EXPECT_EQ(parse_ul(c.text, &v), c.result) << '"' << c.text << '"';
        EXPECT_EQ(v, c.stored) << '"' << c.text << '"';
    }
}

TEST(ParseBool, AcceptsExactlyZeroAndOne) {
    int8_t b = 7;
    EXPECT_EQ(parse_bool("0", &b), 1);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(parse_bool("1", &b), 1);
    EXPECT_EQ(b, 1);
    for (std::string_view text : {"2"sv, "01"sv, " 1"sv, "1 "sv, "yes"sv, ""sv, "1\0"sv}) {
        b = 7;
        EXPECT_EQ(parse_bool(text, &b), 0) << '"' << text << '"';
        EXPECT_EQ(b, 7);
    }
}

TEST(Format, WritesPlainDecimal) {
    EXPECT_STREQ(format_ip(0xC0A80101), "192.168.1.1");
    EXPECT_STREQ(format_ip(0), "0.0.0.0");
    EXPECT_STREQ(format_ip(0xFFFFFFFF), "255.255.255.255");
    EXPECT_STREQ(format_ul(4294967295u), "4294967295");
    EXPECT_STREQ(format_ul(0), "0");
}

TEST(Format, EveryValueParsesBackToItself) {
    std::mt19937 rng(20261207);
    std::vector<uint32_t> values = {0,          1,          255,        256,        0x7FFFFFFF,
                                    0x80000000, 0xFFFFFFFE, 0xFFFFFFFF, 0x00FF00FF, 0xFF00FF00};
    for (int i = 0; i < 200000; ++i) values.push_back(static_cast<uint32_t>(rng()));
    for (uint32_t x : values) {
        uint32_t ip = ~x, ul = ~x;
        ASSERT_EQ(parse_ip(format_ip(x), &ip), 1) << x;
        ASSERT_EQ(ip, x);
        ASSERT_EQ(parse_ul(format_ul(x), &ul), 1) << x;
        ASSERT_EQ(ul, x);
    }
}
