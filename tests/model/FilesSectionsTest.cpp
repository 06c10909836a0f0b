// Sections of system and load-case files: layout, record lines, and the
// reader's behaviour on unusual but possible files.

#include "FilesTestSupport.h"
#include "model/LineReader.h"
#include "model/SectionFile.h"
#include "model/Tables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The system and the load case of the format's example, byte for byte.
const std::string kExampleSystem =
    Crlf("NODES\n"
         "2\n"
         "    1 0.00000000000000e+00 0.00000000000000e+00 1 1 1 0.00000000000000e+00\n"
         "    2 5.00000000000000e+00 0.00000000000000e+00 0 0 0 0.00000000000000e+00\n"
         "\n"
         "BEAMS\n"
         "1\n"
         "    1 1 2 1 3.000000e-01 5\n"
         "\n"
         "MATERIALS\n"
         "1\n"
         "    1 2.10000000000000e+08 8.10000000000000e+07 2.00000000000000e-04 "
         "3.00000000000000e-04 1.20000000000000e-05\n"
         "\n"
         "HINGES\n"
         "0\n"
         "\n");

const std::string kExampleLoadCase =
    Crlf("NODELOAD\n"
         "1\n"
         "    1     2     2 -1.00000000000000e+01 0.00000000000000e+00 0.00000000000000e+00\n"
         "\n"
         "BEAMLOAD\n0\n\n"
         "POINTLOAD\n0\n\n"
         "CONSTRAINTLOAD\n0\n\n"
         "TEMPERATURELOAD\n0\n\n"
         "HINGELOAD\n0\n\n");

void FillExampleSystem(InputModel& m) {
    PutRecord(m.nodes, 1, NodeRec{.x = 0, .y = 0, .fixZ = 1, .fixRx = 1, .fixRy = 1});
    PutRecord(m.nodes, 2, NodeRec{.x = 5, .y = 0});
    PutRecord(m.beams, 1,
              BeamRec{.start = 1, .end = 2, .section = 1, .intervals = 5, .thickness = 0.3});
    PutRecord(m.mats, 1, MatRec{.E = 2.1e8, .G = 8.1e7, .It = 3e-4, .Iy = 2e-4, .alphaT = 1.2e-5});
}

std::string WriteTables(InputContainer* const* tables, int n) {
    TextFile file;
    for (int i = 0; i < n; ++i)
        tables[i]->WriteSection(file.Get());
    return file.Contents();
}

void ReadTables(InputContainer* const* tables, int n, const std::string& text) {
    TextFile file(text);
    for (int i = 0; i < n; ++i)
        tables[i]->ReadSection(file.Get());
}

std::string WriteSystem(InputModel& m) {
    return WriteTables(m.systemTables, 4);
}
std::string WriteLoadCase(InputModel& m) {
    return WriteTables(m.loadTables, 6);
}
void ReadSystem(InputModel& m, const std::string& text) {
    ReadTables(m.systemTables, 4, text);
}
void ReadLoadCase(InputModel& m, const std::string& text) {
    ReadTables(m.loadTables, 6, text);
}

// Values that need all 15 significant digits.
constexpr double kA = 1.23456789012345e-7;
constexpr double kB = -9.87654321098765e+12;
constexpr double kC = 3.14159265358979;

void ExpectNear15(double expected, double actual) {
    EXPECT_NEAR(actual, expected, std::abs(expected) * 1e-14) << expected;
}

// Every table of both files with gaps in its rows and values of full precision.
void FillEverything(InputModel& m) {
    PutRecord(m.nodes, 1, NodeRec{.x = kA, .y = kB, .fixZ = 1, .fixRx = 0, .fixRy = 1, .skew = kC});
    PutRecord(m.nodes, 2, NodeRec{.x = -kC, .y = 0.0});
    PutRecord(m.nodes, 5, NodeRec{.x = 1e300, .y = -1e-300, .fixZ = 0, .fixRx = 1, .skew = -45});
    PutRecord(m.beams, 2,
              BeamRec{.start = 1, .end = 5, .section = 3, .intervals = 12, .thickness = kC});
    PutRecord(m.mats, 3, MatRec{.E = kB, .G = kA, .It = kC, .Iy = 2 * kA, .alphaT = 1e-5});
    PutRecord(m.hinges, 4, HingeRec{.beam = 2, .pos = kA, .type = kHingeTorsion});
    PutRecord(m.nodeLoads, 1, NodeLoadRec{.from = 1, .to = 12345, .Fz = kA, .Mx = kB, .My = kC});
    PutRecord(m.beamLoads, 3,
              BeamLoadRec{.from = 2, .to = 1, .qStart = kA, .qEnd = kB, .mtStart = kC, .mtEnd = 1});
    PutRecord(m.pointLoads, 2, PointLoadRec{.beam = 7, .pos = 1.5, .Q = kA, .Mb = kB, .Mt = kC});
    PutRecord(m.zwv, 6, ZwvRec{.from = -3, .to = 4, .w = kA, .rx = kB, .ry = kC});
    PutRecord(m.tempLoads, 1, TempLoadRec{.from = 1, .to = 2, .dT = kB});
    PutRecord(m.hingeLoads, 2,
              HingeLoadRec{.hinge = 4, .kind = kHingeLoadDeformation, .value = kC});
}

// The rows that are valid in a table, in ascending order.
std::vector<int> ValidRows(InputContainer& table) {
    std::vector<int> rows;
    for (int row = 0; row < table.Count(); ++row)
        if (table.IsRowUsed(row))
            rows.push_back(row);
    return rows;
}

void ExpectAllFromFile(InputContainer& table) {
    for (int row : ValidRows(table))
        EXPECT_EQ(static_cast<RecordHead*>(table.RowRecord(row))->flag, kFlagFile) << row;
}

void ExpectEverything(InputModel& m) {
    using Rows = std::vector<int>;
    EXPECT_EQ(ValidRows(m.nodes), (Rows{0, 1, 4}));
    EXPECT_EQ(ValidRows(m.beams), Rows{1});
    EXPECT_EQ(ValidRows(m.mats), Rows{2});
    EXPECT_EQ(ValidRows(m.hinges), Rows{3});
    EXPECT_EQ(ValidRows(m.nodeLoads), Rows{0});
    EXPECT_EQ(ValidRows(m.beamLoads), Rows{2});
    EXPECT_EQ(ValidRows(m.pointLoads), Rows{1});
    EXPECT_EQ(ValidRows(m.zwv), Rows{5});
    EXPECT_EQ(ValidRows(m.tempLoads), Rows{0});
    EXPECT_EQ(ValidRows(m.hingeLoads), Rows{1});
    for (InputContainer* table : m.systemTables)
        ExpectAllFromFile(*table);
    for (InputContainer* table : m.loadTables)
        ExpectAllFromFile(*table);

    const NodeRec& n1 = *m.nodes.RowRecord(0);
    ExpectNear15(kA, n1.x);
    ExpectNear15(kB, n1.y);
    EXPECT_EQ(n1.fixZ, 1);
    EXPECT_EQ(n1.fixRx, 0);
    EXPECT_EQ(n1.fixRy, 1);
    ExpectNear15(kC, n1.skew);
    ExpectNear15(-kC, m.nodes.RowRecord(1)->x);
    const NodeRec& n5 = *m.nodes.RowRecord(4);
    ExpectNear15(1e300, n5.x);
    ExpectNear15(-1e-300, n5.y);
    EXPECT_EQ(n5.fixRx, 1);
    EXPECT_EQ(n5.skew, -45.0);
    EXPECT_EQ(m.nodes.RowRecord(2)->flag, 0);
    EXPECT_EQ(m.nodes.RowRecord(3)->flag, 0);

    const BeamRec& beam = *m.beams.RowRecord(1);
    EXPECT_EQ(beam.start, 1);
    EXPECT_EQ(beam.end, 5);
    EXPECT_EQ(beam.section, 3);
    EXPECT_EQ(beam.intervals, 12);
    EXPECT_NEAR(beam.thickness, kC, kC * 1e-6); // written with 7 significant digits
    EXPECT_EQ(beam.thickness, 3.141593);

    const MatRec& mat = *m.mats.RowRecord(2);
    ExpectNear15(kB, mat.E);
    ExpectNear15(kA, mat.G);
    ExpectNear15(2 * kA, mat.Iy);
    ExpectNear15(kC, mat.It);
    ExpectNear15(1e-5, mat.alphaT);

    const HingeRec& hinge = *m.hinges.RowRecord(3);
    EXPECT_EQ(hinge.beam, 2);
    ExpectNear15(kA, hinge.pos);
    EXPECT_EQ(hinge.type, kHingeTorsion);

    const NodeLoadRec& nl = *m.nodeLoads.RowRecord(0);
    EXPECT_EQ(nl.from, 1);
    EXPECT_EQ(nl.to, 12345);
    ExpectNear15(kA, nl.Fz);
    ExpectNear15(kB, nl.Mx);
    ExpectNear15(kC, nl.My);

    // Read as written: ranges and positions are not corrected.
    const BeamLoadRec& bl = *m.beamLoads.RowRecord(2);
    EXPECT_EQ(bl.from, 2);
    EXPECT_EQ(bl.to, 1);
    ExpectNear15(kA, bl.qStart);
    ExpectNear15(kB, bl.qEnd);
    ExpectNear15(kC, bl.mtStart);
    EXPECT_EQ(bl.mtEnd, 1.0);

    const PointLoadRec& pl = *m.pointLoads.RowRecord(1);
    EXPECT_EQ(pl.beam, 7);
    EXPECT_EQ(pl.pos, 1.5);
    ExpectNear15(kA, pl.Q);
    ExpectNear15(kB, pl.Mb);
    ExpectNear15(kC, pl.Mt);

    const ZwvRec& z = *m.zwv.RowRecord(5);
    EXPECT_EQ(z.from, -3);
    EXPECT_EQ(z.to, 4);
    ExpectNear15(kA, z.w);
    ExpectNear15(kB, z.rx);
    ExpectNear15(kC, z.ry);

    EXPECT_EQ(m.tempLoads.RowRecord(0)->to, 2);
    ExpectNear15(kB, m.tempLoads.RowRecord(0)->dT);

    const HingeLoadRec& hl = *m.hingeLoads.RowRecord(1);
    EXPECT_EQ(hl.hinge, 4);
    EXPECT_EQ(hl.kind, kHingeLoadDeformation);
    ExpectNear15(kC, hl.value);
}

// The sections of a written file, each with its lines, in written order.
std::vector<std::string> SplitSections(const std::string& text) {
    std::vector<std::string> sections;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n\r\n", start)) != std::string::npos; start = end + 4)
        sections.push_back(text.substr(start, end + 4 - start));
    return sections;
}

} // namespace

TEST(SectionWrite, ExampleSystemByteForByte) {
    InputModel m;
    FillExampleSystem(m);
    EXPECT_EQ(WriteSystem(m), kExampleSystem);
}

TEST(SectionWrite, ExampleLoadCaseByteForByte) {
    InputModel m;
    PutRecord(m.nodeLoads, 1, NodeLoadRec{.from = 2, .to = 2, .Fz = -10});
    EXPECT_EQ(WriteLoadCase(m), kExampleLoadCase);
}

TEST(SectionWrite, EmptyTablesWriteKeywordCountAndEmptyLine) {
    InputModel m;
    EXPECT_EQ(WriteSystem(m), "NODES\r\n0\r\n\r\nBEAMS\r\n0\r\n\r\nMATERIALS\r\n0\r\n\r\n"
                              "HINGES\r\n0\r\n\r\n");
}

TEST(SectionWrite, GapsKeepTheRowNumbersAndIntegersArePadded) {
    InputModel m;
    PutRecord(m.hingeLoads, 3, HingeLoadRec{.hinge = 12, .kind = 1, .value = 0.5});
    PutRecord(m.hingeLoads, 17, HingeLoadRec{.hinge = 7, .kind = 0, .value = -2});
    TextFile file;
    m.hingeLoads.WriteSection(file.Get());
    EXPECT_EQ(file.Contents(), Crlf("HINGELOAD\n2\n"
                                    "    3    12     1 5.00000000000000e-01\n"
                                    "   17     7     0 -2.00000000000000e+00\n\n"));
}

TEST(SectionRead, ExampleSystemValues) {
    InputModel m;
    ReadSystem(m, kExampleSystem);
    ASSERT_EQ(m.nodes.ValidCount(), 2);
    EXPECT_EQ(m.nodes.RowRecord(1)->x, 5.0);
    EXPECT_EQ(m.nodes.RowRecord(0)->fixRy, 1);
    EXPECT_EQ(m.beams.RowRecord(0)->thickness, 0.3);
    EXPECT_EQ(m.beams.RowRecord(0)->intervals, 5);
    // The file stores Iy before It.
    EXPECT_EQ(m.mats.RowRecord(0)->Iy, 2e-4);
    EXPECT_EQ(m.mats.RowRecord(0)->It, 3e-4);
    EXPECT_EQ(m.mats.RowRecord(0)->alphaT, 1.2e-5);
    EXPECT_EQ(m.hinges.ValidCount(), 0);
    ExpectAllFromFile(m.nodes);
}

TEST(SectionRead, RoundTripKeepsRowsValuesAndMarksRowsAsRead) {
    InputModel written;
    FillEverything(written);
    const std::string system = WriteSystem(written);
    const std::string loadCase = WriteLoadCase(written);
    InputModel m;
    ReadSystem(m, system);
    ReadLoadCase(m, loadCase);
    ExpectEverything(m);
    // And once more: what was read writes the same text.
    EXPECT_EQ(WriteSystem(m), system);
    EXPECT_EQ(WriteLoadCase(m), loadCase);
}

TEST(SectionRead, LineFeedOnlyFilesReadTheSame) {
    InputModel written;
    FillEverything(written);
    std::string system = WriteSystem(written), loadCase = WriteLoadCase(written);
    for (std::string* text : {&system, &loadCase})
        std::erase(*text, '\r');
    InputModel m;
    ReadSystem(m, system);
    ReadLoadCase(m, loadCase);
    ExpectEverything(m);
}

// Mended: old Mac editors end lines with a CR alone; such a file read as one
// long line, that is as an empty system and load case.
TEST(SectionRead, CarriageReturnOnlyFilesReadTheSame) {
    InputModel written;
    FillEverything(written);
    std::string system = WriteSystem(written), loadCase = WriteLoadCase(written);
    for (std::string* text : {&system, &loadCase})
        std::erase(*text, '\n');
    InputModel m;
    ReadSystem(m, system);
    ReadLoadCase(m, loadCase);
    ExpectEverything(m);
}

// Mended: a byte order mark in front of the first keyword hid that section,
// so a load case saved by a Windows editor ran without its node loads.
TEST(SectionRead, ByteOrderMarkBeforeTheFirstKeywordIsPassedOver) {
    const std::string bom = "\xEF\xBB\xBF";
    InputModel m;
    ReadSystem(m, bom + kExampleSystem);
    ReadLoadCase(m, bom + kExampleLoadCase);
    EXPECT_EQ(m.nodes.ValidCount(), 2);
    EXPECT_EQ(m.beams.ValidCount(), 1);
    ASSERT_EQ(m.nodeLoads.ValidCount(), 1);
    EXPECT_EQ(m.nodeLoads.RowRecord(0)->Fz, -10.0);
    // Written back without it.
    EXPECT_EQ(WriteSystem(m), kExampleSystem);
    EXPECT_EQ(WriteLoadCase(m), kExampleLoadCase);
}

// Mended: "%d" let an integer beyond 32 bits wrap around (4294967298 read as
// node 2); such an integer now reads as 0, which the checks report as an
// undefined reference. The limits themselves read as they are.
TEST(SectionRead, IntegersOutOfRangeReadAsZero) {
    InputModel m;
    ReadSystem(m, Crlf("BEAMS\n4\n"
                       "    1 4294967298 2 1 0.3 5\n"
                       "    2 -2147483649 99999999999999999999999 1 0.3 -4294967295\n"
                       "    3 2147483647 -2147483648 1 0.3 2147483648\n"
                       "    4 7 8 +9 0.3 5\n\n"));
    const BeamRec& b1 = *m.beams.RowRecord(0);
    EXPECT_EQ(b1.start, 0);
    EXPECT_EQ(b1.end, 2);
    EXPECT_EQ(b1.section, 1);
    const BeamRec& b2 = *m.beams.RowRecord(1);
    EXPECT_EQ(b2.start, 0);
    EXPECT_EQ(b2.end, 0);
    EXPECT_EQ(b2.thickness, 0.3); // reading goes on behind a field out of range
    EXPECT_EQ(b2.intervals, 0);
    const BeamRec& b3 = *m.beams.RowRecord(2);
    EXPECT_EQ(b3.start, 2147483647);
    EXPECT_EQ(b3.end, -2147483647 - 1);
    EXPECT_EQ(b3.intervals, 0);
    EXPECT_EQ(m.beams.RowRecord(3)->section, 9);
}

// Reals read as strtod reads them; what is not finite is left to the checks.
TEST(SectionRead, RealsOutOfRangeReadAsInfinity) {
    InputModel m;
    ReadSystem(m, Crlf("NODES\n2\n    1 1e400 -1e400 1 1 1 nan\n    2 inf 1e-400 0 0 0 0x1p3\n\n"));
    const NodeRec& n1 = *m.nodes.RowRecord(0);
    EXPECT_EQ(n1.x, HUGE_VAL);
    EXPECT_EQ(n1.y, -HUGE_VAL);
    EXPECT_EQ(n1.fixRy, 1);
    EXPECT_TRUE(std::isnan(n1.skew));
    const NodeRec& n2 = *m.nodes.RowRecord(1);
    EXPECT_EQ(n2.x, HUGE_VAL);
    EXPECT_GE(n2.y, 0.0);
    EXPECT_LT(n2.y, 1e-300);
    EXPECT_EQ(n2.skew, 8.0);
}

TEST(SectionRead, SectionsInReverseOrder) {
    InputModel written;
    FillEverything(written);
    std::vector<std::string> sections = SplitSections(WriteSystem(written));
    std::vector<std::string> loads = SplitSections(WriteLoadCase(written));
    ASSERT_EQ(sections.size(), 4u);
    ASSERT_EQ(loads.size(), 6u);
    std::string system, loadCase;
    for (auto it = sections.rbegin(); it != sections.rend(); ++it)
        system += *it;
    for (auto it = loads.rbegin(); it != loads.rend(); ++it)
        loadCase += *it;
    InputModel m;
    ReadSystem(m, system);
    ReadLoadCase(m, loadCase);
    ExpectEverything(m);
}

TEST(SectionRead, MissingSectionLeavesItsTableEmpty) {
    InputModel written;
    FillEverything(written);
    std::string loadCase = WriteLoadCase(written);
    loadCase.erase(loadCase.find("HINGELOAD"));
    InputModel m;
    PutRecord(m.hingeLoads, 1, HingeLoadRec{.hinge = 1});
    ReadLoadCase(m, loadCase);
    EXPECT_EQ(m.hingeLoads.ValidCount(), 0);
    EXPECT_EQ(m.hingeLoads.Count(), 0);
    EXPECT_EQ(m.tempLoads.ValidCount(), 1);
    EXPECT_EQ(m.nodeLoads.ValidCount(), 1);
}

TEST(SectionRead, FileWithoutSectionsIsAnEmptySystem) {
    InputModel m;
    FillExampleSystem(m);
    ReadSystem(m, "no sections here\r\n  NODES\r\n3\r\n");
    for (InputContainer* table : m.systemTables)
        EXPECT_EQ(table->ValidCount(), 0);
}

TEST(SectionRead, ShortRecordLineKeepsZeros) {
    InputModel m;
    ReadSystem(m, Crlf("NODES\n1\n    4 1.5 2.5\n\n"));
    EXPECT_EQ(m.nodes.Count(), 4);
    EXPECT_EQ(m.nodes.ValidCount(), 1);
    const NodeRec& node = *m.nodes.RowRecord(3);
    EXPECT_EQ(node.flag, kFlagFile);
    EXPECT_EQ(node.x, 1.5);
    EXPECT_EQ(node.y, 2.5);
    EXPECT_EQ(node.fixZ, 0);
    EXPECT_EQ(node.fixRx, 0);
    EXPECT_EQ(node.fixRy, 0);
    EXPECT_EQ(node.skew, 0.0);
}

TEST(SectionRead, ParsingStopsAtTheFirstFieldThatDoesNotMatch) {
    InputModel m;
    ReadSystem(m, Crlf("BEAMS\n1\n    2 3 4 x 0.5 7\n\n"));
    const BeamRec& beam = *m.beams.RowRecord(1);
    EXPECT_EQ(beam.start, 3);
    EXPECT_EQ(beam.end, 4);
    EXPECT_EQ(beam.section, 0);
    EXPECT_EQ(beam.thickness, 0.0);
    EXPECT_EQ(beam.intervals, 0);
}

TEST(SectionRead, CountZeroFollowedByRecordLinesReadsAnEmptyTable) {
    InputModel m;
    ReadSystem(m, Crlf("NODES\n0\n    1 1.0 2.0 1 1 1 0.0\n    2 3.0 4.0 0 0 0 0.0\n\n"
                       "BEAMS\n1\n    1 1 2 1 0.3 5\n\n"));
    EXPECT_EQ(m.nodes.ValidCount(), 0);
    EXPECT_EQ(m.nodes.Count(), 0);
    EXPECT_EQ(m.beams.ValidCount(), 1);
    EXPECT_EQ(m.beams.RowRecord(0)->end, 2);
}

TEST(SectionRead, DuplicateNumbersOverwriteTheFieldsTheyParse) {
    InputModel m;
    ReadSystem(m, Crlf("NODES\n2\n    1 1.0 2.0 1 1 1 30.0\n    1 7.0\n\n"));
    EXPECT_EQ(m.nodes.ValidCount(), 1);
    const NodeRec& node = *m.nodes.RowRecord(0);
    EXPECT_EQ(node.x, 7.0);
    EXPECT_EQ(node.y, 2.0);
    EXPECT_EQ(node.skew, 30.0);
}

TEST(SectionRead, BadRecordNumbersAreSkipped) {
    InputModel m;
    ReadSystem(m, Crlf("NODES\n8\n"
                       "    2 2.0 0.0 0 0 0 0.0\n"
                       "    0 9.0 9.0 1 1 1 0.0\n"
                       "   -3 9.0 9.0 1 1 1 0.0\n"
                       "1000001 9.0 9.0 1 1 1 0.0\n"
                       "99999999999999999999 9.0 9.0 1 1 1 0.0\n"
                       "  x 9.0\n"
                       "\n"
                       "    3 3.0 0.0 0 0 0 0.0\n"
                       "BEAMS\n1\n    1 2 3 1 0.3 5\n\n"));
    EXPECT_EQ(m.nodes.Count(), 3);
    EXPECT_EQ((ValidRows(m.nodes)), (std::vector<int>{1, 2}));
    EXPECT_EQ(m.nodes.RowRecord(1)->x, 2.0);
    EXPECT_EQ(m.nodes.RowRecord(2)->x, 3.0);
    EXPECT_EQ(m.beams.ValidCount(), 1);
}

TEST(SectionRead, CountBeyondTheRecordsConsumesTheFollowingLines) {
    // The count of 5 swallows the empty line, "BEAMS" and the beam count 2,
    // which becomes node 2 with all fields 0. The beam section is still found
    // by the search from the beginning, and its lines are read in full.
    InputModel m;
    ReadSystem(m, Crlf("NODES\n5\n    1 1.0 0.0 1 1 1 0.0\n\n"
                       "BEAMS\n2\n    1 1 2 1 0.3 5\n    2 2 1 1 0.3 5\n\n"));
    EXPECT_EQ((ValidRows(m.nodes)), (std::vector<int>{0, 1}));
    EXPECT_EQ(m.nodes.RowRecord(0)->x, 1.0);
    const NodeRec& swallowed = *m.nodes.RowRecord(1);
    EXPECT_EQ(swallowed.flag, kFlagFile);
    EXPECT_EQ(swallowed.x, 0.0);
    EXPECT_EQ(swallowed.fixZ, 0);
    // Node record 1 is overwritten by beam line 1: "1 1 2 1 0.3" parses as
    // x = 1, y = 2, fixZ = 1, fixRx = 0 and stops at ".3", so fixRy stays.
    EXPECT_EQ(m.nodes.RowRecord(0)->y, 2.0);
    EXPECT_EQ(m.nodes.RowRecord(0)->fixRx, 0);
    EXPECT_EQ(m.nodes.RowRecord(0)->fixRy, 1);
    EXPECT_EQ(m.beams.ValidCount(), 2);
}

TEST(SectionRead, CountBeyondTheEndOfTheFileStops) {
    InputModel m;
    ReadSystem(m, Crlf("NODES\n2000000000\n    3 1.0 1.0 0 0 0 0.0\n"));
    EXPECT_EQ((ValidRows(m.nodes)), (std::vector<int>{2}));
}

TEST(SectionRead, KeywordLinesMayCarryMoreButNoLeadingBlank) {
    InputModel m;
    ReadSystem(m, Crlf("junk before\n  NODES\n1\n    5 5.0 0 0 0 0 0\n"
                       "NODES of the deck\n1\n    2 2.0 0 0 0 0 0\n\n"));
    EXPECT_EQ((ValidRows(m.nodes)), (std::vector<int>{1}));
}

TEST(SectionRead, TabsAndNulBytesInRecordLines) {
    InputModel m;
    const char raw[] = "NO\0DES\r\n1\r\n\t3\t1.5\t\t2.5 1\r\n";
    ReadSystem(m, std::string(raw, sizeof raw - 1));
    ASSERT_EQ(m.nodes.ValidCount(), 1);
    EXPECT_EQ(m.nodes.RowRecord(2)->x, 1.5);
    EXPECT_EQ(m.nodes.RowRecord(2)->y, 2.5);
    EXPECT_EQ(m.nodes.RowRecord(2)->fixZ, 1);
}

TEST(SectionRead, TableHasNoMoreRowsThanItsHighestRecordNumber) {
    InputModel m;
    ReadLoadCase(m, Crlf("POINTLOAD\n1\n   40 3 0.5 1 2 3\n\n"));
    EXPECT_EQ(m.pointLoads.Count(), 40);
    EXPECT_EQ(m.pointLoads.ValidCount(), 1);
    EXPECT_EQ(m.pointLoads.UsedRowCount(), 40);
}

TEST(LineReader, LongLineIsSplitAt999Characters) {
    for (const char* end : {"\r\n", "\n"}) {
        std::string line;
        for (int i = 0; i < 1500; ++i)
            line += static_cast<char>('a' + i % 26);
        TextFile file(line + end + "next" + end);
        char buffer[kLineBufferSize];
        ASSERT_TRUE(ReadLine(file.Get(), buffer));
        EXPECT_EQ(std::string(buffer), line.substr(0, 999));
        ASSERT_TRUE(ReadLine(file.Get(), buffer));
        EXPECT_EQ(std::string(buffer), line.substr(999));
        EXPECT_EQ(std::string(buffer).size(), 501u);
        ASSERT_TRUE(ReadLine(file.Get(), buffer));
        EXPECT_STREQ(buffer, "next");
        EXPECT_FALSE(ReadLine(file.Get(), buffer));
        EXPECT_STREQ(buffer, "");
    }
}

TEST(LineReader, LastLineWithoutLineEnd) {
    TextFile file("first\r\nlast");
    char buffer[kLineBufferSize];
    ASSERT_TRUE(ReadLine(file.Get(), buffer));
    EXPECT_STREQ(buffer, "first");
    ASSERT_TRUE(ReadLine(file.Get(), buffer));
    EXPECT_STREQ(buffer, "last");
    EXPECT_FALSE(ReadLine(file.Get(), buffer));
}

TEST(LineReader, CarriageReturnJustBeforeTheCutIsALineEnd) {
    // 998 characters and CR LF: the line end falls right at the buffer limit.
    const std::string line(998, 'x');
    TextFile file(line + "\r\nnext\r\n");
    char buffer[kLineBufferSize];
    ASSERT_TRUE(ReadLine(file.Get(), buffer));
    EXPECT_EQ(std::string(buffer), line);
    ASSERT_TRUE(ReadLine(file.Get(), buffer));
    EXPECT_STREQ(buffer, "next");
}

TEST(LineReader, TabsExpandToMultiplesOfEight) {
    TextFile file("a\tbc\td\t\r\n");
    char buffer[kLineBufferSize];
    ASSERT_TRUE(ReadLine(file.Get(), buffer));
    // The tab in the last position stays.
    EXPECT_EQ(std::string(buffer), "a" + std::string(7, ' ') + "bc" + std::string(6, ' ') + "d\t");
}

TEST(LineReader, EveryKindOfLineEndEndsALine) {
    TextFile file("lf\ncrlf\r\ncr\rcr-cr\r\rlast\r");
    char buffer[kLineBufferSize];
    for (const char* expected : {"lf", "crlf", "cr", "cr-cr", "", "last"}) {
        ASSERT_TRUE(ReadLine(file.Get(), buffer)) << expected;
        EXPECT_STREQ(buffer, expected);
    }
    EXPECT_FALSE(ReadLine(file.Get(), buffer));
}

TEST(LineReader, LoneCarriageReturnRightBehindTheCutEndsTheCutLine) {
    const std::string line(999, 'x');
    TextFile file(line + "\rnext\r");
    char buffer[kLineBufferSize];
    ASSERT_TRUE(ReadLine(file.Get(), buffer));
    EXPECT_EQ(std::string(buffer), line);
    ASSERT_TRUE(ReadLine(file.Get(), buffer));
    EXPECT_STREQ(buffer, "next");
    EXPECT_FALSE(ReadLine(file.Get(), buffer));
}
