#include "settings/SettingsLocation.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfigFolderName = "balkor";
// The folder of an installation's shared files beside its "bin".
constexpr const char* kSharedFolderName = "share/balkor";

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The XDG rule: a relative XDG_CONFIG_HOME is invalid and ignored.
std::string ConfigFolder(const SettingsEnvironment& env) {
    if (!env.xdgConfigHome.empty() && fs::path(env.xdgConfigHome).is_absolute())
        return (fs::path(env.xdgConfigHome) / kConfigFolderName).string();
    if (!env.home.empty())
        return (fs::path(env.home) / ".config" / kConfigFolderName).string();
    return std::string();
}

} // namespace

SettingsEnvironment ProcessSettingsEnvironment() {
    SettingsEnvironment env;
    env.xdgConfigHome = EnvironmentValue("XDG_CONFIG_HOME");
    env.home = EnvironmentValue("HOME");
    env.folderWritable = [](const std::string& folder) {
        return ::access(folder.c_str(), W_OK | X_OK) == 0;
    };
    env.folderExists = [](const std::string& folder) {
        std::error_code error;
        return fs::is_directory(folder, error);
    };
    return env;
}

std::string SettingsFileName(const std::string& programPath) {
    fs::path name = fs::path(programPath).filename();
    if (name.empty() || name == "." || name == "..")
        return std::string();
    return name.replace_extension(".dat").string();
}

bool IsInstalledProgramFolder(const std::string& programFolder, const SettingsEnvironment& env) {
    if (!env.folderExists)
        return false;
    const fs::path folder = fs::path(programFolder).lexically_normal();
    const fs::path bin = folder.has_filename() ? folder : folder.parent_path();
    if (bin.filename() != "bin")
        return false;
    return env.folderExists((bin.parent_path() / kSharedFolderName).string());
}

std::string SettingsFilePath(const std::string& programPath, const SettingsEnvironment& env) {
    const std::string name = SettingsFileName(programPath);
    if (name.empty())
        return std::string();
    fs::path programFolder = fs::path(programPath).parent_path();
    if (programFolder.empty())
        programFolder = ".";
    if (env.folderWritable && env.folderWritable(programFolder.string()) &&
        !IsInstalledProgramFolder(programFolder.string(), env))
        return (programFolder / name).string();
    const std::string configFolder = ConfigFolder(env);
    if (configFolder.empty())
        return std::string();
    return (fs::path(configFolder) / name).string();
}

std::string CurrentProgramPath() {
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string DefaultSettingsFilePath() {
    return SettingsFilePath(CurrentProgramPath(), ProcessSettingsEnvironment());
}
