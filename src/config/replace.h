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
// Returns 0 once all of that is done. Returns the error of the step that
// failed, having removed the temporary file, when the target may not be
// written (a read-only file, a directory, a medium that refuses) or any step
// up to the rename fails; the old file is then untouched. Returns the error
// as well when a sync after the rename fails: the new file is in place, but
// whether it is on the medium is unknown. An error is an errno value, or
// not_regular.
//
// A terminating signal (interrupt, hang-up, quit, termination...) that comes
// while the temporary file exists removes it before the signal ends the
// process; one that comes later finds the new file complete. While the text
// is written, the file-size limit's signal is held off, so that the limit
// fails the write instead.
int replace_file(const char *name, const char *text, std::size_t len);

// The error of a target that is there but is no regular file (a directory, a
// device, a FIFO): no replacement may take its place, and no errno says so.
inline constexpr int not_regular = -1;

// Whether replace_file(name, ...) cannot succeed, as far as can be seen
// before anything is written: 0 when nothing stands in the way, else its
// error: what the save's first steps meet at the target (not_regular, or
// the error of opening it for writing); EROFS for a medium mounted
// read-only; EACCES or EPERM for a directory the user may not write; ENOSPC for a file
// system with no free block, or no free inode where it counts them; or the
// error of a look that failed. A figure that a file system does not keep
// (0 blocks or 0 inodes in all, as vfat and FAT through FUSE report) stands
// in the way of nothing.
int replace_check(const char *name);
