#pragma once

#include <functional>
#include <string>

// Where the settings file lies. It is named after the program with the
// extension "dat" and lies next to the program when that folder is writable
// and is no installation (a build, a user's own copy); otherwise in the user's
// configuration folder, $XDG_CONFIG_HOME/balkor/, by default ~/.config/balkor/.
// An installed program lies in a folder "bin" with "share/balkor" beside it
// (/usr/bin, /usr/local/bin, /opt/balkor/bin): root may write there, but a
// settings file there would belong to no package and to every user. Reading
// and writing use the same place.

struct SettingsEnvironment {
    std::string xdgConfigHome; // $XDG_CONFIG_HOME, empty when unset
    std::string home;          // $HOME, empty when unset
    // Whether new files can be made in a folder.
    std::function<bool(const std::string& folder)> folderWritable;
    // Whether a folder exists; none: no installation is recognised.
    std::function<bool(const std::string& folder)> folderExists;
};

// The running process's environment, with the real file-system check.
SettingsEnvironment ProcessSettingsEnvironment();

// "balkor.dat" for a program "/usr/bin/balkor"; empty without a file name.
std::string SettingsFileName(const std::string& programPath);

// Whether programFolder is the "bin" folder of an installation (its parent
// holds "share/balkor").
bool IsInstalledProgramFolder(const std::string& programFolder, const SettingsEnvironment& env);

// The settings file of the program at programPath; empty when there is no
// place for it (no program name, or an unwritable or installed program folder
// and neither XDG_CONFIG_HOME nor HOME set).
std::string SettingsFilePath(const std::string& programPath, const SettingsEnvironment& env);

// The path of the running program's executable; empty when unknown.
std::string CurrentProgramPath();

// The settings file of the running program.
std::string DefaultSettingsFilePath();
