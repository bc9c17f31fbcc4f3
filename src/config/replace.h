// Replacing a file on a medium that may fail or be interrupted at any moment,
// so that the file is always either the old one or the whole new one.
#pragma once

#include <cstddef>

// Puts text (len bytes) in place of the file that opening name for writing
// would write: name itself, or the end of its chain of symbolic links, which
// need not exist yet. The text goes to a new temporary file fcXXXXXX.tmp
// (mode 0600) in the target's directory and is synced; the file, still open,
// is renamed over the target and synced again under its new name (on FAT
// that writes its directory entry); then the directory is synced, so that
// everything the save writes is on the medium when this returns.
//
// Returns true once all of that is done. Returns false, having removed the
// temporary file, when the target may not be written (a read-only file, a
// directory, a medium that refuses) or any step up to the rename fails; the
// old file is then untouched. Returns false as well when a sync after the
// rename fails: the new file is in place, but whether it is on the medium is
// unknown.
//
// A terminating signal (interrupt, hang-up, quit, termination...) that comes
// while the temporary file exists removes it before the signal ends the
// process; one that comes later finds the new file complete. While the text
// is written, the file-size limit's signal is held off, so that the limit
// fails the write instead.
bool replace_file(const char *name, const char *text, std::size_t len);
