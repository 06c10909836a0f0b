#include "model/InputFiles.h"

#include "model/Tables.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads the sections of the tables, in their order; false when the file
// cannot be opened or a read fails (then the tables are emptied again).
bool ReadTables(const std::string& path, std::span<InputContainer* const> tables) {
    // Binary mode: the line reader handles CR LF itself.
    FilePtr file(std::fopen(path.c_str(), "rb"));
    struct stat info;
    if (!file || ::fstat(::fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    for (InputContainer* table : tables)
        table->ReadSection(file.get());
    if (std::ferror(file.get())) {
        for (InputContainer* table : tables)
            table->Reset();
        return false;
    }
    return true;
}

// The file a save replaces: the target of a symbolic link, else the path.
std::string ReplacedFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
}

// The permissions the new file gets: those of the file it replaces, or those
// of a newly created file.
mode_t NewFileMode(const std::string& target) {
    struct stat info;
    if (::stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes the sections into an open file and closes it; true when every
// write, the flush, the sync and the close succeeded.
bool WriteAndClose(std::FILE* file, std::span<InputContainer* const> tables) {
    bool ok = true;
    try {
        for (InputContainer* table : tables)
            table->WriteSection(file);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    ok = !std::ferror(file) && std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

// Writes the tables into a new file beside the target and replaces the target
// only when the new file is complete.
bool WriteTablesSafely(const std::string& path, std::span<InputContainer* const> tables) {
    const std::string target = ReplacedFile(path);
    // A file the user may not write stays as it is, as with a plain write.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        return false;
    std::string temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return false;
    std::FILE* file = nullptr;
    if (::fchmod(descriptor, NewFileMode(target)) == 0)
        file = ::fdopen(descriptor, "wb");
    if (!file) {
        ::close(descriptor);
        std::remove(temporary.c_str());
        return false;
    }
    bool ok = false;
    try {
        ok = WriteAndClose(file, tables);
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace

bool LoadSystemFile(InputModel& model, const std::string& path) {
    model.ResetSystem();
    return ReadTables(path, model.systemTables);
}

bool SaveSystemFile(InputModel& model, const std::string& path) {
    return WriteTablesSafely(path, model.systemTables);
}

bool LoadLoadCaseFile(InputModel& model, const std::string& path) {
    model.ResetLoadCase();
    return ReadTables(path, model.loadTables);
}

bool SaveLoadCaseFile(InputModel& model, const std::string& path) {
    return WriteTablesSafely(path, model.loadTables);
}
