#include "settings/WindowState.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using WindowStateFileTest = SettingsFileTest;

WindowState Parsed(std::initializer_list<std::string_view> lines) {
    WindowState state;
    for (std::string_view line : lines)
        ApplyWindowStateLine(state, line);
    return state;
}

TEST(WindowStateTest, LiesBesideTheSettingsFile) {
    EXPECT_EQ(WindowStatePath("/home/u/.config/balkor/balkor.dat"),
              "/home/u/.config/balkor/balkor-fenster.dat");
    EXPECT_EQ(WindowStatePath(""), "");
}

TEST(WindowStateTest, ReadsWhatItWrites) {
    WindowState state;
    state.mainWindow = WindowRect{-8, 30, 1200, 850};
    state.maximised = true;
    state.fileFolder = "/home/u/Brücken";
    EXPECT_EQ(WindowStateText(state), "Hauptfenster = -8 30 1200 850\n"
                                      "Hauptfenster maximiert = 1\n"
                                      "Ordner der Dateidialoge = /home/u/Brücken\n");
    WindowState read;
    size_t start = 0;
    const std::string text = WindowStateText(state);
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        ApplyWindowStateLine(read, std::string_view(text).substr(start, end - start));
    EXPECT_EQ(read, state);
}

TEST(WindowStateTest, ValuesThatMakeNoSenseAreIgnored) {
    const std::string_view bad[] = {
        "Hauptfenster = 0 0 99 500",
        "Hauptfenster = 0 0 500 99",
        "Hauptfenster = 0 0 800",
        "Hauptfenster = 0 0 800 600 7",
        "Hauptfenster = 100001 0 800 600",
        "Hauptfenster = 0 0 800 100001",
        "Hauptfenster = 0 0 8e2 600",
        "Hauptfenster = 0 0 99999999999 600",
        "Hauptfenster = a b c d",
        "Hauptfenster maximiert = 2",
        "Hauptfenster maximiert = ja",
        "Ordner der Dateidialoge = relativ/ordner",
        "Ordner der Dateidialoge = ",
        "Ordner der Dateidialoge = /a\x01z",
        "Unbekannt = 1",
        "Hauptfenster 0 0 800 600",
    };
    for (std::string_view line : bad)
        EXPECT_EQ(Parsed({line}), WindowState()) << line;
    // The limits themselves are taken.
    EXPECT_EQ(Parsed({"Hauptfenster = -100000 100000 100 100000"}).mainWindow,
              (WindowRect{-100000, 100000, 100, 100000}));
}

TEST(WindowStateTest, ABadLineKeepsTheGoodValueBeforeIt) {
    const WindowState state = Parsed({"Hauptfenster = 10 20 900 700", "Hauptfenster = 1 2 3 4",
                                      "  Ordner der Dateidialoge\t=  /tmp/x  "});
    EXPECT_EQ(state.mainWindow, (WindowRect{10, 20, 900, 700}));
    EXPECT_EQ(state.fileFolder, "/tmp/x");
}

TEST_F(WindowStateFileTest, FileRoundTripWithAnyLineEnds) {
    const std::string path = WindowStatePath(file);
    EXPECT_EQ(ReadWindowState(path), WindowState());
    std::ofstream(path, std::ios::binary)
        << "Hauptfenster = 5 6 700 500\r\nOrdner der Dateidialoge = /srv\rMüll\n";
    const WindowState read = ReadWindowState(path);
    EXPECT_EQ(read.mainWindow, (WindowRect{5, 6, 700, 500}));
    EXPECT_EQ(read.fileFolder, "/srv");

    WindowState state;
    state.fileFolder = "/home/u";
    const std::string nested = (folder / "neu" / "balkor-fenster.dat").string();
    ASSERT_TRUE(WriteWindowState(state, nested));
    EXPECT_EQ(ReadWindowState(nested), state);
}

TEST_F(WindowStateFileTest, AFolderOrAnOversizedFileGivesTheEmptyState) {
    EXPECT_EQ(ReadWindowState(folder.string()), WindowState());
    const std::string path = WindowStatePath(file);
    std::ofstream(path, std::ios::binary) << "Ordner der Dateidialoge = /srv\n"
                                          << std::string(70000, '#');
    EXPECT_EQ(ReadWindowState(path), WindowState());
}

} // namespace
