#pragma once

#include <functional>
#include <string>

// Where the settings file lies. It is named after the program with the
// extension "dat" and lies next to the program when that folder is writable;
// otherwise (an installed program) in the user's configuration folder,
// $XDG_CONFIG_HOME/balkor/, by default ~/.config/balkor/. Reading and writing
// use the same place.

struct SettingsEnvironment {
    std::string xdgConfigHome; // $XDG_CONFIG_HOME, empty when unset
    std::string home;          // $HOME, empty when unset
    // Whether new files can be made in a folder.
    std::function<bool(const std::string& folder)> folderWritable;
};

// The running process's environment, with the real file-system check.
SettingsEnvironment ProcessSettingsEnvironment();

// "balkor.dat" for a program "/usr/bin/balkor"; empty without a file name.
std::string SettingsFileName(const std::string& programPath);

// The settings file of the program at programPath; empty when there is no
// place for it (no program name, or an unwritable program folder and neither
// XDG_CONFIG_HOME nor HOME set).
std::string SettingsFilePath(const std::string& programPath, const SettingsEnvironment& env);

// The path of the running program's executable; empty when unknown.
std::string CurrentProgramPath();

// The settings file of the running program.
std::string DefaultSettingsFilePath();
