#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <sys/types.h>

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
//   file gets the old one's permissions and group. Its name is recognisable
//   (".NAME~balkor.XXXXXX", NAME cut so that the whole fits the 255 bytes of
//   a file name), and such files of a save that was killed are removed by
//   the next save beside them.
// - A symbolic link is followed, not replaced; a link to a file that does not
//   exist yet creates that file.
// - Where that would change more than the content (the file has further hard
//   links, belongs to another user or to a group the user may not give a new
//   file) or is impossible (the user may write the file but not create files
//   in its folder), the whole content is built in memory first, the room for
//   it is reserved on the disk, and only then is it written over the file in
//   place, as careful editors do. When the room cannot be had (a full disk),
//   the file is not touched; when a write fails all the same, the old content
//   is written back.
// - A named pipe, a socket, a folder or a block device is not written (a pipe
//   without a reader would block for good). A character device (/dev/null, a
//   terminal) and a name of a file the process holds open (/dev/stdout,
//   /dev/fd/N, /proc/...) are written in place.
// No stray file is left behind on failure. An exception thrown by write passes
// through, the target untouched.
enum class FileWrite {
    kDone,
    kNotOpened, // no file could be made or opened: a file the user may not
                // write, a folder that does not exist or forbids new files, a
                // target that is neither a regular file nor a character device
    kFailed,    // write failed, or writing, syncing, closing or renaming did
};
FileWrite WriteFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& write);

// The file that WriteFileSafely(path, ...) writes: the end of the chain of
// symbolic links at path (also when the file it names does not exist yet),
// else path itself.
std::string WrittenFile(const std::string& path);

// The call by which content is written over a file in place. Tests put a
// failing one here to see what a disk error in the middle of a write leaves;
// null restores the system's write.
using WriteCall = ssize_t (*)(int fd, const void* data, size_t size);
void SetInPlaceWriteCall(WriteCall call);
