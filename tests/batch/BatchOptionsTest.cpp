#include "batch/BatchOptions.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok;
    BatchOptions options;
    std::string error;
};

Parsed Parse(std::vector<std::string> args) {
    Parsed p;
    p.ok = ParseBatchArguments(args, p.options, p.error);
    return p;
}

TEST(BatchOptions, FilesAndOptionsInAnyOrder) {
    Parsed p = Parse({"--quiet", "s.bsy", "--results", "r.txt", "l.bld", "--json=r.json",
                      "--input-protocol", "e.txt"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.systemFile, "s.bsy");
    EXPECT_EQ(p.options.loadCaseFile, "l.bld");
    EXPECT_EQ(p.options.resultsFile, "r.txt");
    EXPECT_EQ(p.options.jsonFile, "r.json");
    EXPECT_EQ(p.options.inputProtocolFile, "e.txt");
    EXPECT_TRUE(p.options.quiet);
    EXPECT_FALSE(p.options.NoOutputRequested());
}

TEST(BatchOptions, SystemAloneMeansEmptyLoadCaseAndResultsOnStandardOutput) {
    Parsed p = Parse({"s.bsy"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.loadCaseFile, "");
    EXPECT_FALSE(p.options.quiet);
    EXPECT_TRUE(p.options.NoOutputRequested());
}

TEST(BatchOptions, DoubleDashEndsTheOptions) {
    Parsed p = Parse({"--", "--odd-name.bsy", "-q"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.systemFile, "--odd-name.bsy");
    EXPECT_EQ(p.options.loadCaseFile, "-q");
    EXPECT_FALSE(p.options.quiet);
}

TEST(BatchOptions, HelpWinsOverEverythingElse) {
    Parsed p = Parse({"--bogus", "--help"});
    EXPECT_FALSE(p.ok); // the unknown option comes first
    p = Parse({"--help", "--bogus"});
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.options.help);
}

TEST(BatchOptions, BadCommandLinesAreRefusedWithAMessage) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{}, "Keine Systemdatei angegeben"},
        {{"--quiet"}, "Keine Systemdatei angegeben"},
        {{"s.bsy", "--verbose"}, "Unbekannte Option: --verbose"},
        {{"s.bsy", "-x"}, "Unbekannte Option: -x"},
        {{"s.bsy", "--results"}, "Option --results verlangt einen Dateinamen"},
        {{"s.bsy", "--json="}, "Option --json verlangt einen Dateinamen"},
        {{"s.bsy", "--quiet=1"}, "Unbekannte Option: --quiet=1"},
        {{"s.bsy", "l.bld", "x.bld"}, "Zu viele Argumente: x.bld"},
        {{"s.bsy", "--json", "a", "--json", "b"}, "Option --json ist mehrfach angegeben"},
        {{""}, "Leerer Dateiname"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.error;
        EXPECT_EQ(p.error, c.error);
    }
}

TEST(BatchOptions, UsageNamesEveryOptionAndExitCode) {
    std::string usage = BatchUsage();
    for (const char* option : {"--input-protocol", "--results", "--json", "--quiet", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    for (int code = kExitOk; code <= kExitOutputFile; ++code)
        EXPECT_NE(usage.find("  " + std::to_string(code) + "  "), std::string::npos) << code;
}

} // namespace
