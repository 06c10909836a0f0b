// Writes a system file and a load-case file of a parametric grillage (see
// Grillage.h).
//
//   balkor-gen N M BASE [--spacing S] [--point-loads] [--hinges K]
//              [--skew DEG] [--per-beam-loads]
//
// writes BASE.bsy and BASE.bld.
#include "Grillage.h"
#include "model/Tables.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options : GrillageOptions {
    std::string base;
};

[[noreturn]] void Usage() {
    std::fprintf(stderr, "Aufruf: balkor-gen N M BASIS [--spacing S] [--point-loads] "
                         "[--hinges K] [--skew GRAD] [--per-beam-loads]\n");
    std::exit(2);
}

int PositiveInt(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > 2000)
        Usage();
    return static_cast<int>(value);
}

double Real(const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*end != '\0')
        Usage();
    return value;
}

Options Parse(int argc, char** argv) {
    if (argc < 4)
        Usage();
    Options o;
    o.n = PositiveInt(argv[1]);
    o.m = PositiveInt(argv[2]);
    o.base = argv[3];
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--spacing" && hasValue)
            o.spacing = Real(argv[++i]);
        else if (arg == "--point-loads")
            o.pointLoads = true;
        else if (arg == "--hinges" && hasValue)
            o.hingeEvery = PositiveInt(argv[++i]);
        else if (arg == "--skew" && hasValue)
            o.skew = Real(argv[++i]);
        else if (arg == "--per-beam-loads")
            o.perBeamLoads = true;
        else
            Usage();
    }
    return o;
}

bool Write(InputContainer* const* tables, int count, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    for (int i = 0; i < count; ++i) {
        tables[i]->InvalidateIndex();
        tables[i]->WriteSection(file);
    }
    const bool written = !std::ferror(file);
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    InputModel model;
    BuildGrillage(model, options);
    if (!Write(model.systemTables, 4, options.base + ".bsy") ||
        !Write(model.loadTables, 6, options.base + ".bld")) {
        std::fprintf(stderr, "Fehler beim Schreiben von %s\n", options.base.c_str());
        return 1;
    }
    return 0;
}
