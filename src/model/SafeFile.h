#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Reading and writing the program's own files (system and load-case files,
// the settings, the outputs of the batch command) without surprises.

// Opens path for reading in binary mode when it names a regular file (a
// symbolic link to one counts). A missing file, a folder, a device such as
// /dev/zero, a named pipe or a socket gives null: reading one could block or
// never end. Opening never blocks.
std::FILE* OpenRegularFile(const std::string& path);

// Writes the file at path with what write puts into the stream it is given;
// write returns false when it failed. A failure never destroys the previous
// file, and every write, the flush and the close are checked:
// - Normally the content goes into a new file beside the target, reaches the
//   disk (fsync) and only then takes the target's place (rename). The new
//   file gets the old one's permissions; a symbolic link is followed, not
//   replaced.
// - Where that would change more than the content (the file has further hard
//   links, or belongs to another user) or is impossible (the user may write
//   the file but not create files in its folder), the whole content is built
//   in memory first and then written over the file in place, as careful
//   editors do. A failure while overwriting is reported; the old content is
//   then lost only in that case, which cannot be avoided without a new file.
// - A target that is not a regular file (a device, a named pipe), and a name
//   of a file the process holds open (/dev/stdout, /dev/fd/N, /proc/...), is
//   written in place as well.
// No stray file is left behind on failure. An exception thrown by write passes
// through, the target untouched.
enum class FileWrite {
    kDone,
    kNotOpened, // no file could be made or opened: a file the user may not
                // write, a folder that does not exist or forbids new files
    kFailed,    // write failed, or writing, syncing, closing or renaming did
};
FileWrite WriteFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& write);
