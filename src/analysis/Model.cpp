// The analysis model: analysis nodes and support rows, the division of the
// beams into elements at hinges and point loads, the hinge couplings, the
// degree-of-freedom table and the profile of the global stiffness matrix.

#include "analysis/KMatrix.h"
#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kHalfPi = 1.5707963267948966;
// Hinges and point loads closer than this (relative) share a division point.
constexpr double kMergeDistance = 0.001;

// A hinge position read from a file is not clamped; the division takes the
// value the grid would have stored (a position that is not a number as 0).
double ClampedPosition(double pos) {
    return std::fmin(std::fmax(pos, 0.0), 1.0);
}

// Input rows of a table as a typed record, or null when the row is not valid.
template <class Table> auto UsedRecord(Table& table, int row) -> decltype(table.RowRecord(0)) {
    return table.IsRowUsed(row) ? table.RowRecord(row) : nullptr;
}

} // namespace

int NodeContainer::Add(double x, double y, int inputRow) {
    const AnalysisNode node{x, y, -1, inputRow};
    Append(&node, 1);
    return Count() - 1;
}

ElementContainer::~ElementContainer() {
    Release();
}

int ElementContainer::Add(SolElement* element) {
    Append(&element, 1);
    return Count() - 1;
}

void ElementContainer::Release() {
    for (int i = 0; i < Count(); ++i)
        delete &(*this)[i];
    Clear();
}

// The division points of one beam while it is divided. A point holds any
// number of hinges and point loads.
class SolutionsCont::Division {
public:
    struct Point {
        double xi;
        std::vector<HingeRec*> hinges;
        std::vector<PointLoadRec*> loads;
        bool HasHinge() const { return !hinges.empty(); }
    };

    Division() : points{{0.0, {}, {}}, {1.0, {}, {}}} {}

    Point& At(double pos) {
        for (Point& point : points)
            if (std::fabs(point.xi - pos) < kMergeDistance)
                return point;
        points.push_back({pos, {}, {}});
        return points.back();
    }

    // Ascending ξ; equal positions keep their order.
    void Sort() {
        std::stable_sort(points.begin(), points.end(),
                         [](const Point& a, const Point& b) { return a.xi < b.xi; });
    }

    // Every hinge position becomes two points of the same ξ, the first holding
    // the hinges. At the beam start the hinges move into a new first point; of
    // adjacent hinges only every second moves, and the rest is twinned again,
    // which leaves successive hinge pairs.
    void InsertHingeTwins() {
        for (size_t i = 0; i < points.size(); ++i) {
            if (!points[i].HasHinge())
                continue;
            if (i > 0) {
                points.insert(points.begin() + static_cast<long>(i) + 1,
                              Point{points[i].xi, {}, {}});
                continue;
            }
            points.insert(points.begin(), Point{points[0].xi, {}, {}});
            std::vector<HingeRec*>& from = points[1].hinges;
            std::vector<HingeRec*> kept;
            for (size_t j = 0; j < from.size(); ++j) {
                points[0].hinges.push_back(from[j]);
                if (j + 1 < from.size())
                    kept.push_back(from[++j]);
            }
            from = kept;
        }
    }

    std::vector<Point> points;
};

void SolutionsCont::ResetWorkingFields() {
    // Working fields of records the division does not reach must not keep
    // the indices of an earlier run.
    for (int k = 0; k < input_.nodes.ValidCount(); ++k)
        input_.nodes.ValidRow(k)->calcNode = -1;
    for (int k = 0; k < input_.beams.ValidCount(); ++k)
        input_.beams.ValidRow(k)->firstElement = -1;
    for (int k = 0; k < input_.hinges.ValidCount(); ++k) {
        HingeRec* hinge = input_.hinges.ValidRow(k);
        hinge->sideA = -1;
        hinge->sideB = -1;
    }
    for (int k = 0; k < input_.pointLoads.ValidCount(); ++k)
        input_.pointLoads.ValidRow(k)->loadNode = -1;
}

// The hinges and point loads of every beam, in row order, gathered in one
// pass so that dividing a beam does not walk both tables again.
struct SolutionsCont::BeamAttachments {
    explicit BeamAttachments(InputModel& input)
        : hinges(static_cast<size_t>(input.beams.Count()) + 1),
          loads(static_cast<size_t>(input.beams.Count()) + 1) {
        for (int k = 0; k < input.hinges.ValidCount(); ++k) {
            HingeRec* hinge = input.hinges.ValidRow(k);
            if (hinge->beam >= 1 && hinge->beam <= input.beams.Count())
                hinges[hinge->beam].push_back(hinge);
        }
        for (int k = 0; k < input.pointLoads.ValidCount(); ++k) {
            PointLoadRec* load = input.pointLoads.ValidRow(k);
            if (load->beam >= 1 && load->beam <= input.beams.Count())
                loads[load->beam].push_back(load);
        }
    }
    std::vector<std::vector<HingeRec*>> hinges; // by beam number
    std::vector<std::vector<PointLoadRec*>> loads;
};

void SolutionsCont::BuildModel() {
    ResetWorkingFields();
    BuildAnalysisNodes();
    GatherSprings();
    const BeamAttachments attachments(input_);
    for (int row = 0; row < input_.beams.Count(); ++row)
        if (input_.beams.IsRowUsed(row))
            DivideBeam(row, attachments);
}

// Pass 1: one analysis node per input node that a valid beam connects, in
// row order, with its support rows.
void SolutionsCont::BuildAnalysisNodes() {
    NodeClass& table = input_.nodes;
    // Connectivity in one pass over the beams (asking NodeUnconnected for
    // every node would walk all beams once per node).
    std::vector<char> connected(static_cast<size_t>(table.Count()) + 1, 0);
    for (int k = 0; k < input_.beams.ValidCount(); ++k) {
        const BeamRec* beam = input_.beams.ValidRow(k);
        for (int number : {beam->start, beam->end})
            if (number >= 1 && number <= table.Count())
                connected[number] = 1;
    }
    for (int row = 0; row < table.Count(); ++row) {
        if (!table.IsRowUsed(row))
            continue;
        NodeRec* rec = table.RowRecord(row);
        rec->calcNode = -1;
        if (!connected[row + 1])
            continue;
        rec->calcNode = nodes.Add(rec->x, rec->y, row);
        AddSupportRows(rec->calcNode, *rec);
    }
}

void SolutionsCont::AddSupportRows(int node, const NodeRec& rec) {
    const double a = rec.skew * (1.0 / 180.0) * M_PI;
    if (rec.fixZ != 0)
        AddTerm(AddRow(), node, kWz, 1.0);
    if (rec.fixRx != 0) {
        OneBCContainer* row = AddRow();
        AddTerm(row, node, kRx, std::cos(a));
        AddTerm(row, node, kRy, std::sin(a));
    }
    if (rec.fixRy == 1) {
        OneBCContainer* row = AddRow();
        AddTerm(row, node, kRx, std::cos(a + kHalfPi));
        AddTerm(row, node, kRy, std::sin(a + kHalfPi));
    }
}

// Couplings of the two sides of a hinge for the components no hinge there
// releases.
void SolutionsCont::AddHingeCouplings(int prev, int next, double beta, const bool released[3]) {
    for (int type = kHingeShear; type <= kHingeTorsion; ++type)
        if (!released[type])
            AddHingeRow(type, prev, next, beta, 0.0);
}

// The row tying side A to side B in the component a hinge of this type
// releases: the deflection, the rotation about the horizontal axis across
// the beam, or the rotation about the beam axis.
void SolutionsCont::AddHingeRow(int type, int sideA, int sideB, double beta, double rowConstant) {
    OneBCContainer* row = AddRow();
    row->rowConstant = rowConstant;
    if (type == kHingeShear) {
        AddTerm(row, sideA, kWz, 1.0);
        AddTerm(row, sideB, kWz, -1.0);
        return;
    }
    const double axis = type == kHingeBending ? beta + kHalfPi : beta;
    const double c = std::cos(axis);
    const double s = std::sin(axis);
    AddTerm(row, sideA, kRx, c);
    AddTerm(row, sideA, kRy, s);
    AddTerm(row, sideB, kRx, -c);
    AddTerm(row, sideB, kRy, -s);
}

// Pass 2 for one beam: division points, nodes inside the beam, elements and
// hinge couplings.
void SolutionsCont::DivideBeam(int row, const BeamAttachments& attachments) {
    BeamRec& beam = *input_.beams.RowRecord(row);
    const int number = row + 1;
    beam.firstElement = -1;
    // The checks admit only beams between two existing, distinct nodes.
    if (!input_.beams.BeamDefined(beam))
        return;

    Division division;
    for (HingeRec* hinge : attachments.hinges[number])
        division.At(ClampedPosition(hinge->pos)).hinges.push_back(hinge);
    for (PointLoadRec* load : attachments.loads[number])
        division.At(ClampedPosition(load->pos)).loads.push_back(load);
    division.Sort();
    division.InsertHingeTwins();

    const std::vector<Division::Point>& points = division.points;
    const int startNode = input_.nodes.RowRecord(beam.start - 1)->calcNode;
    const int endNode = input_.nodes.RowRecord(beam.end - 1)->calcNode;
    const double beta = input_.beams.BeamAngle(beam);
    int prev = startNode;
    int last = -1;
    for (PointLoadRec* load : points[0].loads)
        load->loadNode = startNode;
    for (size_t k = 0; k + 1 < points.size(); ++k) {
        const Division::Point& from = points[k];
        const Division::Point& to = points[k + 1];
        int next = endNode;
        if (k + 2 < points.size()) {
            const Point2 p = input_.beams.PointAt(beam, to.xi);
            next = nodes.Add(p.x, p.y, -1);
        }
        if (from.xi == to.xi) {
            for (const Division::Point* point : {&from, &to})
                for (HingeRec* hinge : point->hinges) {
                    hinge->sideA = prev;
                    hinge->sideB = next;
                }
            // A point load between two hinge segments of the same position is
            // reached by no element: it acts on the node its point leads to.
            for (PointLoadRec* load : to.loads)
                load->loadNode = next;
            bool released[3] = {false, false, false};
            for (const HingeRec* hinge : from.hinges)
                if (hinge->type >= kHingeShear && hinge->type <= kHingeTorsion)
                    released[hinge->type] = true;
            AddHingeCouplings(prev, next, beta, released);
        } else {
            for (PointLoadRec* load : from.loads)
                load->loadNode = prev;
            for (PointLoadRec* load : to.loads)
                load->loadNode = next;
            auto* element = new SolElement();
            element->startNode = prev;
            element->endNode = next;
            element->beamNumber = number;
            element->xiStart = from.xi;
            element->xiEnd = to.xi;
            element->nextElement = -1;
            const int index = elements.Add(element);
            if (last >= 0)
                elements[last].nextElement = index;
            if (beam.firstElement < 0)
                beam.firstElement = index;
            last = index;
        }
        prev = next;
    }
}

int SolutionsCont::NumberDofs() {
    stageThreeSets_.reset();
    dofs.Release();
    for (int k = 0; k < nodes.Count(); ++k) {
        nodes[k].firstDof = dofs.Count();
        for (int c = 0; c < kComponents; ++c)
            dofs.AppendDof();
    }
    KeepElementDofs();
    if (EliminateConstraints(bcRows, dofs) != kEliminationOk)
        return kEliminationContradiction;
    dofs.NumberEquations();
    return kEliminationOk;
}

ElementEnds SolutionsCont::Ends(const SolElement& element) const {
    const AnalysisNode& start = nodes[element.startNode];
    const AnalysisNode& end = nodes[element.endNode];
    return ElementEnds{{start.x, start.y, start.firstDof}, {end.x, end.y, end.firstDof}};
}

int SolutionsCont::ElementDof(const SolElement& element, int i) const {
    return element.DofIndex(i, Ends(element));
}

EquationSets SolutionsCont::ElementEquations() const {
    EquationSets sets(dofs.freeCount);
    FGFieldCont expansion;
    std::vector<int32_t> equations;
    for (int e = 0; e < elements.Count(); ++e) {
        equations.clear();
        for (int i = 0; i < 6; ++i) {
            Expand(ElementDof(elements[e], i), expansion);
            for (int t = 0; t < expansion.Size(); ++t)
                equations.push_back(expansion.Term(t).equation);
        }
        sets.Add(equations);
    }
    return sets;
}

// Every pair of equations of an element is an entry of K, so a column reaches
// up to the element's smallest equation.
void SolutionsCont::ProfileHeights(KMatrix& K) const {
    const std::vector<int32_t> heights =
        stageThreeSets_ ? ProfileColumnHeights(*stageThreeSets_, stageThreeNumber_)
                        : ProfileColumnHeights(ElementEquations(), {});
    for (int c = 0; c < static_cast<int>(heights.size()); ++c)
        if (heights[c] > 0)
            K.RaiseHeight(c, heights[c]);
}

bool SolutionsCont::OptimizeEquations() {
    if (dofs.freeCount < 2)
        return false;
    EquationSets sets = ElementEquations();
    OrderingChoice choice = SmallestProfile(sets);
    const bool renumbered = choice.ordering != Ordering::kNodeOrder;
    if (renumbered)
        dofs.RenumberEquations(choice.number);
    stageThreeSets_.emplace(std::move(sets));
    stageThreeNumber_ = std::move(choice.number);
    return renumbered;
}

void SolutionsCont::AddLoadCaseRows() {
    for (int k = 0; k < input_.zwv.ValidCount(); ++k) {
        const ZwvRec* rec = input_.zwv.ValidRow(k);
        const long last = std::min<long>(rec->to, input_.nodes.Count());
        for (long j = rec->from; j <= last; ++j) {
            const NodeRec* node = UsedRecord(input_.nodes, static_cast<int>(j - 1));
            if (!node || node->calcNode < 0)
                continue;
            const double values[3] = {rec->w, rec->rx, rec->ry};
            for (int c = 0; c < kComponents; ++c) {
                if (values[c] == 0.0)
                    continue;
                OneBCContainer* row = AddRow();
                AddTerm(row, node->calcNode, c, 1.0);
                row->rowConstant = -values[c];
            }
        }
    }
    for (int k = 0; k < input_.hingeLoads.ValidCount(); ++k) {
        const HingeLoadRec* rec = input_.hingeLoads.ValidRow(k);
        if (rec->kind != kHingeLoadDeformation)
            continue;
        const HingeRec* hinge = UsedRecord(input_.hinges, RowOfNumber(rec->hinge));
        if (!hinge || hinge->sideA < 0 || hinge->sideB < 0 || hinge->type < kHingeShear ||
            hinge->type > kHingeTorsion)
            continue;
        AddHingeRow(hinge->type, hinge->sideA, hinge->sideB, input_.beams.BeamAngle(hinge->beam),
                    -rec->value);
    }
}
