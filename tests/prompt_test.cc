// Line input, the three prompts, and escaped output of outside bytes.
#include "console/prompt.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalog.h"
#include "config/file.h"
#include "console/io.h"
#include "console/print.h"
#include "test_support.h"

using namespace std::literals;

namespace {

std::string escaped(const char *fmt, std::initializer_list<print_arg> args, bool utf8 = false) {
    console_capture con;
    io.utf8 = utf8;
    print_escaped(io.out, fmt, args);
    return con.out();
}

}  // namespace

TEST(MyGets, TakesTheLongestLineThatFitsAndRefusesOneMore) {
    // The buffers of the answers to a question and to a yes/no question.
    for (int size : {256, 20}) {
        std::string fits(size - 2, 'a'), over(size - 1, 'b');
        std::string input = fits + "\n";
        input += over + "\nnext\n";
        console_capture con(input);
        std::vector<char> s(size);  // exactly the size, so that the sanitizer sees an overrun
        EXPECT_EQ(my_gets(s.data(), size), fits.size());
        EXPECT_EQ(std::string(s.data()), fits);
        // The refused line is discarded; the next line is the answer, unasked.
        EXPECT_EQ(my_gets(s.data(), size), 4u);
        EXPECT_STREQ(s.data(), "next");
        EXPECT_EQ(con.out(), msg.too_long_line) << size;
    }
}

TEST(MyGets, ANulByteIsPartOfTheLine) {
    console_capture con("ab\0cd\nnext\n"sv);
    char s[256];
    EXPECT_EQ(my_gets(s, sizeof s), 5u);
    EXPECT_EQ(std::string_view(s, 5), "ab\0cd"sv);
    EXPECT_EQ(my_gets(s, sizeof s), 4u);
    EXPECT_EQ(con.out(), "");
}

TEST(MyGetsDeathTest, EndOfInputOrAReadErrorEndsTheRunWithStatusOne) {
    // The child's screen goes to a file, compared whole once it has ended: a
    // last line without a line feed, short or too long, is refused before the
    // end is reported.
    const std::string lost = msg.end_of_file, refused = msg.too_long_line + lost;
    static char yes[] = "yes";
    static char line[300];
    std::memset(line, 'a', sizeof line);
    struct end_case {
        const char *what;
        FILE *(*input)();
        const std::string &screen;
    };
    for (const end_case &c : {
             end_case{"no input", [] { return std::fopen("/dev/null", "r"); }, lost},
             {"read error", [] { return std::fopen("/dev/null", "w"); }, lost},
             {"short last line", [] { return fmemopen(yes, 3, "r"); }, refused},
             {"long last line", [] { return fmemopen(line, sizeof line, "r"); }, refused},
         }) {
        scratch_dir dir;
        char s[256];
        EXPECT_EXIT(
            {
                // A program that prints for ever is stopped at a megabyte.
                rlimit fsize;
                fsize.rlim_cur = fsize.rlim_max = output_limit;
                setrlimit(RLIMIT_FSIZE, &fsize);
                io.in = c.input();
                io.out = std::fopen("screen", "w");
                my_gets(s, sizeof s);
            },
            testing::ExitedWithCode(1), "")
            << c.what;
        EXPECT_EQ(read_file("screen"), c.screen) << c.what;
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
        EXPECT_EQ(con.out(), asked("  Q?", c.start));
    }
}

TEST(PromptBool, RefusesAnythingElseAndAsksAgain) {
    for (std::string_view bad : {"yess"sv, "nope"sv, "ja"sv, " y"sv, "y "sv, "y\0"sv}) {
        console_capture con(std::string(bad) + "\ny\n");
        int8_t b = 0;
        prompt_bool("  Q?", &b);
        EXPECT_EQ(b, 1);
        EXPECT_EQ(con.out(), asked("  Q?", false) + msg.bad_input + asked("  Q?", false)) << bad;
    }
}

TEST(PromptUl, KeepsTheDefaultOnAnEmptyAnswerAndRepeatsOnRefusal) {
    console_capture con("1.2.3\n\n");
    uint32_t ip = 0x0A000001;
    prompt_ul("  IP [%s]: ", "* Bad IP *", format_ip, parse_ip, &ip);  // the caller's texts
    EXPECT_EQ(ip, 0x0A000001u);
    EXPECT_EQ(con.out(), "  IP [10.0.0.1]: * Bad IP *\n  IP [10.0.0.1]: ");
}

TEST(PromptUl, ShowsWhatARefusingParserLeftAsTheNextDefault) {
    console_capture con("2x\n\n");
    uint32_t mode = 1;
    prompt_ul("[%s]: ", "* Bad mode *", format_ul, parse_ul, &mode);
    EXPECT_EQ(mode, 2u);
    EXPECT_EQ(con.out(), "[1]: * Bad mode *\n[2]: ");
}

TEST(PromptString, StoresLettersAndDigitsShorterThanTheArray) {
    struct {
        char name[16] = "eth0";
        char next = 'x';  // the longest answer must leave it alone
    } f;
    // Both ends of each range that is taken: a fault at a bound shows here.
    console_capture con("eth1\nazAZ09azAZ09azA\n");
    prompt_string("[%s]: ", "device name", f.name, sizeof f.name);
    EXPECT_STREQ(f.name, "eth1");
    prompt_string("[%s]: ", "device name", f.name, sizeof f.name);
    EXPECT_STREQ(f.name, "azAZ09azAZ09azA");
    EXPECT_EQ(f.next, 'x');
    EXPECT_EQ(con.out(), "[eth0]: [eth1]: ");
}

TEST(PromptString, RefusesInOrderEmptyThenCharactersThenLength) {
    char password[64] = "";
    std::string too_long_and_bad = std::string(70, 'a') + "-";
    console_capture con("\n" + too_long_and_bad + "\n" + std::string(64, 'b') + "\nabc1\n");
    prompt_string("Password [%s]: ", "password", password, sizeof password);
    EXPECT_STREQ(password, "abc1");
    const std::string p = "Password []: ";
    EXPECT_EQ(con.out(), p + expand(msg.must_give, {"password"}) + p +
                             expand(msg.invalid_char, {"password", "-"}) + p +
                             expand(msg.too_long, {"password"}) + p);
}

TEST(PromptString, ShowsTheCharacterRefusedAsTypedAndKeepsTheOldValue) {
    // What an answer holds from its bad byte on, and what the refusal shows
    // of it in the C locale and on a UTF-8 console: there the whole
    // character, if a valid one of two to four bytes begins there, else the
    // byte's ISO-8859-1 character; control characters escaped in any form.
    struct typed {
        std::string_view answer, c_locale, utf8;
    } const all[] = {
        {"eth0:1", ":", ":"},
        {"\x1b[A", "\\x1b", "\\x1b"},
        {"\0"sv, "\\x00", "\\x00"},
        {"\xc3\xa5", "\xc3", "\xc3\xa5"},                  // U+00E5, as typed
        {"\xe2\x82\xac!", "\xe2", "\xe2\x82\xac"},         // U+20AC
        {"\xf4\x8f\xbf\xbf", "\xf4", "\xf4\x8f\xbf\xbf"},  // U+10FFFF, the last
        {"\xe0\xa0\x80", "\xe0", "\xe0\xa0\x80"},          // U+0800, the first of three bytes
        {"\xef\xbf\xbd", "\xef", "\xef\xbf\xbd"},          // U+FFFD
        {"\xf0\x90\x80\x80", "\xf0", "\xf0\x90\x80\x80"},  // U+10000, the first of four
        {"\xf0\x9f\x98\x80", "\xf0", "\xf0\x9f\x98\x80"},  // U+1F600, an emoji
        {"\xe5", "\xe5", "\xc3\xa5"},                      // ISO-8859-1
        {"\xe2\x82", "\xe2", "\xc3\xa2"},                  // cut short
        {"\xc3(", "\xc3", "\xc3\x83"},                     // no continuation byte
        {"\xc3\xc0", "\xc3", "\xc3\x83"},                  // a second byte above BF
        {"\xe0\x9f\xbf", "\xe0", "\xc3\xa0"},              // overlong
        {"\xed\xa0\x80", "\xed", "\xc3\xad"},              // a surrogate
        {"\xf4\x90\x80\x80", "\xf4", "\xc3\xb4"},          // above U+10FFFF
        {"\xc2\x9b[A", "\xc2", "\\x9b"},                   // U+009B, a C1 control
    };
    for (bool utf8 : {false, true}) {
        std::string input, expected;
        for (const typed &t : all) {
            input += std::string(t.answer) + "\n";
            expected +=
                "[eth0]: " + expand(msg.invalid_char, {"device name", utf8 ? t.utf8 : t.c_locale});
        }
        console_capture con(input + "\n");
        io.utf8 = utf8;
        char name[16] = "eth0";
        prompt_string("[%s]: ", "device name", name, sizeof name);
        EXPECT_STREQ(name, "eth0");
        EXPECT_EQ(con.out(), expected + "[eth0]: ") << (utf8 ? "UTF-8" : "C");
    }
}

TEST(Print, ALocaleIsUtf8ByTheCodesetOfTheFirstVariableSetOfLcAllLcCtypeAndLang) {
    struct setting {
        const char *lc_all, *lc_ctype, *lang;
        bool utf8;
    };
    for (const setting &s : {
             setting{nullptr, nullptr, nullptr, false},
             {nullptr, nullptr, "sv_SE.utf8", true},
             {nullptr, nullptr, "sv_FI.uTf-8@euro", true},
             {nullptr, nullptr, "sv_SE.ISO-8859-1", false},
             {nullptr, nullptr, "sv_SE@utf8", false},
             {nullptr, "UTF-8", nullptr, true},  // a codeset alone, as a terminal may send it
             {nullptr, nullptr, "utf8", true},
             {nullptr, nullptr, "C", false},
             {nullptr, nullptr, "POSIX", false},
             {nullptr, "C.UTF-8", "C", true},
             {nullptr, "C", "C.UTF-8", false},
             {"C", "C.UTF-8", "C.UTF-8", false},
             {"xx_YY.UTF-8", "C", nullptr, true},  // no such locale: the name says UTF-8
             {"", "", "C.UTF-8", true},            // empty is not set
         }) {
        EXPECT_EQ(names_utf8(s.lc_all, s.lc_ctype, s.lang), s.utf8)
            << (s.lc_all ? s.lc_all : "-") << " " << (s.lc_ctype ? s.lc_ctype : "-") << " "
            << (s.lang ? s.lang : "-");
    }
}

TEST(PrintEscaped, EscapesExactlyTheControlBytesAndIsInTheConsolesCodeset) {
    struct byte_row {
        char byte;
        std::string_view c_locale, utf8;
    } const rows[] = {
        {'\x00', "\\x00", "\\x00"},
        {'\x08', "\\x08", "\\x08"},
        {'\t', "\t", "\t"},
        {'\n', "\\x0a", "\\x0a"},
        {'\x1f', "\\x1f", "\\x1f"},
        {' ', " ", " "},
        {'~', "~", "~"},
        {'\x7f', "\\x7f", "\\x7f"},
        {'\x80', "\\x80", "\\x80"},
        {'\x9f', "\\x9f", "\\x9f"},
        {'\xa0', "\xa0", "\xc2\xa0"},
        {'\xe5', "\xe5", "\xc3\xa5"},
        {'\xff', "\xff", "\xc3\xbf"},
    };
    for (bool utf8 : {false, true}) {
        for (const byte_row &r : rows) {
            std::string arg(1, r.byte);
            EXPECT_EQ(
                escaped("\xe5<%s>", {std::string_view(arg)}, utf8),
                (utf8 ? "\xc3\xa5<" : "\xe5<") + std::string(utf8 ? r.utf8 : r.c_locale) + ">")
                << "byte " << static_cast<int>(static_cast<unsigned char>(r.byte))
                << (utf8 ? " UTF-8" : "");
        }
    }
    EXPECT_EQ(escaped("'%c' in %s\n", {"\x7f", "x"}), "'\\x7f' in x\n");
    // Numbers, in a width or not; text longer than the collecting buffer, a
    // lone '%', and a conversion without an argument all come out whole.
    EXPECT_EQ(escaped("%d.%d|%4lu. |%lu|%2d", {3, 1, 2u, 4294967295u, 123}),
              "3.1|   2. |4294967295|123");
    EXPECT_EQ(escaped("%s", {std::string_view(std::string(3000, '\x1b'))}).size(), 12000u);
    EXPECT_EQ(escaped("100% %s %s %ls %4s", {"x"}), "100% x %s %ls %4s");
}

// The longest message, a line of the file with every byte escaped in a
// UTF-8 locale, reaches the unbuffered standard error in one write.
TEST(PrintEscaped, ALongestMessageIsOneWrite) {
    static int writes = 0;
    cookie_io_functions_t count = {};
    count.write = [](void *, const char *, std::size_t n) { return ++writes, ssize_t(n); };
    FILE *err = fopencookie(nullptr, "w", count);
    std::setvbuf(err, nullptr, _IONBF, 0);
    io.utf8 = true;
    const std::string line(max_line, '\x01');
    print_escaped(err, msg.file_unknown_parameter, {std::string_view(line)});
    std::fclose(err);
    io.utf8 = false;
    EXPECT_EQ(writes, 1);
}
