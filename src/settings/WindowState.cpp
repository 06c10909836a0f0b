#include "settings/WindowState.h"

#include "model/SafeFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr std::string_view kMainWindowKey = "Hauptfenster";
constexpr std::string_view kMaximisedKey = "Hauptfenster maximiert";
constexpr std::string_view kFolderKey = "Ordner der Dateidialoge";

// A file of a few lines; anything beyond this is no file of ours.
constexpr long kMaxFileSize = 64 * 1024;
constexpr size_t kMaxFolderLength = 4096;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The whole-number fields of text, separated by blanks; nothing when a field
// is no number within ±kMaxWindowCoordinate.
std::optional<std::vector<int>> ParseNumbers(std::string_view text) {
    const std::string copy(text);
    std::vector<int> numbers;
    const char* p = copy.c_str();
    while (*p) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            break;
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(p, &end, 10);
        if (end == p || errno != 0 || (*end && !IsBlank(*end)) || value < -kMaxWindowCoordinate ||
            value > kMaxWindowCoordinate)
            return std::nullopt;
        numbers.push_back(static_cast<int>(value));
        p = end;
    }
    return numbers;
}

std::optional<WindowRect> ParseRect(std::string_view text) {
    const auto numbers = ParseNumbers(text);
    if (!numbers || numbers->size() != 4)
        return std::nullopt;
    const WindowRect rect{(*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]};
    if (rect.width < kMinWindowExtent || rect.height < kMinWindowExtent)
        return std::nullopt;
    return rect;
}

bool IsUsableFolder(std::string_view folder) {
    if (folder.empty() || folder.front() != '/' || folder.size() > kMaxFolderLength)
        return false;
    for (char c : folder)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

} // namespace

std::string WindowStatePath(const std::string& settingsPath) {
    if (settingsPath.empty())
        return {};
    const std::filesystem::path settings(settingsPath);
    return (settings.parent_path() / (settings.stem().string() + "-fenster.dat")).string();
}

void ApplyWindowStateLine(WindowState& state, std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    const std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (key == kMainWindowKey) {
        if (const auto rect = ParseRect(value))
            state.mainWindow = rect;
    } else if (key == kMaximisedKey) {
        if (value == "0" || value == "1")
            state.maximised = value == "1";
    } else if (key == kFolderKey) {
        if (IsUsableFolder(value))
            state.fileFolder = std::string(value);
    }
}

WindowState ReadWindowState(const std::string& path) {
    WindowState state;
    std::FILE* file = OpenRegularFile(path);
    if (!file)
        return state;
    std::string text;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           text.size() <= size_t(kMaxFileSize))
        text.append(buffer, count);
    std::fclose(file);
    if (text.size() > size_t(kMaxFileSize))
        return state;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        ApplyWindowStateLine(state, std::string_view(text).substr(start, end - start));
        start = end + 1;
    }
    return state;
}

std::string WindowStateText(const WindowState& state) {
    std::string text;
    if (state.mainWindow) {
        const WindowRect& r = *state.mainWindow;
        text += std::string(kMainWindowKey) + " = " + std::to_string(r.x) + ' ' +
                std::to_string(r.y) + ' ' + std::to_string(r.width) + ' ' +
                std::to_string(r.height) + '\n';
    }
    text += std::string(kMaximisedKey) + " = " + (state.maximised ? "1" : "0") + '\n';
    if (!state.fileFolder.empty())
        text += std::string(kFolderKey) + " = " + state.fileFolder + '\n';
    return text;
}

bool WriteWindowState(const WindowState& state, const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty())
        return false;
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(path, error).parent_path();
    if (!error && !folder.empty())
        fs::create_directories(folder, error);
    const std::string text = WindowStateText(state);
    const auto write = [&text](std::FILE* file) {
        return std::fwrite(text.data(), 1, text.size(), file) == text.size();
    };
    return WriteFileSafely(path, write) == FileWrite::kDone;
}
