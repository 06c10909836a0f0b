#include "document/ProtocolFiles.h"

#include "model/BalkorError.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// As many names as the platform's temporary-name scheme offers.
constexpr int kMaxTempNumber = 65535;

} // namespace

std::string ProtocolFolder() {
    for (const char* variable : {"TMP", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return "/tmp";
}

ProtocolFile::ProtocolFile(ProtocolFile&& other) noexcept
    : file(other.file), name(std::move(other.name)) {
    other.file = nullptr;
}

ProtocolFile::~ProtocolFile() {
    Close();
}

bool ProtocolFile::Close() {
    if (!file)
        return true;
    const bool ok = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    return ok && closed;
}

ProtocolFile TempFileList::MakeProtocolFile(const std::string& folder) {
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    prefix += "Stab";
    for (int number = 0; number <= kMaxTempNumber; ++number) {
        std::string name = prefix + std::to_string(number);
        // O_EXCL refuses an existing name, also a planted symbolic link.
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            throw BalkorError(kProtocolOpenError);
        }
        names_.push_back(name);
        std::FILE* file = fdopen(fd, "w");
        if (!file) {
            close(fd);
            throw BalkorError(kProtocolOpenError);
        }
        return ProtocolFile(file, std::move(name));
    }
    throw BalkorError(kTempNameError);
}

void TempFileList::DeleteAll() {
    for (const std::string& name : names_)
        unlink(name.c_str());
    names_.clear();
}
