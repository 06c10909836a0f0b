#include "settings/SettingsFile.h"

#include "model/LineReader.h"
#include "model/SafeFile.h"
#include "settings/TextEncoding.h"

#include <filesystem>

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
    std::FILE* file = OpenRegularFile(path);
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
    namespace fs = std::filesystem;
    if (path.empty())
        return false;
    // The user's configuration folder may not exist yet.
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(path, error).parent_path();
    if (!error && !folder.empty())
        fs::create_directories(folder, error);
    const auto write = [&root](std::FILE* file) { return root.WriteSettings(file); };
    return WriteFileSafely(path, write) == FileWrite::kDone;
}
