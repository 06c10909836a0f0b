#include "settings/SettingsFile.h"

#include "SettingsTestSupport.h"
#include "model/SafeFile.h"

#include <clocale>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using SettingsWriteTest = SettingsFileTest;

TEST_F(SettingsWriteTest, AFreshTreeWritesAnEmptyFile) {
    WriteRaw("stale content\n");
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(ReadRaw(), "");
}

TEST_F(SettingsWriteTest, OneChangedColourWritesOneLineWithItsFullKey) {
    GeoNodeColour = Rgb(255, 0, 0);
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), "EinstellungGrafikeinstellungGeometrieKnotenFarbe = 255\n");
}

TEST_F(SettingsWriteTest, AChangedSharedRealWritesTwoLines) {
    LoadNodeLineWidth = 0.004;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(),
              kNodeLoadLineWidthKey + " = 0.004000\n" + kZwvLineWidthKey + " = 0.004000\n");
}

TEST_F(SettingsWriteTest, LinesFollowTheTreeOrder) {
    MarginTop = 7.5;
    GeoNodeSize = 0.01;
    EditorProgram = "/usr/bin/mousepad";
    ResDeflectionLineColour = -1;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), kNodeSizeKey + " = 0.010000\n" + kGraphics +
                             "ErgebnisseVerformungenLinieFarbe = -1\n" + kEditorKey +
                             " = /usr/bin/mousepad\n" +
                             "EinstellungEditor und SeitenränderSeitenränder (nur für "
                             "Grafikausdruck)Oben = 7.500000\n");
}

TEST_F(SettingsWriteTest, TheTemperatureColourIsStoredAsAReal) {
    LoadTempColour = 255;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), kTempColourKey + " = 255.000000\n");
    EXPECT_EQ(tree->FindByKey(kTempColourKey)->Kind(), SettingKind::Real);
}

TEST_F(SettingsWriteTest, ATinyRealIsWrittenAsZeroAndReadsBackAsZero) {
    GeoNodeSize = 0.0000004;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), kNodeSizeKey + " = 0.000000\n");
    tree->ResetAll();
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeSize, 0.0);
}

TEST_F(SettingsWriteTest, AfterAResetTheFileIsEmpty) {
    GeoNodeColour = 1;
    MarginLeft = 10;
    tree->ResetAll();
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), "");
}

TEST_F(SettingsWriteTest, TheDecimalPointIsAPeriodInAnyLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    MarginLeft = 7.5;
    const bool written = WriteSettingsFile(*tree, file);
    tree->ResetAll();
    ReadSettings(*tree, file);
    std::setlocale(LC_NUMERIC, previous.c_str());
    ASSERT_TRUE(written);
    EXPECT_NE(ReadRaw().find("Links = 7.500000\n"), std::string::npos);
    EXPECT_EQ(MarginLeft, 7.5);
}

// Mended: a text with a line break would come back cut, and its second line
// could set another setting; a line the reader must cut would come back
// shortened. Such a text is not stored and the file stays sound.
TEST_F(SettingsWriteTest, ATextThatCannotBeReadBackIsNotStored) {
    EditorProgram = "viewer\n" + kNodeColourKey + " = 255";
    GeoNodeSize = 0.01;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), kNodeSizeKey + " = 0.010000\n");

    EditorProgram = "/" + std::string(1000, 'x');
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(ReadRaw(), kNodeSizeKey + " = 0.010000\n");

    // The longest text that still fits on one line of the reader is kept.
    EditorProgram = std::string(999 - kEditorKey.size() - 3, 'y');
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    tree->ResetAll();
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(EditorProgram, std::string(999 - kEditorKey.size() - 3, 'y'));
}

TEST_F(SettingsWriteTest, AMissingFolderIsCreated) {
    const std::string nested = (folder / "config" / "balkor" / "balkor.dat").string();
    GeoNodeColour = 7;
    ASSERT_TRUE(WriteSettingsFile(*tree, nested));
    GeoNodeColour = 0;
    ASSERT_TRUE(ReadSettings(*tree, nested));
    EXPECT_EQ(GeoNodeColour, 7);
}

TEST_F(SettingsWriteTest, ALinkedSettingsFileStaysALink) {
    const auto target = folder / "real.dat";
    std::ofstream(target) << "";
    std::filesystem::create_symlink(target, file);
    GeoNodeColour = 7;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(ReadRaw(), kNodeColourKey + " = 7\n");
}

TEST_F(SettingsWriteTest, TheFilePermissionsAreKept) {
    WriteRaw("");
    ::chmod(file.c_str(), 0600);
    GeoNodeColour = 7;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    EXPECT_EQ(std::filesystem::status(file).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// Mended: the file was created anew before writing, so a full disk left a
// cut or empty settings file behind.
TEST_F(SettingsWriteTest, AFailingWriteLeavesTheOldFileUntouched) {
    WriteRaw(kNodeColourKey + " = 7\n");
    const FileWrite replaced = WriteFileSafely(file, [](std::FILE* out) {
        std::fputs("Einstellung", out);
        return false; // as when the disk ran full
    });
    EXPECT_EQ(replaced, FileWrite::kFailed);
    EXPECT_EQ(ReadRaw(), kNodeColourKey + " = 7\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 1) << "the unfinished file is removed";
}

TEST_F(SettingsWriteTest, AFullDeviceIsReportedAsAFailedWrite) {
    std::FILE* full = std::fopen("/dev/full", "w");
    if (!full)
        GTEST_SKIP() << "no /dev/full";
    std::setvbuf(full, nullptr, _IONBF, 0);
    GeoNodeColour = 7;
    EXPECT_FALSE(tree->WriteSettings(full));
    std::fclose(full);
}

TEST_F(SettingsWriteTest, AnImpossiblePlaceIsSkipped) {
    WriteRaw("");
    GeoNodeColour = 7;
    EXPECT_FALSE(WriteSettingsFile(*tree, file + "/balkor.dat"));
    EXPECT_FALSE(WriteSettingsFile(*tree, ""));
    EXPECT_FALSE(WriteSettingsFile(*tree, folder.string() + "/"));
    EXPECT_EQ(ReadRaw(), "");
}

using SettingsReadTest = SettingsFileTest;

TEST_F(SettingsReadTest, WrittenSettingsReadBack) {
    GeoNodeColour = Rgb(1, 2, 3);
    LoadNodeTextSize = 0.125;
    EditorProgram = "/opt/Mein Betrachter/view = 2";
    MarginRight = 12.5;
    ASSERT_TRUE(WriteSettingsFile(*tree, file));
    tree->ResetAll();
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeColour, Rgb(1, 2, 3));
    EXPECT_EQ(LoadNodeTextSize, 0.125);
    EXPECT_EQ(EditorProgram, "/opt/Mein Betrachter/view = 2");
    EXPECT_EQ(MarginRight, 12.5);
}

TEST_F(SettingsReadTest, AMissingFileChangesNothing) {
    EXPECT_FALSE(ReadSettings(*tree, file));
    EXPECT_FALSE(ReadSettings(*tree, folder.string()));
    EXPECT_FALSE(ReadSettings(*tree, "/dev/zero"));
    EXPECT_FALSE(ReadSettings(*tree, ""));
    EXPECT_EQ(GeoNodeColour, Rgb(0, 128, 0));
}

TEST_F(SettingsReadTest, KeysAndValuesAreTrimmed) {
    WriteRaw("  \t" + kNodeColourKey + "\t=\t 255 \r\n" + kEditorKey + " =   my viewer  \x01\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeColour, 255);
    EXPECT_EQ(EditorProgram, "my viewer");
}

TEST_F(SettingsReadTest, KeysMustMatchExactly) {
    WriteRaw("EinstellungGrafikeinstellungGeometrieKnotenFarbE = 255\n"
             "Einstellung Grafikeinstellung Geometrie Knoten Farbe = 255\n"
             "EinstellungGrafikeinstellungGeometrie KnotenFarbe = 255\n"
             "GrafikeinstellungGeometrieKnotenFarbe = 255\n"
             "EinstellungGrafikeinstellungGeometrieKnotenGroße = 1\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeColour, Rgb(0, 128, 0));
    EXPECT_EQ(GeoNodeSize, 0.005);
}

TEST_F(SettingsReadTest, GroupKeysUnknownKeysAndLinesWithoutEqualsAreIgnored) {
    WriteRaw(kGraphics + "GeometrieKnoten = 1\n" + "Einstellung = 1\n" + "Unbekannt = 3\n" +
             kNodeColourKey + " 255\n" + "\n" + "=\n" + " = 5\n" + kNodeSizeKey + " = 0.5\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeColour, Rgb(0, 128, 0));
    EXPECT_EQ(GeoNodeSize, 0.5);
}

TEST_F(SettingsReadTest, LaterLinesWin) {
    WriteRaw(kNodeSizeKey + " = 0.5\n" + kNodeSizeKey + " = 0.25\n" + kZwvLineWidthKey +
             " = 0.007\n" + kNodeLoadLineWidthKey + " = 0.006\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeSize, 0.25);
    EXPECT_EQ(LoadNodeLineWidth, 0.006);
}

TEST_F(SettingsReadTest, ValuesThatAreNoNumbersReadAsZero) {
    WriteRaw(kNodeColourKey + " = grün\n" + kNodeSizeKey + " = klein\n" + kTempColourKey + " = \n");
    LoadTempColour = 3;
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeColour, 0);
    EXPECT_EQ(GeoNodeSize, 0.0);
    EXPECT_EQ(LoadTempColour, 0.0);
}

TEST_F(SettingsReadTest, OverlongLinesAreHarmless) {
    // Only the first 999 characters form the line; the rest comes as a line
    // of its own, which has no "=" here.
    WriteRaw(std::string(5000, 'x') + "\n" + kNodeSizeKey + " = 0.5" + std::string(1200, '0') +
             "7\n" + std::string(3000, '=') + "\n" + kNodeColourKey + " = 9\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeSize, 0.5);
    EXPECT_EQ(GeoNodeColour, 9);
}

TEST_F(SettingsReadTest, AWindowsFileWithUmlautsInItsKeysApplies) {
    // "Größe" and "Stäbe" in Windows-1252: ö = F6, ß = DF, ä = E4.
    WriteRaw(kGraphics +
             "GeometrieKnotenGr\xF6\xDF"
             "e = 0.01\r\n" +
             kGraphics +
             "GeometrieSt\xE4"
             "beFarbe = 255\r\n" +
             kEditorKey.substr(0, 25) + "\r\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeSize, 0.01);
    EXPECT_EQ(GeoBeamColour, 255);
}

TEST_F(SettingsReadTest, AWindowsTextValueIsConvertedToUtf8) {
    WriteRaw(kGraphics +
             "GeometrieKnotenGr\xF6\xDF"
             "e = 0.01\n" +
             "EinstellungEditor und Seitenr\xE4nderEditor f\xFCr die Darstellung der "
             "Protokolle = C:\\Programme\\Betrachter \x80\\view.exe\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(EditorProgram, "C:\\Programme\\Betrachter €\\view.exe");
}

TEST_F(SettingsReadTest, AUtf8FileWithAByteOrderMarkApplies) {
    WriteRaw("\xEF\xBB\xBF" + kNodeSizeKey + " = 0.02\n");
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeSize, 0.02);
}

TEST_F(SettingsReadTest, NulBytesAndBinaryNoiseAreHarmless) {
    std::string noise;
    for (int i = 0; i < 4096; ++i)
        noise += static_cast<char>((i * 37 + 11) % 256);
    // Not UTF-8, so read as Windows-1252; the key of this line is plain ASCII.
    WriteRaw(noise + "\n" + kNodeColourKey + " = 17\n" + std::string("\0\0=\0", 4));
    ASSERT_TRUE(ReadSettings(*tree, file));
    EXPECT_EQ(GeoNodeColour, 17);
}

} // namespace
