// balkor-batch --svg: the pictures are well-formed SVG documents holding
// exactly the drawing list of a new graphics window, with the picture's view,
// toggles, size and drawing settings.

#include "BatchProcess.h"
#include "analysis/SolutionsCont.h"
#include "batch/BatchPictures.h"
#include "graphics/GraphicsTestSupport.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <cstdlib>
#include <expat.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What an SVG document holds, read with an XML parser.
struct SvgSummary {
    bool wellFormed = false;
    std::string error;
    std::string root;
    int width = 0, height = 0;
    long segments = 0; // lines of all paths: points after an "M" but the first
    int polygons = 0;
    std::string strokes; // every stroke colour, one after the other
};

// "M" starts a polyline (also straight after a number); the numbers are the
// coordinates of its points.
long PathSegments(const char* d) {
    std::string spaced;
    for (const char* c = d; *c; ++c)
        spaced += *c == 'M' ? std::string(" M ") : std::string(1, *c);
    std::istringstream in(spaced);
    std::string token;
    long numbers = 0, moves = 0;
    while (in >> token)
        (token == "M" ? moves : numbers) += 1;
    return numbers / 2 - moves;
}

void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& svg = *static_cast<SvgSummary*>(data);
    const std::string element = name;
    if (svg.root.empty())
        svg.root = element;
    for (int i = 0; attributes[i]; i += 2) {
        const std::string key = attributes[i];
        const char* value = attributes[i + 1];
        if (element == "svg" && key == "width")
            svg.width = std::atoi(value);
        else if (element == "svg" && key == "height")
            svg.height = std::atoi(value);
        else if (element == "path" && key == "d")
            svg.segments += PathSegments(value);
        else if (key == "stroke")
            svg.strokes += std::string(value) + " ";
    }
    svg.polygons += element == "polygon";
}

void XMLCALL EndElement(void*, const XML_Char*) {}

SvgSummary ParseSvg(const std::string& text) {
    SvgSummary svg;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &svg);
    XML_SetElementHandler(parser, StartElement, EndElement);
    svg.wellFormed =
        XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    if (!svg.wellFormed)
        svg.error = XML_ErrorString(XML_GetErrorCode(parser));
    XML_ParserFree(parser);
    return svg;
}

// The drawing list of the same picture, drawn in this process with the
// default settings: its line and polygon records.
struct ListSummary {
    long lines = 0;
    int polygons = 0;
};

ListSummary DrawnList(const SvgPicture& picture, const std::string& name) {
    InputModel input;
    SolutionsCont solutions(input);
    EXPECT_TRUE(LoadSystemFile(input, Example(name + ".bsy")));
    EXPECT_TRUE(LoadLoadCaseFile(input, Example(name + ".bld")));
    EXPECT_TRUE(solutions.Calculate().ok);
    ViewState view;
    PaintContainer list;
    DrawPicture(picture, input, &solutions, view, list);
    ListSummary summary;
    for (const DecodedRecord& r : Decode(list)) {
        summary.lines += r.kind == kPaintLine;
        summary.polygons += r.kind == kPaintPolygon;
    }
    return summary;
}

TEST(BatchSvg, EveryViewOfTheExamplesMatchesItsDrawingList) {
    TempDir dir;
    const std::string settings = dir.Write("leer.dat", ""); // the default settings
    for (const char* name : {"beispiel", "zweifeld", "bruecke"}) {
        std::vector<std::string> args = {"-q", Example(std::string(name) + ".bsy"),
                                         Example(std::string(name) + ".bld"), "--settings",
                                         settings};
        for (const SceneTabInfo& tab : kSceneTabs) // one --svg per view
            args.insert(args.end(), {"--svg", dir.Path(std::string(name) + tab.name + ".svg"),
                                     "--view", tab.name});
        const ProcessResult r = RunBatchProgram(args);
        ASSERT_EQ(r.exitCode, kExitOk) << r.err;
        EXPECT_EQ(r.out, "") << "pictures only, no results protocol";
        for (int tab = 0; tab < kSceneTabCount; ++tab) {
            const std::string what = std::string(name) + " " + kSceneTabs[tab].name;
            const SvgSummary svg =
                ParseSvg(ReadFile(dir.Path(std::string(name) + kSceneTabs[tab].name + ".svg")));
            ASSERT_TRUE(svg.wellFormed) << what << ": " << svg.error;
            EXPECT_EQ(svg.root, "svg") << what;
            EXPECT_EQ(svg.width, 1200) << what;
            EXPECT_EQ(svg.height, 800) << what;
            SvgPicture picture;
            picture.tab = tab;
            const ListSummary list = DrawnList(picture, name);
            EXPECT_GT(list.lines, 40) << what;
            EXPECT_EQ(svg.segments, list.lines) << what;
            EXPECT_EQ(svg.polygons, list.polygons) << what;
        }
    }
}

TEST(BatchSvg, TogglesAndSizeChangeThePicture) {
    TempDir dir;
    const std::string settings = dir.Write("leer.dat", "");
    const ProcessResult r =
        RunBatchProgram({"-q", Example("bruecke.bsy"), Example("bruecke.bld"), "--settings",
                         settings, "--svg", dir.Path("plain.svg"), "--svg", dir.Path("numbers.svg"),
                         "--show", "Knotennummern,Stabnummern", "--size", "640x480", "--svg",
                         dir.Path("unloaded.svg"), "--show", "-Belastung"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    const SvgSummary plain = ParseSvg(ReadFile(dir.Path("plain.svg")));
    const SvgSummary numbers = ParseSvg(ReadFile(dir.Path("numbers.svg")));
    const SvgSummary unloaded = ParseSvg(ReadFile(dir.Path("unloaded.svg")));
    EXPECT_EQ(numbers.width, 640);
    EXPECT_EQ(numbers.height, 480);
    EXPECT_GT(numbers.segments, plain.segments);
    EXPECT_LT(unloaded.segments, plain.segments);
    SvgPicture picture;
    picture.on = ShowNodeNumbers | ShowBeamNumbers;
    EXPECT_EQ(numbers.segments, DrawnList(picture, "bruecke").lines);
}

TEST(BatchSvg, TheSettingsFileColoursThePicture) {
    TempDir dir;
    const std::string magenta =
        dir.Write("magenta.dat", "EinstellungGrafikeinstellungGeometrieKnotenFarbe = 16711935\n");
    const std::string plain = dir.Write("leer.dat", "");
    for (const auto& [file, expected] : {std::pair{magenta, true}, std::pair{plain, false}}) {
        const ProcessResult r =
            RunBatchProgram({"-q", Example("beispiel.bsy"), Example("beispiel.bld"), "--settings",
                             file, "--svg", dir.Path("b.svg")});
        ASSERT_EQ(r.exitCode, kExitOk) << r.err;
        EXPECT_EQ(Contains(ParseSvg(ReadFile(dir.Path("b.svg"))).strokes, "#ff00ff"), expected);
    }
    const ProcessResult r = RunBatchProgram({"-q", Example("beispiel.bsy"), "--settings",
                                             dir.Path("fehlt.dat"), "--svg", dir.Path("c.svg")});
    EXPECT_EQ(r.exitCode, kExitSettingsFile);
    EXPECT_EQ(r.err, "Fehler beim öffnen der Einstellungsdatei: " + dir.Path("fehlt.dat") + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("c.svg")));
}

// Results views need results: after a failed analysis they are not written,
// and the run ends with the failure's code; the input can still be seen.
TEST(BatchSvg, AFailedAnalysisGivesItsCodeAndOnlyTheGeometry) {
    TempDir dir;
    const std::string system =
        dir.Write("frei.bsy", "NODES\n2\n    1 0.0 0.0 0 0 0 0.0\n    2 6.0 0.0 0 0 0 0.0\n\n"
                              "BEAMS\n1\n    1 1 2 1 0.3 5\n\nMATERIALS\n1\n"
                              "    1 2.1e+08 8.1e+07 2.5e-04 1.8e-06 1.2e-05\n\nHINGES\n0\n\n");
    const std::string old = dir.Write("moment.svg", "alt");
    const ProcessResult r =
        RunBatchProgram({"-q", system, "--svg", old, "--view", "Biegemoment", "--svg",
                         dir.Path("geometrie.svg"), "--view", "Geometrie"});
    EXPECT_EQ(r.exitCode, kExitSingular);
    EXPECT_TRUE(Contains(r.err, "Keine Ergebnisse sind vorhanden: Bild " + old +
                                    " (Biegemoment) nicht geschrieben\n"))
        << r.err;
    EXPECT_EQ(ReadFile(old), "alt");
    EXPECT_TRUE(ParseSvg(ReadFile(dir.Path("geometrie.svg"))).wellFormed);
}

TEST(BatchSvg, APictureOnStandardOutput) {
    const ProcessResult r =
        RunBatchProgram({"-q", Example("beispiel.bsy"), "--svg", "-", "--view", "Geometrie"});
    ASSERT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_TRUE(ParseSvg(r.out).wellFormed);
}

TEST(BatchSvg, TheDesktopProgramsSettingsFile) {
    SettingsEnvironment env;
    env.home = "/home/anna";
    env.folderWritable = [](const std::string& folder) { return folder == "/opt/balkor"; };
    EXPECT_EQ(ProgramSettingsPath("/opt/balkor/balkor-batch", env), "/opt/balkor/balkor.dat");
    EXPECT_EQ(ProgramSettingsPath("/usr/bin/balkor-batch", env),
              "/home/anna/.config/balkor/balkor.dat");
    EXPECT_EQ(ProgramSettingsPath("", env), "");
}

} // namespace
