#include "settings/SettingsLocation.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace {

SettingsEnvironment Environment(bool programFolderWritable, std::string xdg, std::string home) {
    SettingsEnvironment env;
    env.xdgConfigHome = std::move(xdg);
    env.home = std::move(home);
    env.folderWritable = [programFolderWritable](const std::string&) {
        return programFolderWritable;
    };
    return env;
}

TEST(SettingsLocation, TheFileIsNamedAfterTheProgramWithExtensionDat) {
    EXPECT_EQ(SettingsFileName("/usr/bin/balkor"), "balkor.dat");
    EXPECT_EQ(SettingsFileName("/opt/Balkor/Balkor.exe"), "Balkor.dat");
    EXPECT_EQ(SettingsFileName("balkor"), "balkor.dat");
    EXPECT_EQ(SettingsFileName(""), "");
    EXPECT_EQ(SettingsFileName("/usr/bin/"), "");
}

TEST(SettingsLocation, NextToTheProgramWhenItsFolderIsWritable) {
    EXPECT_EQ(SettingsFilePath("/home/anna/balkor/balkor", Environment(true, "/x", "/home/anna")),
              "/home/anna/balkor/balkor.dat");
    EXPECT_EQ(SettingsFilePath("balkor", Environment(true, "", "")), "./balkor.dat");
}

TEST(SettingsLocation, OtherwiseInTheUsersConfigurationFolder) {
    EXPECT_EQ(SettingsFilePath("/usr/bin/balkor", Environment(false, "/cfg", "/home/anna")),
              "/cfg/balkor/balkor.dat");
    EXPECT_EQ(SettingsFilePath("/usr/bin/balkor", Environment(false, "", "/home/anna")),
              "/home/anna/.config/balkor/balkor.dat");
    // A relative XDG_CONFIG_HOME is not valid and is ignored.
    EXPECT_EQ(SettingsFilePath("/usr/bin/balkor", Environment(false, "cfg", "/home/anna")),
              "/home/anna/.config/balkor/balkor.dat");
}

// A writable folder with the given existing folders (an installation's
// "share/balkor" among them or not).
SettingsEnvironment WritableWithFolders(std::vector<std::string> folders) {
    SettingsEnvironment env = Environment(true, "", "/home/anna");
    env.folderExists = [folders](const std::string& folder) {
        return std::find(folders.begin(), folders.end(), folder) != folders.end();
    };
    return env;
}

TEST(SettingsLocation, AnInstalledProgramUsesTheConfigurationFolderEvenWhereItMayWrite) {
    // root may write /usr/bin; the file still goes to the user's folder.
    const struct {
        const char* program;
        const char* sharedFolder;
    } installations[] = {
        {"/usr/bin/balkor", "/usr/share/balkor"},
        {"/usr/local/bin/balkor", "/usr/local/share/balkor"},
        {"/opt/balkor/bin/balkor-batch", "/opt/balkor/share/balkor"},
        {"/tmp/root/usr/bin/balkor", "/tmp/root/usr/share/balkor"},
    };
    for (const auto& installed : installations) {
        const auto env = WritableWithFolders({installed.sharedFolder});
        EXPECT_TRUE(IsInstalledProgramFolder(
            std::filesystem::path(installed.program).parent_path().string(), env))
            << installed.program;
        const std::string expected =
            "/home/anna/.config/balkor/" +
            std::filesystem::path(installed.program).filename().replace_extension(".dat").string();
        EXPECT_EQ(SettingsFilePath(installed.program, env), expected) << installed.program;
    }
}

TEST(SettingsLocation, ABuildFolderIsNoInstallation) {
    const auto env = WritableWithFolders({"/usr/share/balkor", "/home/anna/share/balkor"});
    // Not named "bin", or a "bin" without "share/balkor" beside it.
    EXPECT_FALSE(IsInstalledProgramFolder("/home/anna/balkor/build/src/app", env));
    EXPECT_FALSE(IsInstalledProgramFolder("/home/anna/work/bin", env));
    EXPECT_EQ(SettingsFilePath("/home/anna/work/bin/balkor", env),
              "/home/anna/work/bin/balkor.dat");
    // A trailing separator or a "." still names the folder.
    EXPECT_TRUE(IsInstalledProgramFolder("/usr/bin/", env));
    EXPECT_TRUE(IsInstalledProgramFolder("/usr/./bin", env));
    EXPECT_TRUE(IsInstalledProgramFolder("/home/anna/bin", env));
    // Without a way to look at folders nothing counts as installed.
    EXPECT_FALSE(IsInstalledProgramFolder("/usr/bin", Environment(true, "", "/home/anna")));
}

TEST(SettingsLocation, NoPlaceWithoutAProgramNameOrAHome) {
    EXPECT_EQ(SettingsFilePath("/usr/bin/balkor", Environment(false, "", "")), "");
    EXPECT_EQ(SettingsFilePath("", Environment(true, "/cfg", "/home/anna")), "");
}

TEST(SettingsLocation, TheRunningProgramIsFound) {
    const std::string program = CurrentProgramPath();
    EXPECT_EQ(std::filesystem::path(program).filename(), "test_settings");
    const auto env = ProcessSettingsEnvironment();
    ASSERT_TRUE(env.folderWritable);
    EXPECT_TRUE(env.folderWritable(std::filesystem::temp_directory_path().string()));
    EXPECT_FALSE(env.folderWritable("/no/such/folder"));
    ASSERT_TRUE(env.folderExists);
    EXPECT_TRUE(env.folderExists(std::filesystem::temp_directory_path().string()));
    EXPECT_FALSE(env.folderExists("/no/such/folder"));
    EXPECT_EQ(std::filesystem::path(DefaultSettingsFilePath()).filename(), "test_settings.dat");
}

} // namespace
