#pragma once

#include "analysis/CalcStatus.h"
#include "analysis/Matrix.h"
#include "project/Envelope.h"
#include "traffic/WheelDistribution.h"

#include <memory>
#include <string>
#include <vector>

struct InputModel;
class SolutionsCont;
class EquationSolver;

// The largest and smallest value of every quantity of an envelope layout
// over the positions of a traffic run, each with the position that gives it
// and the values of every quantity of that place under that position.
struct TrafficExtremes {
    EnvelopeLayout layout;
    int positions = 0;
    std::vector<double> max, min; // by value index (as MemberValues)
    std::vector<int> maxAt, minAt;
    // [value index × kBeamQuantities + quantity]; reactions use the first three.
    std::vector<double> maxConcurrent, minConcurrent;
    size_t Bytes() const;
};

// The result whose influence surface is asked for: "w:node=N", "R:node=N",
// "Q:beam=B:xi=X", "M:…", "T:…".
struct InfluenceTarget {
    char quantity = 'M'; // w, R, Q, M, T
    int node = 0;
    int beam = 0;
    double xi = 0.5;
    std::string text; // as written
};
bool ParseInfluenceTarget(const std::string& text, InfluenceTarget& target, std::string& error);

// The influence value of a unit load (1 along +z) at every node and
// evaluation point: what the target takes when the unit load stands there.
struct InfluenceSurface {
    InfluenceTarget target;
    EnvelopeLayout layout;
    std::vector<double> beamValues; // by beam point of the layout
    std::vector<int> nodes;         // input node numbers
    std::vector<double> nodeValues;
};

// Traffic on one system: the model is built once without loads and its
// stiffness factorised once; every vehicle position is one right-hand side
// of its wheel loads. A point load between the analysis nodes is carried as
// the equivalent nodal loads of its element, and its own local part (the
// values of the element clamped at both ends) is added at the evaluation
// points inside that element, so that the beams are never divided at the
// wheels and the values are those of the load as a divided beam gives them.
class TrafficAnalysis {
public:
    // input holds the system; its load tables are emptied.
    explicit TrafficAnalysis(InputModel& input);
    ~TrafficAnalysis();

    CalcResult Prepare(CalcStatus* status = nullptr);

    const EnvelopeLayout& Layout() const { return layout_; }
    SolutionsCont& Solutions() { return *solutions_; }

    // The values of one position at the layout's places (as EnvelopeValues).
    std::vector<double> Values(const std::vector<LoadShare>& shares);
    // Every position's values, reduced to their extremes.
    TrafficExtremes Run(const std::vector<std::vector<LoadShare>>& positions);
    // One solve with the dual load of the target; false with a German
    // message when the target is not in the system.
    bool Influence(const InfluenceTarget& target, InfluenceSurface& surface, std::string& error);

private:
    void AddShares(const std::vector<LoadShare>& shares, Matrix& F, bool record);
    void Load(const std::vector<LoadShare>& shares, Matrix& F);
    // The values at the layout's places into values (as EnvelopeValues orders them).
    void Evaluate(const std::vector<LoadShare>& shares, const Matrix& q, double* values);
    void AddDual(Matrix& G, int dof, double x) const;

    InputModel& input_;
    std::unique_ptr<SolutionsCont> solutions_;
    std::unique_ptr<EquationSolver> solver_;
    EnvelopeLayout layout_;
    Matrix scratch_;
    // The evaluation points of each element: (beam point index, t).
    std::vector<std::vector<std::pair<size_t, double>>> elementPoints_;
    // The element and t of every beam point, and the analysis node of every
    // reaction node, as EnvelopeValues finds them.
    std::vector<std::pair<int, double>> pointElements_;
    std::vector<int> reactionNodes_;
    std::vector<double> flexibility_; // of the element of every beam point, L / (6 EI / L)
};
