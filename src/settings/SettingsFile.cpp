#include "settings/SettingsFile.h"

#include "model/LineReader.h"
#include "settings/TextEncoding.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsBlankOrControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7F;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

bool FileIsUtf8(std::FILE* file) {
    Utf8Validator validator;
    int c;
    while (!validator.Failed() && (c = std::fgetc(file)) != EOF)
        validator.Feed(static_cast<unsigned char>(c));
    return validator.Valid();
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

void ApplySettingLine(TreeClass& root, std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    if (TreeClass* node = root.FindByKey(Trim(line.substr(0, equals))))
        node->SetFromText(Trim(line.substr(equals + 1)));
}

bool ReadSettings(TreeClass& root, const std::string& path) {
    // Only regular files: a device or a pipe could block or never end.
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    const bool utf8 = FileIsUtf8(file);
    std::rewind(file);
    char buffer[kLineBufferSize];
    bool firstLine = true;
    while (ReadLine(file, buffer, kLineBufferSize)) {
        std::string_view line(buffer);
        // Editors on Windows like to put a byte order mark before UTF-8 text.
        if (firstLine && utf8 && line.starts_with(kUtf8ByteOrderMark))
            line.remove_prefix(kUtf8ByteOrderMark.size());
        firstLine = false;
        if (utf8)
            ApplySettingLine(root, line);
        else
            ApplySettingLine(root, Windows1252ToUtf8(line));
    }
    std::fclose(file);
    return true;
}

bool WriteSettingsFile(const TreeClass& root, const std::string& path) {
    return ReplaceFileSafely(path, [&root](std::FILE* file) { return root.WriteSettings(file); });
}

namespace {

// Opens a new file for writing beside the target; -1 when that is impossible.
int OpenFreshFile(const std::string& name) {
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Left behind by an earlier run that had the same process id.
        ::unlink(name.c_str());
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    return fd;
}

bool WriteAndSync(int fd, const std::function<bool(std::FILE*)>& write) {
    std::FILE* file = ::fdopen(fd, "w");
    if (!file) {
        ::close(fd);
        return false;
    }
    bool ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = ok && ::fsync(::fileno(file)) == 0;
    return std::fclose(file) == 0 && ok;
}

} // namespace

bool ReplaceFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (path.empty())
        return false;
    // Replace the file a symbolic link points to, not the link.
    fs::path target = fs::weakly_canonical(path, error);
    if (error)
        target = path;
    if (!target.has_filename())
        return false;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), error);

    const std::string fresh = target.string() + "." + std::to_string(::getpid()) + ".tmp";
    const int fd = OpenFreshFile(fresh);
    if (fd < 0)
        return false;
    struct stat old;
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    const bool ok = WriteAndSync(fd, write) && ::rename(fresh.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(fresh.c_str());
    return ok;
}
