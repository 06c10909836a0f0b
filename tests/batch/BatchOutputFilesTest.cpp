// Outputs of balkor-batch that would overwrite an input or each other are
// refused before anything is read or written; a pipe is no output; a load
// record numbered beyond the table is an input error.

#include "BatchProcess.h"
#include "batch/BatchOptions.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A copy of the two-span example: sys.bsy, load.bld, the settings file
// settings.dat, a hard link "linked.bsy" and a symbolic link "link.bld" to them.
struct Inputs {
    TempDir dir;
    std::string system = dir.Write("sys.bsy", ReadFile(Example("zweifeld.bsy")));
    std::string load = dir.Write("load.bld", ReadFile(Example("zweifeld.bld")));
    std::string settings = dir.Write("settings.dat", "");

    Inputs() {
        ::link(system.c_str(), dir.Path("linked.bsy").c_str());
        std::filesystem::create_symlink("load.bld", dir.Path("link.bld"));
        std::filesystem::create_directory(dir.Path("sub"));
        std::filesystem::create_symlink("sub/new.txt", dir.Path("dangling"));
    }
};

struct ClashCase {
    std::vector<std::string> outputs; // options with names in the folder of the inputs
    std::string message;              // without the path; "" when the run succeeds
    std::string named;                // the name the message ends with
};

} // namespace

TEST(BatchOutputFiles, OutputsThatOverwriteInputsOrEachOtherAreRefused) {
    const ClashCase cases[] = {
        {{"--results", "sys.bsy"},
         "Die Ausgabe von --results würde die Systemdatei überschreiben",
         "sys.bsy"},
        {{"--json", "load.bld"},
         "Die Ausgabe von --json würde die Lastdatei überschreiben",
         "load.bld"},
        {{"--svg", "linked.bsy"},
         "Die Ausgabe von --svg würde die Systemdatei überschreiben",
         "linked.bsy"},
        {{"--input-protocol", "link.bld"},
         "Die Ausgabe von --input-protocol würde die Lastdatei überschreiben",
         "link.bld"},
        {{"--json", "settings.dat"},
         "Die Ausgabe von --json würde die Einstellungsdatei überschreiben",
         "settings.dat"},
        {{"--write-system", "sys.bsy"},
         "Die Ausgabe von --write-system würde die Systemdatei überschreiben",
         "sys.bsy"},
        {{"--results", "out.txt", "--json", "out.txt"},
         "Die Ausgaben von --results und --json sind dieselbe Datei",
         "out.txt"},
        {{"--svg", "x", "--json", "sub/../x"},
         "Die Ausgaben von --json und --svg sind dieselbe Datei",
         "x"},
        {{"--svg", "a.svg", "--svg", "./a.svg"},
         "Die Ausgaben von --svg und --svg sind dieselbe Datei",
         "./a.svg"},
        {{"--results", "dangling", "--json", "sub/new.txt"},
         "Die Ausgaben von --results und --json sind dieselbe Datei",
         "sub/new.txt"},
        {{"--results", "out.txt", "--json", "out.json"}, "", ""},
    };
    for (const ClashCase& c : cases) {
        Inputs in;
        std::vector<std::string> args = {"-q", in.system, in.load, "--settings", in.settings};
        for (size_t i = 0; i < c.outputs.size(); i += 2) {
            args.push_back(c.outputs[i]);
            args.push_back(in.dir.Path(c.outputs[i + 1]));
        }
        SCOPED_TRACE(args[5] + " " + args[6]);
        const ProcessResult r = RunBatchProgram(args);
        if (c.message.empty()) {
            EXPECT_EQ(r.exitCode, kExitOk) << r.err;
            continue;
        }
        EXPECT_EQ(r.exitCode, kExitUsage);
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
                  "balkor-batch: " + c.message + ": " + in.dir.Path(c.named));
        EXPECT_EQ(ReadFile(in.system), ReadFile(Example("zweifeld.bsy")));
        EXPECT_EQ(ReadFile(in.load), ReadFile(Example("zweifeld.bld")));
        EXPECT_FALSE(std::filesystem::exists(in.dir.Path("out.txt")));
    }
}

TEST(BatchOutputFiles, StandardOutputAndDevicesMayBeNamedTwice) {
    for (const std::string name : {"-", "/dev/null"}) {
        const ProcessResult r =
            RunBatchProgram({"-q", Example("zweifeld.bsy"), Example("zweifeld.bld"), "--results",
                             name, "--json", name});
        EXPECT_EQ(r.exitCode, kExitOk) << name << r.err;
    }
}

// A pipe of its own reader, so that a wrong write would not block the test.
TEST(BatchOutputFiles, NamedPipeIsRefused) {
    TempDir dir;
    const std::string fifo = dir.Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const ProcessResult r =
        RunBatchProgram({"-q", Example("zweifeld.bsy"), Example("zweifeld.bld"), "--json", fifo});
    ::close(reader);
    EXPECT_EQ(r.exitCode, kExitOutputFile);
    EXPECT_EQ(r.err, "Fehler bei öffnen der Ausdruckdatei: " + fifo + "\n");
}

TEST(BatchOutputFiles, LoadRecordBeyondTheTableIsAnInputError) {
    TempDir dir;
    const std::string load =
        dir.Write("load.bld", "NODELOAD\n1\n1000001     2     2 -1.0e+01 0.0e+00 0.0e+00\n\n");
    const ProcessResult r = RunBatchProgram({"-q", Example("zweifeld.bsy"), load});
    EXPECT_EQ(r.exitCode, kExitInputError);
    EXPECT_EQ(r.err, "Eingabefehler: Ungültige Satznummer 1000001 in der Datei (1 bis 1000000) ! "
                     "(Seite \"Knotenlasten\", Zeile 1, Spalte 0)\n");
    EXPECT_EQ(r.out, "");
}
