#pragma once

#include "settings/SettingsTree.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

// A fresh settings tree per test; every variable gets its default back
// afterwards, so the next tree again takes the built-in values as defaults.
class SettingsTreeTest : public ::testing::Test {
protected:
    void SetUp() override { tree = BuildSettingsTree(); }
    void TearDown() override { tree->ResetAll(); }

    std::unique_ptr<TreeClass> tree;
};

// A settings tree and a scratch folder that is removed afterwards.
class SettingsFileTest : public SettingsTreeTest {
protected:
    void SetUp() override {
        SettingsTreeTest::SetUp();
        static int counter = 0;
        folder =
            std::filesystem::temp_directory_path() /
            ("balkor-settings-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(folder);
        file = (folder / "balkor.dat").string();
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        SettingsTreeTest::TearDown();
    }

    void WriteRaw(const std::string& bytes) const {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string ReadRaw() const {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    std::filesystem::path folder;
    std::string file;
};

// Keys of settings the tests use, written out as the concatenated names.
inline const std::string kGraphics = "EinstellungGrafikeinstellung";
inline const std::string kNodeColourKey = kGraphics + "GeometrieKnotenFarbe";
inline const std::string kNodeSizeKey = kGraphics + "GeometrieKnotenGröße";
inline const std::string kNodeLoadLineWidthKey = kGraphics + "BelastungKnotenlastenLiniendicke";
inline const std::string kZwvLineWidthKey = kGraphics + "BelastungZwangsverformungenLiniendicke";
inline const std::string kTempColourKey = kGraphics + "BelastungTemperaturlastenFarbe";
inline const std::string kEditorKey =
    "EinstellungEditor und SeitenränderEditor für die Darstellung der Protokolle";
