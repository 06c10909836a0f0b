// Writes a system file and a load-case file of a parametric grillage: an
// N x M grid of beams, all boundary nodes supported in z (corners also in Rx
// and Ry), a uniform distributed load on every beam.
//
//   balkor-gen N M BASE [--spacing S] [--point-loads] [--hinges K]
//              [--skew DEG] [--per-beam-loads]
//
// writes BASE.bsy and BASE.bld.
#include "model/Tables.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    int n = 0, m = 0;
    std::string base;
    double spacing = 2.5;
    bool pointLoads = false;
    int hingeEvery = 0;
    double skew = 0.0;
    bool perBeamLoads = false;
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

void BuildSystem(InputModel& model, const Options& o) {
    const int columns = o.n + 1;
    for (int j = 0; j <= o.m; ++j) {
        for (int i = 0; i <= o.n; ++i) {
            NodeRec* node = model.nodes.RowRecord(j * columns + i);
            node->flag = kFlagFile;
            node->x = i * o.spacing;
            node->y = j * o.spacing;
            const bool boundary = i == 0 || j == 0 || i == o.n || j == o.m;
            const bool corner = (i == 0 || i == o.n) && (j == 0 || j == o.m);
            node->fixZ = boundary;
            node->fixRx = corner || (boundary && o.skew != 0.0);
            node->fixRy = corner;
            node->skew = boundary ? o.skew : 0.0;
        }
    }
    int beam = 0;
    auto addBeam = [&](int start, int end) {
        BeamRec* b = model.beams.RowRecord(beam++);
        *b = BeamRec{kFlagFile, 0, start + 1, end + 1, 1, 5, 0.8, 0};
    };
    for (int j = 0; j <= o.m; ++j)
        for (int i = 0; i < o.n; ++i)
            addBeam(j * columns + i, j * columns + i + 1);
    for (int j = 0; j < o.m; ++j)
        for (int i = 0; i <= o.n; ++i)
            addBeam(j * columns + i, (j + 1) * columns + i);
    *model.mats.RowRecord(0) = MatRec{kFlagFile, 0, 3.0e7, 1.25e7, 0.02, 0.05, 1.0e-5};
    if (o.hingeEvery > 0) {
        int hinge = 0;
        for (int b = o.hingeEvery; b <= beam; b += o.hingeEvery)
            *model.hinges.RowRecord(hinge++) = HingeRec{kFlagFile, 0, b, 0.3, kHingeBending, 0, 0};
    }
}

void BuildLoads(InputModel& model, const Options& o) {
    const int beams = model.beams.Count();
    if (o.perBeamLoads) {
        for (int b = 0; b < beams; ++b)
            *model.beamLoads.RowRecord(b) = BeamLoadRec{kFlagFile, 0, b + 1, b + 1, 10, 10, 0, 0};
    } else {
        *model.beamLoads.RowRecord(0) = BeamLoadRec{kFlagFile, 0, 1, beams, 10, 10, 0, 0};
    }
    if (o.pointLoads)
        for (int b = 0; b < beams; ++b)
            *model.pointLoads.RowRecord(b) = PointLoadRec{kFlagFile, 0, b + 1, 0.5, 25, 0, 0, 0};
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
    BuildSystem(model, options);
    BuildLoads(model, options);
    if (!Write(model.systemTables, 4, options.base + ".bsy") ||
        !Write(model.loadTables, 6, options.base + ".bld")) {
        std::fprintf(stderr, "Fehler beim Schreiben von %s\n", options.base.c_str());
        return 1;
    }
    return 0;
}
