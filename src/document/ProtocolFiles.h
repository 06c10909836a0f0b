#pragma once

#include "protocols/Protocols.h"

#include <cstdio>
#include <string>
#include <vector>

// Error texts of the temporary protocol files.
inline constexpr const char* kTempNameError = "Fehler bei Erzeugung einer Temporären Dateiname";

// The folder of the temporary protocol files: TMP, else TMPDIR, else /tmp.
std::string ProtocolFolder();

// A protocol file just made: open for writing, closed by the destructor.
struct ProtocolFile {
    ProtocolFile() = default;
    ProtocolFile(std::FILE* f, std::string n) : file(f), name(std::move(n)) {}
    ProtocolFile(ProtocolFile&& other) noexcept;
    ProtocolFile& operator=(ProtocolFile&&) = delete;
    ~ProtocolFile();
    // Closes the file; false when the data could not be written completely.
    bool Close();

    std::FILE* file = nullptr;
    std::string name;
};

// The temporary files made during this run, deleted at its end.
class TempFileList {
public:
    TempFileList() = default;
    TempFileList(const TempFileList&) = delete;
    TempFileList& operator=(const TempFileList&) = delete;

    // A new file "Stab<n>" in folder, n the smallest number whose name is
    // free. The file is created exclusively and readable by its owner only,
    // so no other user can plant or read it; only files made here are listed.
    // Throws BalkorError when no name is free or the folder is unusable.
    ProtocolFile MakeProtocolFile(const std::string& folder);
    ProtocolFile MakeProtocolFile() { return MakeProtocolFile(ProtocolFolder()); }

    // Deletes every listed file (failures are ignored) and forgets them.
    void DeleteAll();

    const std::vector<std::string>& Names() const { return names_; }

private:
    std::vector<std::string> names_;
};
