// A paragraph printed folded at blanks to a width.
#pragma once

// Prints text on the console's output, starting on a line that already holds
// current_col characters. Lines are broken at blanks so that none grows wider
// than width; every line after the first starts at left_margin, as does the
// first when current_col is less. Ends with a line feed.
void print_folded(const char *text, int current_col, int left_margin, int width);
