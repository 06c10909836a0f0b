#include "Grillage.h"

#include "model/Tables.h"

namespace {

void BuildSystem(InputModel& model, const GrillageOptions& o) {
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

void BuildLoads(InputModel& model, const GrillageOptions& o) {
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

} // namespace

void BuildGrillage(InputModel& model, const GrillageOptions& options) {
    BuildSystem(model, options);
    BuildLoads(model, options);
}
