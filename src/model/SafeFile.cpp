#include "model/SafeFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenRegularFile(const std::string& path) {
    // Without O_NONBLOCK, opening a named pipe waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return file;
}

namespace {

WriteCall inPlaceWrite = ::write;

// Links chained further than this are a loop, as the system counts them.
constexpr int kMaxLinkHops = 40;

// The end of the chain of symbolic links at path, taken link by link so that a
// link to a file not made yet is followed as well.
std::filesystem::path EndOfLinks(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error))
            break;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current;
}

// The permissions of a file created where none was.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Flushes, syncs and closes a stream that write filled; true when write and
// all of these succeeded.
bool FinishStream(std::FILE* file, bool written) {
    bool ok = written && !std::ferror(file) && std::fflush(file) == 0;
    ok = ok && ::fsync(::fileno(file)) == 0;
    return std::fclose(file) == 0 && ok;
}

std::filesystem::path FolderOf(const std::string& target) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    return folder.empty() ? "." : folder;
}

// Makes a finished rename durable; a file system that cannot sync folders
// has done what it can.
void SyncFolderOf(const std::string& target) {
    const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Temporary files are ".NAME~balkor.XXXXXX" beside their target; NAME is cut
// (at a character boundary) so that the whole stays a valid file name.
constexpr std::string_view kTempMark = "~balkor.";
constexpr size_t kTempRandom = 6;

std::string TempNamePrefix(const std::string& target) {
    std::string name = std::filesystem::path(target).filename().string();
    size_t room = NAME_MAX - 1 - kTempMark.size() - kTempRandom;
    if (name.size() > room) {
        while (room > 0 && (static_cast<unsigned char>(name[room]) & 0xC0) == 0x80)
            --room;
        name.resize(room);
    }
    return "." + name + std::string(kTempMark);
}

// A temporary file whose writer is gone: its lock is free. A writer holds
// the lock from the file's creation until it is closed.
void RemoveIfAbandoned(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(path.c_str());
    ::close(fd);
}

// Removes what saves of target that were killed (SIGKILL, a power cut) left.
void RemoveStaleTempFiles(const std::string& target, const std::string& prefix) {
    std::error_code error;
    std::filesystem::directory_iterator entry(FolderOf(target), error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() == prefix.size() + kTempRandom && name.starts_with(prefix))
            RemoveIfAbandoned(entry->path());
    }
}

// kInPlace: a new file cannot be made in the folder, or cannot take the old
// one's group; the old file itself is to be written.
enum class Beside { kWritten, kNotOpened, kFailed, kInPlace };

// The new file takes the old one's group (an ordinary user may give only a
// group he belongs to); its owner is the old one's already, since the file of
// another user is written in place.
bool TakeGroup(int fd, const struct stat* old) {
    return !old || ::fchown(fd, static_cast<uid_t>(-1), old->st_gid) == 0;
}

// Writes into a new file beside target, then renames it over target; old is
// the file replaced, null when there is none.
Beside WriteBesideAndRename(const std::string& target, const struct stat* old, mode_t mode,
                            const std::function<bool(std::FILE*)>& write) {
    const std::string prefix = TempNamePrefix(target);
    RemoveStaleTempFiles(target, prefix);
    std::string fresh = (std::filesystem::path(target).parent_path() / prefix).string() +
                        std::string(kTempRandom, 'X');
    const int fd = ::mkostemp(fresh.data(), O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? Beside::kInPlace : Beside::kNotOpened;
    ::flock(fd, LOCK_EX);
    if (!TakeGroup(fd, old)) {
        ::close(fd);
        ::unlink(fresh.c_str());
        return Beside::kInPlace;
    }
    // After the group: a change of group clears the set-id bits.
    std::FILE* file = ::fchmod(fd, mode) == 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!file) {
        ::close(fd);
        ::unlink(fresh.c_str());
        return Beside::kNotOpened;
    }
    bool written = false;
    try {
        written = write(file);
    } catch (...) {
        std::fclose(file);
        ::unlink(fresh.c_str());
        throw;
    }
    if (FinishStream(file, written) && ::rename(fresh.c_str(), target.c_str()) == 0) {
        SyncFolderOf(target);
        return Beside::kWritten;
    }
    ::unlink(fresh.c_str());
    return Beside::kFailed;
}

// The whole content of write, built in memory; false when write failed.
bool BuildContent(const std::function<bool(std::FILE*)>& write, std::string& content) {
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* memory = ::open_memstream(&buffer, &size);
    if (!memory)
        return false;
    bool written = false;
    try {
        written = write(memory);
    } catch (...) {
        std::fclose(memory);
        std::free(buffer);
        throw;
    }
    written = written && !std::ferror(memory);
    const bool closed = std::fclose(memory) == 0;
    if (written && closed)
        content.assign(buffer, size);
    std::free(buffer);
    return written && closed;
}

bool WriteAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = inPlaceWrite(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, off_t size, std::string& content) {
    content.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n =
            ::pread(fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Puts content at the start of the open file and cuts the file behind it.
bool WriteFromStart(int fd, const std::string& content) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, content) &&
           ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
}

// Reserves the disk space of size bytes for the file. Only a file system that
// has no such call (and where the C library cannot emulate it) goes on
// without, relying on the old content being written back.
bool ReserveRoom(int fd, size_t size) {
    if (size == 0)
        return true;
    const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
    return error == 0 || error == EOPNOTSUPP || error == EINVAL || error == ENODEV;
}

// Writes content over the regular file open as fd; on failure the file gets
// its old content back (when it could be read) and its old size.
bool OverwriteRegularFile(int fd, bool readable, const std::string& content) {
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return false;
    std::string old;
    if (readable && !ReadAll(fd, info.st_size, old))
        return false;
    if (!ReserveRoom(fd, content.size())) {
        // A partial reservation may have made the file longer.
        [[maybe_unused]] const int ignored = ::ftruncate(fd, info.st_size);
        return false;
    }
    if (WriteFromStart(fd, content))
        return true;
    if (readable)
        WriteFromStart(fd, old);
    return false;
}

// Builds the content first, then writes it over the file at target.
FileWrite OverwriteInPlace(const std::string& target, bool regular,
                           const std::function<bool(std::FILE*)>& write) {
    std::string content;
    if (!BuildContent(write, content))
        return FileWrite::kFailed;
    // The old content is read so that a failing write can put it back.
    int fd = regular ? ::open(target.c_str(), O_RDWR | O_CLOEXEC) : -1;
    const bool readable = fd >= 0;
    if (!readable)
        fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return FileWrite::kNotOpened;
    bool ok = regular ? OverwriteRegularFile(fd, readable, content) : WriteAll(fd, content);
    ok = ::close(fd) == 0 && ok;
    return ok ? FileWrite::kDone : FileWrite::kFailed;
}

// /dev/stdout, /dev/fd/N and /proc/self/fd/N name an open file of the
// process; replacing what they resolve to would leave that file as it was.
bool NamesAnOpenFile(const std::string& path) {
    return path == "/dev/stdout" || path == "/dev/stderr" || path.starts_with("/dev/fd/") ||
           path.starts_with("/proc/");
}

} // namespace

std::string WrittenFile(const std::string& path) {
    const std::filesystem::path end = EndOfLinks(path);
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(end, error);
    return (error ? end : resolved).string();
}

void SetInPlaceWriteCall(WriteCall call) {
    inPlaceWrite = call ? call : ::write;
}

FileWrite WriteFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    if (path.empty())
        return FileWrite::kNotOpened;
    struct stat old;
    if (NamesAnOpenFile(path))
        return OverwriteInPlace(path, ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode),
                                write);
    const std::string target = WrittenFile(path);
    if (::stat(target.c_str(), &old) != 0) {
        if (errno != ENOENT)
            return FileWrite::kNotOpened;
        switch (WriteBesideAndRename(target, nullptr, NewFileMode(), write)) {
        case Beside::kWritten:
            return FileWrite::kDone;
        case Beside::kFailed:
            return FileWrite::kFailed;
        default:
            return FileWrite::kNotOpened;
        }
    }
    // A pipe without a reader would block for good; a folder, a socket or a
    // block device is no output either.
    if (!S_ISREG(old.st_mode) && !S_ISCHR(old.st_mode))
        return FileWrite::kNotOpened;
    // A file the user may not write stays as it is, as with a plain write.
    if (::access(target.c_str(), W_OK) != 0)
        return FileWrite::kNotOpened;
    const bool regular = S_ISREG(old.st_mode);
    // A new file would break further hard links and take another user's file.
    if (!regular || old.st_nlink > 1 || old.st_uid != ::geteuid())
        return OverwriteInPlace(target, regular, write);
    switch (WriteBesideAndRename(target, &old, old.st_mode & 07777, write)) {
    case Beside::kWritten:
        return FileWrite::kDone;
    case Beside::kInPlace:
        // The folder forbids new files, or a new one would get another
        // group; the file itself may be written.
        return OverwriteInPlace(target, regular, write);
    case Beside::kNotOpened:
        return FileWrite::kNotOpened;
    default:
        return FileWrite::kFailed;
    }
}
