// Line input, the three prompts, and escaped output of outside bytes.
#include "console/prompt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "console/escape.h"
#include "console/io.h"
#include "test_support.h"

using namespace std::literals;

namespace {

const char *const too_long = "Too long line.  Try again.\n";

std::string escaped(const char *fmt, std::initializer_list<std::string_view> args) {
    console_capture con;
    print_escaped(io.out, fmt, args);
    return con.out();
}

}  // namespace

TEST(MyGets, TakesTheLongestLineThatFitsAndRefusesOneMore) {
    std::string fits(254, 'a'), over(255, 'b');
    console_capture con(fits + "\n" + over + "\nnext\n");
    char s[256];
    EXPECT_EQ(my_gets(s, sizeof s), 254u);
    EXPECT_EQ(std::string(s), fits);
    // The refused line is discarded; the next line is the answer, unasked.
    EXPECT_EQ(my_gets(s, sizeof s), 4u);
    EXPECT_STREQ(s, "next");
    EXPECT_EQ(con.out(), too_long);
}

TEST(MyGets, SmallBufferTakesEighteenCharacters) {
    console_capture con(std::string(18, 'y') + "\n" + std::string(19, 'n') + "\nno\n");
    char s[20];
    EXPECT_EQ(my_gets(s, sizeof s), 18u);
    EXPECT_EQ(my_gets(s, sizeof s), 2u);
    EXPECT_EQ(con.out(), too_long);
}

TEST(MyGetsDeathTest, AReadErrorCountsAsEndOfInput) {
    char s[256];
    EXPECT_EXIT(
        {
            io.in = std::fopen("/dev/null", "w");  // reading it fails
            io.out = stderr;
            my_gets(s, sizeof s);
        },
        testing::ExitedWithCode(1), "^\\* End of file reached");
    // A long last line without a line feed: refused, then end of input.
    EXPECT_EXIT(
        {
            static char line[300];
            std::memset(line, 'a', sizeof line);
            io.in = fmemopen(line, sizeof line, "r");
            io.out = stderr;
            my_gets(s, sizeof s);
        },
        testing::ExitedWithCode(1), "^Too long line\\.  Try again\\.\n\\* End of file");
}

TEST(MyGets, ANulByteIsPartOfTheLine) {
    console_capture con("ab\0cd\nnext\n"sv);
    char s[256];
    EXPECT_EQ(my_gets(s, sizeof s), 5u);
    EXPECT_EQ(std::string_view(s, 5), "ab\0cd"sv);
    EXPECT_EQ(my_gets(s, sizeof s), 4u);
    EXPECT_EQ(con.out(), "");
}

TEST(MyGetsDeathTest, EndOfInputEndsTheRunWithStatusOne) {
    // The child's screen goes to its standard error, which the death test
    // matches; for a last line without a line feed the refusal comes first.
    const char *const eof_screen = "^\\* End of file reached\\.  Your changes are lost\\. \\*\n$";
    const char *const partial_screen =
        "^Too long line\\.  Try again\\.\n\\* End of file reached\\.  Your changes are "
        "lost\\. \\*\n$";
    char s[256];
    static char yes[] = "yes";
    for (auto [input, screen] :
         {std::pair{static_cast<char *>(nullptr), eof_screen}, std::pair{yes, partial_screen}}) {
        EXPECT_EXIT(
            {
                io.in = input ? fmemopen(input, 3, "r") : std::fopen("/dev/null", "r");
                io.out = stderr;
                my_gets(s, sizeof s);
            },
            testing::ExitedWithCode(1), screen);
    }
}

TEST(PromptBool, AcceptsPrefixesOfYesAndNoInAnyCase) {
    struct bool_case {
        const char *answer;
        int8_t start;
        int8_t result;
    };
    for (const bool_case &c : {bool_case{"Y", 0, 1},
                               {"yE", 0, 1},
                               {"YES", 0, 1},
                               {"N", 1, 0},
                               {"nO", 1, 0},
                               {"", 1, 1},
                               {"", 0, 0}}) {
        console_capture con(std::string(c.answer) + "\n");
        int8_t b = c.start;
        prompt_bool("  Q?", &b);
        EXPECT_EQ(b, c.result) << c.answer;
        EXPECT_EQ(con.out(), c.start ? "  Q? (y/n) [y] " : "  Q? (y/n) [n] ");
    }
}

TEST(PromptBool, RefusesAnythingElseAndAsksAgain) {
    for (std::string_view bad : {"yess"sv, "nope"sv, "ja"sv, " y"sv, "y "sv, "y\0"sv}) {
        console_capture con(std::string(bad) + "\ny\n");
        int8_t b = 0;
        prompt_bool("  Q?", &b);
        EXPECT_EQ(b, 1);
        EXPECT_EQ(con.out(), "  Q? (y/n) [n] * Bad input *\n  Q? (y/n) [n] ") << bad;
    }
}

TEST(PromptUl, KeepsTheDefaultOnAnEmptyAnswerAndRepeatsOnRefusal) {
    console_capture con("1.2.3\n\n");
    uint32_t ip = 0x0A000001;
    prompt_ul("  IP number [%s]: ", "* Bad IP number *", format_ip, parse_ip, &ip);
    EXPECT_EQ(ip, 0x0A000001u);
    EXPECT_EQ(con.out(), "  IP number [10.0.0.1]: * Bad IP number *\n  IP number [10.0.0.1]: ");
}

TEST(PromptUl, ShowsWhatARefusingParserLeftAsTheNextDefault) {
    console_capture con("2x\n\n");
    uint32_t mode = 1;
    prompt_ul("[%s]: ", "* Bad mode *", format_ul, parse_ul, &mode);
    EXPECT_EQ(mode, 2u);
    EXPECT_EQ(con.out(), "[1]: * Bad mode *\n[2]: ");
}

TEST(PromptString, StoresLettersAndDigitsShorterThanTheArray) {
    char name[16] = "eth0";
    console_capture con("eth1\n" + std::string(15, 'a') + "\n");
    prompt_string("[%s]: ", "device name", name, sizeof name);
    EXPECT_STREQ(name, "eth1");
    prompt_string("[%s]: ", "device name", name, sizeof name);
    EXPECT_EQ(std::string(name), std::string(15, 'a'));
    EXPECT_EQ(con.out(), "[eth0]: [eth1]: ");
}

TEST(PromptString, RefusesInOrderEmptyThenCharactersThenLength) {
    char password[64] = "";
    std::string too_long_and_bad = std::string(70, 'a') + "-";
    console_capture con("\n" + too_long_and_bad + "\n" + std::string(64, 'b') + "\nabc1\n");
    prompt_string("Password [%s]: ", "password", password, sizeof password);
    EXPECT_STREQ(password, "abc1");
    EXPECT_EQ(con.out(),
              "Password []: * You have to give a password *\n"
              "Password []: * Invalid character in password: '-' *\n"
              "Password []: * Too long password *\n"
              "Password []: ");
}

TEST(PromptString, ShowsControlBytesEscapedAndKeepsTheOldValue) {
    char name[16] = "eth0";
    console_capture con("eth0:1\n\x1b[A\neth0\0\n\t\n\xe5\n\x9b\n\n"sv);
    prompt_string("[%s]: ", "device name", name, sizeof name);
    EXPECT_STREQ(name, "eth0");
    EXPECT_EQ(con.out(),
              "[eth0]: * Invalid character in device name: ':' *\n"
              "[eth0]: * Invalid character in device name: '\\x1b' *\n"
              "[eth0]: * Invalid character in device name: '\\x00' *\n"
              "[eth0]: * Invalid character in device name: '\t' *\n"
              "[eth0]: * Invalid character in device name: '\xe5' *\n"
              "[eth0]: * Invalid character in device name: '\\x9b' *\n"
              "[eth0]: ");
}

TEST(PrintEscaped, EscapesExactlyTheControlBytes) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    std::string expected;
    for (int c = 0; c < 256; ++c) {
        bool control = (c <= 0x1F && c != '\t') || (c >= 0x7F && c <= 0x9F);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        expected += control ? std::string(hex) : std::string(1, static_cast<char>(c));
    }
    EXPECT_EQ(escaped("<%s>", {all}), "<" + expected + ">");
    EXPECT_EQ(escaped("'%c' in %s\n", {"\x7f", "x"}), "'\\x7f' in x\n");
    // Text longer than the collecting buffer, a lone '%', and a conversion
    // without an argument all come out whole.
    EXPECT_EQ(escaped("%s", {std::string(3000, '\x1b')}).size(), 12000u);
    EXPECT_EQ(escaped("100% %s %s", {"x"}), "100% x %s");
}
