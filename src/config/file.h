// fconfig.dat in the current directory: 22 key=value lines, the one thing the
// program stores.
#pragma once

#include <cstddef>

#include "config/options.h"

// The longest line the reader takes, line feed and carriage returns not
// counted; a longer one is refused whole.
inline constexpr std::size_t max_line = 254;

// Overlays the record with every valid line of fconfig.dat, if it can be
// read; bad lines are reported on standard error and skipped.
void load_file(options *o);

// load_file, then update mode 1, whatever the file said.
void load(options *o);

// Before the first question: names any temporary file that an interrupted
// save left beside the target (it may hold a password), and returns 0 when
// the save can succeed as far as the kernel can tell without it, noting at a
// terminal when the file would go onto no diskette. Otherwise reports, as a
// failed save does, that the file cannot be created and why, and returns 1:
// said before the first question, nothing typed is lost.
int check_save();

// Writes the record to fconfig.dat so that the file is always either the
// previous one or the whole new one: the new content goes to a temporary file
// beside it, reaches the medium, and then replaces the old one (replace_file).
// A failure is reported on standard error with its cause and ends the
// process with status 1.
// Up to the replacement the old file then stays as it was; a failing sync
// after it leaves the new file in place, not known to be on the medium.
void save_file(const options *o);

// Copies the boot-action flags of the record's update mode into it, then
// save_file. An update mode that names no row ends the process with status 1.
void save(options *o);
