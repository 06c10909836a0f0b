#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The outcome of one run of the built balkor-batch.
struct ProcessResult {
    int exitCode = -1; // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs balkor-batch with the arguments (no shell), capturing both streams.
ProcessResult RunBatchProgram(const std::vector<std::string>& args);

// A fresh directory under the system's temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    // Writes text into the file name and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path dir_;
};

std::string ReadFile(const std::string& path);

// Paths of the bundled examples.
std::string Example(const std::string& name);
