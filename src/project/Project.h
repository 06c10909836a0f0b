#pragma once

#include <string>
#include <vector>

// A project: one system, an ordered list of named load cases, combinations
// of them and envelopes of load cases and combinations. Load cases and
// combinations are numbered from 1 in the texts the user writes and reads
// ("LF1", "K1"), from 0 in the lists.

struct LoadCaseEntry {
    std::string name;
    std::string file; // the load-case file (.bld)
};

// A factored sum of the load cases; a load case without a factor counts 0.
struct Combination {
    std::string name;
    std::vector<double> factors; // one per load case
};

// A member of an envelope: a load case or a combination.
struct EnvelopeMember {
    bool combination = false;
    int index = 0; // from 0
    bool operator==(const EnvelopeMember&) const = default;
};

// One term of an envelope: a single member, or an exclusive group of which
// at most one member acts, with its unfavourable (sup) and favourable (inf)
// factor.
struct EnvelopeTerm {
    std::vector<EnvelopeMember> members;
    bool group = false;
    double sup = 1.0;
    double inf = 0.0;
};

// The traffic of the project as one more exclusive group of an envelope
// (one vehicle position at a time), with its two factors.
struct TrafficTermFactors {
    bool found = false;
    double sup = 1.0;
    double inf = 0.0;
};

struct Envelope {
    std::string name;
    std::vector<EnvelopeTerm> terms;
    TrafficTermFactors traffic; // not found: an envelope of load cases and combinations only
};

// A vehicle moved along lanes over the deck in steps: the traffic of a
// project. The vehicle is a built-in name ("LM1-TS1"), a vehicle file
// (.bfz) or "point:VALUE"; empty when the project has no traffic.
struct TrafficPoint {
    double x = 0.0;
    double y = 0.0;
};
struct TrafficLane {
    std::vector<TrafficPoint> points; // a polyline in the deck plane, m
};
struct TrafficModel {
    std::string vehicle;
    std::vector<TrafficLane> lanes;
    double step = 1.0; // m
    bool bothDirections = false;
    std::string groupName = "Verkehr"; // the group's name in envelopes
    bool Active() const { return !vehicle.empty(); }
};

struct ProjectModel {
    std::string systemFile;
    std::vector<LoadCaseEntry> loadCases;
    std::vector<Combination> combinations;
    std::vector<Envelope> envelopes;
    TrafficModel traffic;
};

// A refused expression: the message and the position (from 1) in the text.
struct ExpressionError {
    std::string message;
    size_t position = 0;
};

// "NAME=1.35*1+1.5*3": a combination of the load cases 1 … loadCases; a
// term is FACTOR*K, K alone (factor 1) or -FACTOR*K. False with the error.
bool ParseCombination(const std::string& text, int loadCases, Combination& combination,
                      ExpressionError& error);

// "NAME=1:1.35/1.0+2:1.5/0+(3|4|5):1.5/0": members K (load case) or CJ
// (combination J) with SUP/INF, "(A|B|...)" an exclusive group sharing the
// factors written after it.
bool ParseEnvelope(const std::string& text, int loadCases, int combinations, Envelope& envelope,
                   ExpressionError& error);

// The texts ParseCombination and ParseEnvelope read back to the same
// values (every factor with the digits that give it back exactly).
std::string CombinationText(const Combination& combination);
std::string EnvelopeText(const Envelope& envelope);

// The German message of a refused expression: what, where and the text.
std::string ExpressionMessage(const std::string& what, const std::string& text,
                              const ExpressionError& error);

// "LF3" for load case 2, "K1" for combination 0.
std::string MemberLabel(const EnvelopeMember& member);
// "1.35·LF1 + 1.50·LF3": the terms with a factor other than 0; "0" for none.
std::string ArrangementText(const std::vector<std::pair<EnvelopeMember, double>>& terms);
// The arrangement of a combination: its factors other than 0.
std::string CombinationArrangement(const Combination& combination);
