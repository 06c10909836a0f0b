#include "analysis/SolElement.h"

#include "model/BalkorError.h"
#include "model/Format.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kHalfPi = 1.5707963267948966;

const char* const kVectorShapeMessage = "Interner Fehler: Elementvektor hat weniger als 6 Zeilen";

// (a, b) := (a c - b s, a s + b c).
void Rotate(double& a, double& b, double c, double s) {
    double first = a * c - b * s;
    double second = a * s + b * c;
    a = first;
    b = second;
}

// Local to global or back for the ends of an element vector whose entries lie
// stride doubles apart: negate component 1, then rotate the pair (1, 2); the
// same for 4 and 5.
void TransformEnds(double* v, int stride, double c, double s) {
    for (int end = 1; end <= 4; end += 3) {
        v[end * stride] = -v[end * stride];
        Rotate(v[end * stride], v[(end + 1) * stride], c, s);
    }
}

} // namespace

int SolElement::DofIndex(int i, const ElementEnds& ends) const {
    return i < 3 ? ends.start.firstDof + i : ends.end.firstDof + (i - 3);
}

double LengthOf(const ElementEnds& ends) {
    double dx = ends.end.x - ends.start.x;
    double dy = ends.end.y - ends.start.y;
    return std::sqrt(dx * dx + dy * dy);
}

ElementFrame FrameOf(const ElementEnds& ends) {
    double dx = ends.end.x - ends.start.x;
    double dy = ends.end.y - ends.start.y;
    ElementFrame frame;
    frame.length = LengthOf(ends);
    frame.angle = DirectionAngle(dx, dy);
    double theta = frame.angle + kHalfPi;
    frame.c = std::cos(theta);
    frame.s = std::sin(theta);
    return frame;
}

const BeamRec& BeamOf(const SolElement& element, InputModel& input) {
    if (element.beamNumber < 1)
        throw BalkorError(Format("Interner Fehler: Stab %d existiert nicht", element.beamNumber));
    return *input.beams.RowRecord(element.beamNumber - 1);
}

const MatRec& CrossSection(const SolElement& element, InputModel& input) {
    int section = BeamOf(element, input).section;
    if (section < 1)
        throw BalkorError(Format("Interner Fehler: Querschnittstyp %d existiert nicht", section));
    return *input.mats.RowRecord(section - 1);
}

void LocalStiffness(double L, double EI, double GIt, Matrix& K) {
    if (K.rows != 6 || K.cols != 6)
        K.Allocate(6, 6);
    else
        K.Zero();
    double shear = 6 * EI / (L * L);
    double near = 4 * EI / L;
    double far = 2 * EI / L;
    // Rows 1 and 4 (the end moments); rows 3 and 0 follow from equilibrium.
    K(1, 0) = shear;
    K(1, 1) = near;
    K(1, 3) = -shear;
    K(1, 4) = far;
    K(4, 0) = shear;
    K(4, 1) = far;
    K(4, 3) = -shear;
    K(4, 4) = near;
    for (int i = 0; i < 6; ++i) {
        K(3, i) = -(K(1, i) + K(4, i)) / L;
        K(0, i) = -K(3, i);
    }
    double torsion = GIt / L;
    K(2, 2) = torsion;
    K(5, 5) = torsion;
    K(2, 5) = -torsion;
    K(5, 2) = -torsion;
}

void TransformStiffness(Matrix& K, double c, double s) {
    for (int i = 0; i < 6; ++i) {
        for (int end = 1; end <= 4; end += 3) {
            K(end, i) = -K(end, i);
            Rotate(K(end, i), K(end + 1, i), c, s);
        }
    }
    for (int i = 0; i < 6; ++i) {
        for (int end = 1; end <= 4; end += 3) {
            K(i, end) = -K(i, end);
            Rotate(K(i, end), K(i, end + 1), c, s);
        }
    }
}

void TransformVector(Matrix& v, double c, double s) {
    if (v.rows < 6 || v.cols < 1)
        throw BalkorError(kVectorShapeMessage);
    TransformEnds(v.data, v.cols, c, s);
}

void TransformVector(double v[6], double c, double s) {
    TransformEnds(v, 1, c, s);
}

void Stiffness(const SolElement& element, const ElementEnds& ends, InputModel& input, Matrix& K) {
    const MatRec& section = CrossSection(element, input);
    ElementFrame frame = FrameOf(ends);
    double EI = section.Iy * section.E;
    double GIt = section.It * section.G;
    LocalStiffness(frame.length, EI, GIt, K);
    TransformStiffness(K, frame.c, frame.s);
}

void AddBeamLoad(const BeamLoadRec& record, const SolElement& element, BeamLoadSums& sums) {
    const BeamLoadStruct load(record);
    sums.qa += load.Value(element.xiStart, 0);
    sums.qb += load.Value(element.xiEnd, 0);
    sums.ma += load.Value(element.xiStart, 1);
    sums.mb += load.Value(element.xiEnd, 1);
}

void MarkAnyLoad(BeamLoadSums& sums) {
    sums.any = sums.qa != 0.0 || sums.qb != 0.0 || sums.ma != 0.0 || sums.mb != 0.0;
}

bool ActsOn(int from, int to, const SolElement& element) {
    return from <= element.beamNumber && element.beamNumber <= to;
}

BeamLoadSums SumBeamLoads(const SolElement& element, InputModel& input) {
    BeamLoadSums sums;
    BeamLoadClass& loads = input.beamLoads;
    int count = loads.ValidCount();
    for (int k = 0; k < count; ++k) {
        const BeamLoadRec& load = *loads.ValidRow(k);
        if (ActsOn(load.from, load.to, element))
            AddBeamLoad(load, element, sums);
    }
    MarkAnyLoad(sums);
    return sums;
}

double TemperatureMoment(const TempLoadRec& load, const MatRec& section, const BeamRec& beam) {
    // A zero difference bends nothing, even on a beam without a thickness.
    if (load.dT == 0.0)
        return 0.0;
    return load.dT * section.E * section.Iy * section.alphaT / beam.thickness;
}

// Fixed-end moments, torsion shares and simple-beam shares of the linearly
// varying loads, in local components.
void AddSpanLoads(const BeamLoadSums& sums, double L, double f[6]) {
    const double qa = sums.qa, qb = sums.qb, ma = sums.ma, mb = sums.mb;
    f[1] += L * ((3 * qa + 2 * qb) * L) * (1.0 / 60);
    f[4] += L * (-(2 * qa + 3 * qb) * L) * (1.0 / 60);
    f[2] += -L * (0.5 * mb + ma) * (1.0 / 3);
    f[5] += -L * (0.5 * ma + mb) * (1.0 / 3);
    f[0] += L * (qa / 3 + qb / 6);
    f[3] += L * (qa / 6 + qb / 3);
}

void AddTemperatureMoment(double moment, double f[6]) {
    f[1] += moment;
    f[4] += -moment;
}

void FinishLoadVector(const ElementFrame& frame, double f[6], Matrix& F) {
    if (F.rows < 6 || F.cols < 1)
        throw BalkorError(kVectorShapeMessage);
    // The end shears that balance the end moments.
    double shear = (f[1] + f[4]) / frame.length;
    f[0] += shear;
    f[3] -= shear;
    TransformEnds(f, 1, frame.c, frame.s);
    for (int k = 0; k < 6; ++k)
        F[k] += f[k];
}

void LoadVector(const SolElement& element, const ElementEnds& ends, InputModel& input, Matrix& F) {
    if (F.rows < 6 || F.cols < 1)
        throw BalkorError(kVectorShapeMessage);
    ElementFrame frame = FrameOf(ends);
    double f[6] = {};
    BeamLoadSums sums = SumBeamLoads(element, input);
    if (sums.any)
        AddSpanLoads(sums, frame.length, f);
    TempLoadClass& loads = input.tempLoads;
    for (int k = 0; k < loads.ValidCount(); ++k) {
        const TempLoadRec& load = *loads.ValidRow(k);
        if (ActsOn(load.from, load.to, element))
            AddTemperatureMoment(
                TemperatureMoment(load, CrossSection(element, input), BeamOf(element, input)), f);
    }
    FinishLoadVector(frame, f, F);
}

double PlotValueClass::Value(double /*t*/, int /*component*/) const {
    return 0.0;
}

double BeamLoadStruct::Value(double t, int component) const {
    if (component == 0)
        return (1 - t) * qStart + t * qEnd;
    return (1 - t) * mtStart + t * mtEnd;
}
