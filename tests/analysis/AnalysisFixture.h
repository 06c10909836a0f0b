#pragma once

// A structure typed into fresh tables, its own analysis model, and a status
// receiver that records what a run reports.

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "support/ScopedEnvironment.h"
#include "support/TableRows.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

// Agreement with a closed-form value to 1e-9 relative.
#define EXPECT_REL(actual, expected) EXPECT_NEAR((actual), (expected), 1e-9 * std::fabs(expected))
// A value that vanishes in closed form: zero relative to a typical magnitude.
#define EXPECT_ZERO(actual, scale) EXPECT_NEAR((actual), 0.0, 1e-9 * std::fabs(scale))

// One solver for the rest of a test, whatever BALKOR_SOLVER says outside
// (the suite runs once more with the sparse solver forced): for checks of the
// counters that only one of them has.
class ForcedSolver {
public:
    explicit ForcedSolver(const char* kind) { environment_.Set("BALKOR_SOLVER", kind); }

private:
    ScopedEnvironment environment_;
};

class RecordingStatus : public CalcStatus {
public:
    void StageStarted(int stage) override { started.push_back(stage); }
    void StageFinished(int stage, bool ok) override {
        finishedStage = stage;
        finishedOk = ok;
    }
    void CountersChanged(const CalcCounters& c) override { counters = c; }

    std::vector<int> started;
    int finishedStage = -1;
    bool finishedOk = false;
    CalcCounters counters;
};

class Structure {
public:
    Structure() : solutions(input) {}

    template <class Rec> Rec& Append(RecordTable<Rec>& table) { return AppendValid(table); }

    // Each adder returns the number (row + 1) of the new record.
    int Node(double x, double y, int fixZ = 0, int fixRx = 0, int fixRy = 0, double skew = 0.0) {
        NodeRec& n = Append<NodeRec>(input.nodes);
        n.x = x;
        n.y = y;
        n.fixZ = fixZ;
        n.fixRx = fixRx;
        n.fixRy = fixRy;
        n.skew = skew;
        return input.nodes.Count();
    }
    int FixedNode(double x, double y) { return Node(x, y, 1, 1, 1); }
    int Section(double E, double G, double Iy, double It, double alphaT = 0.0) {
        MatRec& m = Append<MatRec>(input.mats);
        m.E = E;
        m.G = G;
        m.Iy = Iy;
        m.It = It;
        m.alphaT = alphaT;
        return input.mats.Count();
    }
    int Beam(int start, int end, int section = 1, double thickness = 0.0, int intervals = 5) {
        BeamRec& b = Append<BeamRec>(input.beams);
        b.start = start;
        b.end = end;
        b.section = section;
        b.thickness = thickness;
        b.intervals = intervals;
        return input.beams.Count();
    }
    int Hinge(int beam, double pos, int type) {
        HingeRec& h = Append<HingeRec>(input.hinges);
        h.beam = beam;
        h.pos = pos;
        h.type = type;
        return input.hinges.Count();
    }
    int NodeLoad(int from, int to, double Fz, double Mx = 0.0, double My = 0.0) {
        NodeLoadRec& l = Append<NodeLoadRec>(input.nodeLoads);
        l.from = from;
        l.to = to;
        l.Fz = Fz;
        l.Mx = Mx;
        l.My = My;
        return input.nodeLoads.Count();
    }
    int BeamLoad(int from, int to, double qStart, double qEnd, double mtStart = 0.0,
                 double mtEnd = 0.0) {
        BeamLoadRec& l = Append<BeamLoadRec>(input.beamLoads);
        l.from = from;
        l.to = to;
        l.qStart = qStart;
        l.qEnd = qEnd;
        l.mtStart = mtStart;
        l.mtEnd = mtEnd;
        return input.beamLoads.Count();
    }
    int PointLoad(int beam, double pos, double Q, double Mb = 0.0, double Mt = 0.0) {
        PointLoadRec& l = Append<PointLoadRec>(input.pointLoads);
        l.beam = beam;
        l.pos = pos;
        l.Q = Q;
        l.Mb = Mb;
        l.Mt = Mt;
        return input.pointLoads.Count();
    }
    int Zwv(int from, int to, double w, double rx = 0.0, double ry = 0.0) {
        ZwvRec& z = Append<ZwvRec>(input.zwv);
        z.from = from;
        z.to = to;
        z.w = w;
        z.rx = rx;
        z.ry = ry;
        return input.zwv.Count();
    }
    int Temperature(int from, int to, double dT) {
        TempLoadRec& t = Append<TempLoadRec>(input.tempLoads);
        t.from = from;
        t.to = to;
        t.dT = dT;
        return input.tempLoads.Count();
    }
    int HingeLoad(int hinge, int kind, double value) {
        HingeLoadRec& h = Append<HingeLoadRec>(input.hingeLoads);
        h.hinge = hinge;
        h.kind = kind;
        h.value = value;
        return input.hingeLoads.Count();
    }

    CalcResult Run() { return solutions.Calculate(&status); }
    // Runs and expects success.
    void Solve() {
        const CalcResult result = Run();
        ASSERT_TRUE(result.ok) << result.message;
    }

    // Results by input numbers.
    int CalcNode(int node) { return input.nodes.RowRecord(node - 1)->calcNode; }
    double Value(int node, int c) { return solutions.NodeValue(CalcNode(node), c); }
    double Reaction(int node, int c) { return solutions.NodeForce(CalcNode(node), c); }
    const HingeRec& HingeAt(int hinge) { return *input.hinges.RowRecord(hinge - 1); }
    // Section force at beam position ξ (the element that covers it first).
    double Force(int beam, double xi, int kind) {
        const int e = solutions.ElementAt(beam, xi);
        const SolElement& el = solutions.elements[e];
        return solutions.SectionForce(e, (xi - el.xiStart) / (el.xiEnd - el.xiStart), kind);
    }
    double DeflectionAt(int beam, double xi) {
        const int e = solutions.ElementAt(beam, xi);
        const SolElement& el = solutions.elements[e];
        return solutions.Deflection(e, (xi - el.xiStart) / (el.xiEnd - el.xiStart));
    }

    InputModel input;
    SolutionsCont solutions;
    RecordingStatus status;
};
