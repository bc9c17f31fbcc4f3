// Folding a paragraph to a width.
#include "console/fold.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

std::string folded(const char *text, int current_col, int left_margin, int width) {
    console_capture con;
    print_folded(text, current_col, left_margin, width);
    return con.out();
}

}  // namespace

TEST(PrintFolded, BreaksBeforeAWordThatWouldPassTheWidth) {
    EXPECT_EQ(folded("aaa bbb ccc", 0, 2, 9), "  aaa bbb\n  ccc\n");
    // A line may fill the width exactly.
    EXPECT_EQ(folded("aaa bbbb", 0, 0, 8), "aaa bbbb\n");
    EXPECT_EQ(folded("aaa bbbbb", 0, 0, 8), "aaa\nbbbbb\n");
}

TEST(PrintFolded, StartsOnTheCallersLine) {
    EXPECT_EQ(folded("abc def", 3, 6, 70), "   abc def\n");
    EXPECT_EQ(folded("abc", 10, 6, 70), "abc\n");
    EXPECT_EQ(folded("abc", 6, 6, 70), "abc\n");
}

TEST(PrintFolded, CollapsesAndDropsBlanks) {
    EXPECT_EQ(folded("", 0, 6, 70), "\n");
    EXPECT_EQ(folded("  ab  cd  ", 6, 6, 70), " ab cd\n");
    EXPECT_EQ(folded("end.  Next", 6, 6, 70), "end. Next\n");
    EXPECT_EQ(folded("   ", 0, 6, 70), "      \n");
}

TEST(PrintFolded, AWordWiderThanTheLineStandsAlone) {
    std::string word(80, 'w');
    EXPECT_EQ(folded(word.c_str(), 6, 6, 70), "\n      " + word + "\n");
    EXPECT_EQ(folded(word.c_str(), 0, 6, 70), "      " + word + "\n");
}

TEST(PrintFolded, CountsOtherControlCharactersAsPartOfAWord) {
    EXPECT_EQ(folded("a\tb c", 0, 0, 4), "a\tb\nc\n");
}
