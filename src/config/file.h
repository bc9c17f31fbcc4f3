// fconfig.dat in the current directory: 22 key=value lines, the one thing the
// program stores.
#pragma once

#include "config/options.h"

// Overlays the record with every valid line of fconfig.dat, if it can be
// read; bad lines are reported on standard error and skipped.
void load_file(options *o);

// load_file, then update mode 1, whatever the file said.
void load(options *o);

// Writes the record to fconfig.dat without ever losing the previous file: the
// new content goes to a temporary file beside it, reaches the medium, and
// then replaces the old one. On any failure the old file stays as it was, the
// failure is reported on standard error and the process ends with status 1.
void save_file(const options *o);

// Copies the boot-action flags of the record's update mode into it, then
// save_file. An update mode that names no row ends the process with status 1.
void save(options *o);
