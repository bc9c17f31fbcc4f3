// The tests' own entry point, so that the program's main() in the library is
// never linked into a test.
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
