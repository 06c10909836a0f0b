#pragma once

// Helpers shared by the file and check tests: temporary directories, byte
// files, and records put straight into a model.

#include "model/Tables.h"
#include "support/TableRows.h"

// Records are written with designated initialisers; the fields left out are
// zero, as in a fresh row.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// A directory of its own for one test, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "balkor-files-XXXXXX");
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary directory");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }
    // Names of all entries, to see that no stray file was left behind.
    int EntryCount() const {
        return static_cast<int>(std::distance(std::filesystem::directory_iterator(path_),
                                              std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An anonymous temporary file holding text, positioned at its beginning.
class TextFile {
public:
    explicit TextFile(const std::string& text = std::string()) : file_(std::tmpfile()) {
        if (!file_)
            throw std::runtime_error("no temporary file");
        std::fwrite(text.data(), 1, text.size(), file_);
        std::rewind(file_);
    }
    ~TextFile() { std::fclose(file_); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    std::FILE* Get() const { return file_; }
    // Everything in the file (the position moves to its end).
    std::string Contents() const {
        std::fflush(file_);
        std::rewind(file_);
        std::string text;
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file_)) > 0)
            text.append(chunk, n);
        return text;
    }

private:
    std::FILE* file_;
};

// Puts a record at number (row + 1) of a table and marks it entered by the
// user, as the grid would.
template <class Rec> Rec& PutRecord(RecordTable<Rec>& table, int number, Rec record) {
    Rec& stored = ValidRecord(table, number - 1);
    record.flag = stored.flag;
    stored = record;
    return stored;
}

// Converts LF line ends to CR LF, so tests can be written with plain "\n".
inline std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

inline constexpr uid_t kNobody = 65534;

// Runs action with the rights of an ordinary user, for whom folder and file
// permissions hold (root may create and write anything): when the tests run
// as root, in a child process that has become "nobody". Returns the action's
// result; -1 when no ordinary user could be had.
inline int AsOrdinaryUser(const std::function<int()>& action) {
    if (::geteuid() != 0)
        return action();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(255);
        ::_exit(action());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

// Gives a path to the ordinary user of AsOrdinaryUser.
inline void HandOver(const std::string& path) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    }
}

// A folder the ordinary user may enter.
inline void OpenForEveryone(const TempDir& dir) {
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
}

// Limits the size of files this process may write while it lives; a write
// beyond it fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_;
    void (*oldHandler_)(int);
};

// A real field of a record and the cell an error on it points at.
struct RealCell {
    double* field;
    const char* page;
    int row;
    int column;
};

// Puts each value that is not a finite number (NaN, ±infinity) into each
// cell in turn, lets expectError(page, row, column) check the report, and
// restores the cell.
template <class ExpectError>
void ForEachNonFiniteValue(std::initializer_list<RealCell> cells, ExpectError expectError) {
    for (const RealCell& c : cells) {
        for (double bad :
             {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
              -std::numeric_limits<double>::infinity()}) {
            const double good = *c.field;
            *c.field = bad;
            SCOPED_TRACE(std::string(c.page) + " column " + std::to_string(c.column));
            expectError(c.page, c.row, c.column);
            *c.field = good;
        }
    }
}
