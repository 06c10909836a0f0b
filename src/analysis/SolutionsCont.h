#pragma once

#include "analysis/CalcStatus.h"
#include "analysis/Constraints.h"
#include "analysis/ElementLoads.h"
#include "analysis/EquationSolver.h"
#include "analysis/Renumbering.h"
#include "model/UContainer.h"

#include <cstdint>
#include <optional>
#include <vector>

struct InputModel;
struct ElementEnds;
class SolElement;
class KMatrix;
class Matrix;

// The stiffness matrix as its elements contribute it: one entry (row <=
// column) per contribution, equal positions summed by the reader.
struct StiffnessEntries {
    std::vector<int32_t> rows;
    std::vector<int32_t> columns;
    std::vector<double> values;
};

// One analysis node: an input node, or a node created inside a beam.
struct AnalysisNode {
    double x;
    double y;
    int32_t firstDof; // degree of freedom of wz; Rx and Ry follow
    int32_t inputRow; // row of its NodeRec, −1 for a node inside a beam
};

// The analysis nodes in creation order, by value.
class NodeContainer : public UContainer {
public:
    NodeContainer() : UContainer(sizeof(AnalysisNode), 100) {}
    AnalysisNode& operator[](int i) const { return *static_cast<AnalysisNode*>(At(i)); }
    int Add(double x, double y, int inputRow);
};

// The elements in creation order; owns them.
class ElementContainer : public UContainer {
public:
    ElementContainer() : UContainer(sizeof(SolElement*), 100) {}
    ~ElementContainer();
    SolElement& operator[](int i) const { return **static_cast<SolElement**>(At(i)); }
    int Add(SolElement* element);
    void Release();
};

// A point of the extrema search along a beam. A beam without elements has
// no extrema (found false; the values are then meaningless).
struct BeamExtremum {
    double max;
    double xiMax;
    double min;
    double xiMin;
    bool found = false;
};

// The springs of one input node's analysis node, summed: their stiffness in
// global components (wz, Rx, Ry), with the rotational springs turned by the
// node's skew and without the components a rigid support of the node holds
// (a support takes the whole force there, the spring adds nothing).
struct NodeSpring {
    int32_t node;   // analysis node
    double axes[3]; // in wz, about the first and about the second support axis
    double k[3][3]; // the same in global components
};

struct Point3 {
    double x;
    double y;
    double z;
};

// The results of one load case of a run of several, as its evaluation left
// them: enough to show that load case again (ShowCase) and to add it into a
// factored sum of load cases (a combination), on the same analysis model.
struct CaseResults {
    std::vector<double> solved;      // solvedValue of every degree of freedom
    std::vector<double> nodeForces;  // nodeForce of every degree of freedom
    std::vector<double> forces;      // the six end forces of every element
    std::vector<ElementLoads> loads; // span and temperature loads of every element; none: all zero
    // Analysis nodes at which the load case alone would divide its beams
    // (beam ends, hinges, its own point loads): the extrema search samples
    // the elements of that division, as the load case alone does.
    std::vector<char> divisionNodes;

    // The same model's results, all zero.
    static CaseResults ZeroLike(const CaseResults& like);
    // this += factor × other.
    void AddScaled(const CaseResults& other, double factor);
    size_t Bytes() const;
};

// The load cases of a run of several: ActivateCase(k) puts load case k
// (from 0) into the load tables of the model's input.
class LoadCaseSource {
public:
    virtual ~LoadCaseSource() = default;
    virtual int CaseCount() const = 0;
    virtual void ActivateCase(int k) = 0;
};

// The analysis model: analysis nodes, elements, constraint rows and the
// degree-of-freedom table, built from the input model of every run, and the
// results of the last successful run. Section-force kinds: 1 Q, 2 M, 3 T.
class SolutionsCont {
public:
    explicit SolutionsCont(InputModel& input);
    SolutionsCont(const SolutionsCont&) = delete;
    SolutionsCont& operator=(const SolutionsCont&) = delete;

    InputModel& Input() const { return input_; }

    // --- Driver
    // Discards the model and the results.
    void Clear();
    // Checks the input, builds, solves and evaluates; status may be null.
    CalcResult Calculate(CalcStatus* status = nullptr);
    // Checks and the stages 1 to 3; kStageOk or kStageFailed.
    int PrepareModel(CalcStatus* status, CalcResult& result);
    // Stages 4 to 7; kStageOk or kStageFailed.
    int SolveModel(CalcStatus* status, CalcResult& result);
    // Several load cases on one analysis model: the beams are divided at the
    // point loads of all of them, load cases that constrain the same
    // components share one factorisation (further right-hand sides), the
    // others get their own. results[k] are those of load case k; the model
    // shows the last one evaluated. A failure names its load case in
    // failedCase. counters.loadCases and counters.factorisations tell how
    // many of each.
    CalcResult CalculateCases(LoadCaseSource& source, std::vector<CaseResults>& results,
                              CalcStatus* status = nullptr);
    // The results the model holds, and the model showing kept ones again (the
    // input's load tables must hold the load case's, or none for a sum).
    CaseResults TakeCase() const;
    void ShowCase(const CaseResults& results);
    // After the evaluation: every displacement, node force and section force
    // is a finite number.
    bool ResultsFinite() const;
    // K q = loads up to rounding, relative to the largest load.
    bool SolutionBalanced(const Matrix& loads, const Matrix& q) const;

    // --- Model
    // Analysis nodes, support rows, beam division, elements, hinge couplings.
    void BuildModel();
    // The degree-of-freedom table, the elimination and the equation numbers;
    // kEliminationOk or kEliminationContradiction.
    int NumberDofs();
    // Stage 3: numbers the equations in a profile-reducing order when that
    // gives a smaller profile than the order of the nodes; returns whether it
    // did. Only the equation numbers change, nothing of the node order.
    bool OptimizeEquations();
    // For every element the equations its six degrees of freedom reach.
    EquationSets ElementEquations() const;
    // The column heights of the global stiffness matrix (K created with n
    // equations, before FinishProfile).
    void ProfileHeights(KMatrix& K) const;
    OneBCContainer* AddRow() { return bcRows.AddRow(); }
    void AddTerm(OneBCContainer* row, int node, int component, double coefficient) {
        row->AddTerm(node, component, coefficient);
    }
    // Rows of the constrained displacements and imposed hinge deformations.
    void AddLoadCaseRows();
    void Expand(int dof, FGFieldCont& out) const { dofs.Expand(dof, out); }
    double DofValue(int dof) const { return dofs.DofValue(dof); }
    int ElementDof(const SolElement& element, int i) const;
    ElementEnds Ends(const SolElement& element) const;
    // The element's axis, kept for a run of several load cases.
    ElementFrame Frame(int element) const;
    // What the evaluation of every load case needs of the elements and does
    // not depend on the loads (stiffness, axis), computed once for a run of
    // several load cases and dropped at its end (328 bytes an element). Kept
    // only up to kMaxKeptElements elements, beyond that computed per load case.
    static constexpr int kMaxKeptElements = 500000;
    void KeepElementData();

    // --- Assembly
    void AssembleStiffness(KMatrix& K, Matrix& F) const;
    void AssembleStiffness(StiffnessEntries& K, Matrix& F) const;
    // Kq := K q with the stiffness of the elements (the matrix need not be kept).
    void MultiplyStiffness(const Matrix& q, Matrix& Kq) const;
    void AssembleLoads(Matrix& F);
    // F += the terms of the prescribed displacements only, as the stiffness
    // assembly adds them.
    void AssemblePrescribed(Matrix& F) const;
    // Adds the generalised force x on (node, component) to F; with record the
    // degree of freedom's nodeForce −= x.
    void AddLoad(double x, int node, int component, Matrix& F, bool record);

    // --- Evaluation
    void StoreDisplacements(const Matrix& q);
    // q: the solution of every equation, one after the other.
    // copy, when given, takes every degree of freedom's value as well.
    void StoreDisplacements(const double* q, double* copy = nullptr);
    void Evaluate();
    double NodeValue(int node, int component) const;
    double NodeForce(int node, int component) const;
    Point3 DeformedNode(int node, double scale) const;
    double Deflection(int element, double t) const;
    double SectionForce(int element, double t, int kind) const;
    Point3 DeformedPoint(int element, double t, double scale) const;
    // The first element of beam (number) that covers ξ; throws
    // "Stab nicht gefunden" when none does.
    int ElementAt(int beam, double xi) const;
    BeamExtremum BeamExtrema(int beam, int kind) const;
    double MaxDeflection() const;
    double MaxSectionForce(int kind) const;
    double MaxNodeForce() const;
    double MaxNodeMoment() const;
    // The springs of the run, one per analysis node that has any, in node order.
    const std::vector<NodeSpring>& Springs() const { return springs_; }
    bool HasSpring(int node) const { return SpringAt(node) != nullptr; }
    // The springs of an analysis node, null when it has none.
    const NodeSpring* SpringAt(int node) const;
    // The force of the node's springs on the structure, −k·u, in the sign
    // convention of the reactions; 0 at a node without springs and in a
    // component the load case imposes (that part of the spring acts nothing).
    double SpringForce(int node, int component) const;
    // The force of the rigid supports alone: NodeForce, which is the whole
    // force of the ground on the node, less the springs' share.
    double SupportReaction(int node, int component) const;

    int32_t resultsValid = 0;
    ElementContainer elements;
    NodeContainer nodes;
    BCContainer bcRows;
    FGTabCont dofs;
    // The status window's counters; they keep their values between runs
    // until a run changes them.
    CalcCounters counters;

private:
    class Division;
    class CaseRun;
    void SampleAlongSegment(const struct SampleSegment& segment, int kind, double* v) const;
    struct BeamAttachments;
    void BuildAnalysisNodes();
    void AddSupportRows(int node, const struct NodeRec& rec);
    void GatherSprings();
    double RawSpringForce(int node, int component) const;
    bool ImposedComponent(int node, int component) const;
    void DivideBeam(int row, const BeamAttachments& attachments);
    void AddHingeCouplings(int prev, int next, double beta, const bool released[3]);
    void AddHingeRow(int type, int sideA, int sideB, double beta, double rowConstant);
    void ResetWorkingFields();
    void EvaluateElementForces();
    // The same end forces of one or several load cases on the data kept for
    // a run of several, each element's data read once for all of them.
    struct KeptCase;
    void EvaluateKeptCases(std::vector<KeptCase>& cases);
    void EvaluateKeptElement(int e, KeptCase& c, Matrix& f);
    // With the node forces of the active load case complete: the hinge
    // sums and the scales, the elements' part of which is given.
    struct ResultScales;
    void FinishEvaluation(ResultScales elementScales);
    void SumHingeForces();
    double TemperatureDeflection(int index, double L, double t) const;
    // The element's equivalent nodal loads (f zeroed first) and load sums,
    // from the table of the run where there is one.
    void ElementLoadVector(int index, Matrix& f) const;
    BeamLoadSums LoadSums(int index) const;
    void ReportCounters(CalcStatus* status);
    // The solver's figures into the counters, reported.
    void ReportSolver(const EquationSolver& solver, CalcStatus* status);
    // The end of a run, failed or not: results valid, the last stage finished.
    void FinishRun(bool ok, CalcStatus* status, CalcResult& result);
    // The largest magnitudes of the results by unit, for telling rounding
    // noise from values: a value within kResultNoise of its unit's largest is
    // shown as 0, so that both solvers (and any equation order) report the
    // same numbers. Zero (nothing settled) until a run has been evaluated.
    struct ResultScales {
        double deflection = 0.0;
        double rotation = 0.0;
        double force = 0.0;
        double moment = 0.0;
        bool finite = true; // every value measured is finite
    };
    void MeasureResultScales();
    void MeasureDofScales(ResultScales& scales) const;
    double Settled(double value, double scale) const;
    double ForceScale(int kind) const;
    ResultScales scales_;
    template <class AddEntry> void ForEachStiffnessEntry(Matrix* F, AddEntry&& add) const;
    template <int N, class Stiffness, class AddEntry>
    void AddExpandedBlock(const FGFieldCont (&expansion)[N], Stiffness&& kij, Matrix* F,
                          AddEntry& add) const;

    InputModel& input_;
    FGFieldCont loadExpansion_; // reused by every AddLoad
    // The element equations of stage 3 and the numbering it chose (empty:
    // the node order); the profile heights follow from them without
    // expanding every element again.
    std::optional<EquationSets> stageThreeSets_;
    std::vector<int32_t> stageThreeNumber_;
    ElementLoadTable elementLoads_; // built by AssembleLoads
    // Per element, while a run of several load cases keeps them.
    struct KeptElement {
        double stiffness[36]; // Stiffness, row by row
        ElementFrame frame;
        double bendingFlexibility; // L / (6 EI / L), as Deflection computes it
        int32_t startDof;          // the first degree of freedom of each end node
        int32_t endDof;
    };
    std::vector<KeptElement> kept_;
    // The degrees of freedom of kept_'s elements, taken again whenever the
    // degree-of-freedom table is numbered.
    void KeepElementDofs();
    // While kept_ is: the end forces of the last evaluation, element after
    // element, gathered as they are computed for the load case's results.
    std::vector<double> caseForces_;
    // A load case evaluated by EvaluateKeptCases.
    struct KeptCase {
        const double* values;          // the displacement of every degree of freedom
        double* nodeForces;            // the node force of every degree of freedom, added to
        const ElementLoadTable* loads; // built for every element, or all zero
        std::vector<double>* forces;   // the six end forces of every element, appended
        ResultScales scales;           // of the end forces
    };
    std::vector<double> dofValues_, dofForces_; // Evaluate on the kept data
    // The end forces of a load case evaluated on the kept data into the elements.
    void ShowKeptForces(const std::vector<double>& forces);
    CaseResults TakeCase(bool withForces) const;
    double largestFlexibility_ = 0.0; // of kept_, NaN when one is not finite
    bool framesProper_ = false;       // of kept_: lengths not 0 or NaN, finite directions
    bool NoElementLoads() const;
    bool EndValuesFinite() const;
    bool UnloadedSpansFinite() const;
    std::vector<NodeSpring> springs_; // built by BuildModel
    std::vector<int32_t>
        springOf_; // per analysis node its index in springs_, −1; empty without springs
    std::vector<char>
        divisionNodes_; // ShowCase: the division the extrema sample; empty: the elements
    SolverKind solverKind_ = SolverKind::kProfile; // chosen in stage 3
};

// K q (Kq) against the loads: equal up to rounding, relative to the largest load.
bool LoadsBalanced(const Matrix& loads, const Matrix& Kq);
// The same for n loads and the entries Kq[0], Kq[stride], … of K q.
bool LoadsBalanced(const double* loads, const double* Kq, int n, size_t stride);

// Stage results of the driver.
constexpr int kStageOk = 1;
constexpr int kStageFailed = 2;

// The program's analysis model (on the program's input model).
SolutionsCont& Solutions();
