#include "model/SafeFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
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

// The file a write replaces: the target of a symbolic link, else the path.
std::string ReplacedFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
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

// Makes a finished rename durable; a file system that cannot sync folders
// has done what it can.
void SyncFolderOf(const std::string& target) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// kCannotCreate: the folder does not let the user create files.
enum class Beside { kWritten, kNotOpened, kFailed, kCannotCreate };

// Writes into a new file beside target, then renames it over target.
Beside WriteBesideAndRename(const std::string& target, mode_t mode,
                            const std::function<bool(std::FILE*)>& write) {
    std::string fresh = target + ".XXXXXX";
    const int fd = ::mkostemp(fresh.data(), O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? Beside::kCannotCreate : Beside::kNotOpened;
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
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Builds the content first, then writes it over the file at target.
FileWrite OverwriteInPlace(const std::string& target, bool regular,
                           const std::function<bool(std::FILE*)>& write) {
    std::string content;
    if (!BuildContent(write, content))
        return FileWrite::kFailed;
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return FileWrite::kNotOpened;
    bool ok = WriteAll(fd, content);
    if (regular) {
        ok = ok && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0;
        ok = ok && ::fsync(fd) == 0;
    }
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

FileWrite WriteFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    if (path.empty())
        return FileWrite::kNotOpened;
    struct stat old;
    if (NamesAnOpenFile(path))
        return OverwriteInPlace(path, ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode),
                                write);
    const std::string target = ReplacedFile(path);
    if (::stat(target.c_str(), &old) != 0) {
        if (errno != ENOENT)
            return FileWrite::kNotOpened;
        switch (WriteBesideAndRename(target, NewFileMode(), write)) {
        case Beside::kWritten:
            return FileWrite::kDone;
        case Beside::kFailed:
            return FileWrite::kFailed;
        default:
            return FileWrite::kNotOpened;
        }
    }
    // A file the user may not write stays as it is, as with a plain write.
    if (::access(target.c_str(), W_OK) != 0)
        return FileWrite::kNotOpened;
    const bool regular = S_ISREG(old.st_mode);
    // A new file would break further hard links and take another user's file.
    if (!regular || old.st_nlink > 1 || old.st_uid != ::geteuid())
        return OverwriteInPlace(target, regular, write);
    switch (WriteBesideAndRename(target, old.st_mode & 07777, write)) {
    case Beside::kWritten:
        return FileWrite::kDone;
    case Beside::kCannotCreate:
        // The folder forbids new files, but the file itself may be written.
        return OverwriteInPlace(target, regular, write);
    case Beside::kNotOpened:
        return FileWrite::kNotOpened;
    default:
        return FileWrite::kFailed;
    }
}
