#pragma once

// Helpers shared by the file and check tests: temporary directories, byte
// files, and records put straight into a model.

#include "model/Tables.h"
#include "support/TableRows.h"

// Records are written with designated initialisers; the fields left out are
// zero, as in a fresh row.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

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
