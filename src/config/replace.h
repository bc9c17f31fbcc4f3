// Replacing a file on a medium that may fail or be interrupted at any moment,
// so that the file is always either the old one or the whole new one.
#pragma once

#include <limits.h>

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
// failed, having emptied and removed the temporary file (temp_left names it
// if it stays), when the target may not be written (a read-only file, a
// directory, a medium that refuses) or any step up to the rename fails; the
// old file is then untouched. Returns the error as well when a sync after
// the rename fails: the new file is in place, but whether it is on the
// medium is unknown. An error is an errno value or one of those below.
//
// A signal that would end the process (interrupt, hang-up, a shutdown, a
// power warning, any of them) is held off while this runs: one that comes
// before the rename stops the save there, and the process ends with the
// temporary file emptied and removed and the old file as it was; one that
// comes later ends it with the new file complete. The file-size limit's
// signal is ignored meanwhile, so that the limit fails the write instead.
int replace_file(const char *name, const char *text, std::size_t len);

// Errors beyond errno's, each with a cause of its own to tell the operator.
inline constexpr int not_regular = -1;     // the target is a directory, a device, a FIFO
inline constexpr int file_read_only = -2;  // the user's own target, not writable
inline constexpr int others_file = -3;     // another user's target that the user may not replace
inline constexpr int missing_folder = -4;  // the target's folder, through a link, is not there
inline constexpr int folder_full = -5;     // no room for another file, blocks free or not

// Whether replace_file(name, ...) can succeed, asked before anything is
// typed, of the kernel and with this process's credentials wherever it can
// be: 0, or the error that the save would meet. It takes the save's own
// steps, as far as they leave nothing behind: the chain of links, the
// target opened for writing, and a temporary file made and removed (guarded
// as the save's is) beside it, which tries the folder as the kernel judges
// it (permissions, ACLs, attributes, a read-only or gone medium, a folder
// with no room for another entry). Two things no step can try without
// replacing the target are judged by their rules: a file system with no free
// block where it counts them, and another user's file in a sticky folder.
// *fs_type is the folder's file system (statfs's f_type), 0 if unknown.
int replace_check(const char *name, long *fs_type);

// The temporary file that the last replace_file or replace_check could not
// remove, or nullptr; *emptied says whether it was emptied first (if not, it
// may hold what the save was writing).
const char *temp_left(bool *emptied);

// Temporary files of saves that nothing could remove (a power cut in the
// middle), found beside the target of name: open_leftovers starts, and each
// next_leftover puts the next one's path into path, until it returns false.
// The folder is read without allocating, and nothing is removed: those files
// are not this run's to remove.
struct leftover_scan {
    int fd = -1;
    std::size_t at = 0;
    std::size_t end = 0;
    alignas(8) char buf[2048];
    std::size_t dir_len = 0;  // path begins with the folder, as far as this
    char path[PATH_MAX];
};
bool open_leftovers(const char *name, leftover_scan *s);
bool next_leftover(leftover_scan *s);
