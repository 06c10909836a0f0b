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
// An envelope with a traffic term writes it last as "NAME:SUP/INF", NAME
// the traffic group's name.
std::string CombinationText(const Combination& combination);
std::string EnvelopeText(const Envelope& envelope, const std::string& trafficName = "Verkehr");

// An envelope expression may hold the traffic group as a term
// "NAME:SUP/INF" (NAME the group's name). SplitTrafficTerm removes it from
// text into rest; found tells whether it was there; removedAt and
// removedLength say where rest lost it, for placing an error in rest back
// into text. A bad term: false with the error at its position in text.
struct TrafficTerm {
    bool found = false;
    double sup = 1.0;
    double inf = 0.0;
    size_t removedAt = 0;
    size_t removedLength = 0;
};
bool SplitTrafficTerm(const std::string& text, const std::string& name, std::string& rest,
                      TrafficTerm& term, ExpressionError& error);
// ParseEnvelope of an expression that may hold the traffic term of the
// group trafficName (empty: no traffic), the term's factors in
// envelope.traffic; an envelope of the traffic alone has no other term. An
// error names its position in text.
bool ParseEnvelopeWithTraffic(const std::string& text, const std::string& trafficName,
                              int loadCases, int combinations, Envelope& envelope,
                              ExpressionError& error);

// A name of the traffic group: not empty, none of the characters of the
// expressions ("= + : ( ) | / [ ]").
bool IsTrafficGroupName(const std::string& name);

// "x1,y1;x2,y2;...": at least two points, finite numbers, a length > 0.
// False with a German message naming the position (from 1) in the text.
bool ParseLane(const std::string& text, TrafficLane& lane, std::string& error);
// The text ParseLane reads back to the same points.
std::string LaneText(const TrafficLane& lane);
double LaneLength(const TrafficLane& lane);

// Whether a vehicle of the traffic names a vehicle file (it has a "." or a
// folder in it and is not "point:VALUE"): built-in names have neither.
bool IsVehicleFileName(const std::string& vehicle);

// The shortest text that reads back as the same number.
std::string ShortestText(double value);

// The German message of a refused expression: what, where and the text.
std::string ExpressionMessage(const std::string& what, const std::string& text,
                              const ExpressionError& error);

// "LF3" for load case 2, "K1" for combination 0.
std::string MemberLabel(const EnvelopeMember& member);
// "1.35·LF1 + 1.50·LF3": the terms with a factor other than 0; "0" for none.
std::string ArrangementText(const std::vector<std::pair<EnvelopeMember, double>>& terms);
// The arrangement of a combination: its factors other than 0.
std::string CombinationArrangement(const Combination& combination);
