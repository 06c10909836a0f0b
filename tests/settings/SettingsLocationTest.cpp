#include "settings/SettingsLocation.h"

#include <filesystem>
#include <gtest/gtest.h>

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
    EXPECT_EQ(std::filesystem::path(DefaultSettingsFilePath()).filename(), "test_settings.dat");
}

} // namespace
