#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The traffic options of balkor-batch: a vehicle moved along lanes, the
// envelope of its positions, and influence surfaces.
struct TrafficOptions {
    std::string vehicle;            // --vehicle NAME|FILE|point:VALUE
    std::vector<std::string> lanes; // --lane "x1,y1;x2,y2;..."
    double step = 0.0;              // --step LENGTH (m); 0: not given
    bool stepGiven = false;
    bool bothDirections = false;          // --both-directions
    std::string envelopeName = "Verkehr"; // --traffic-envelope NAME
    bool envelopeNameGiven = false;
    std::vector<std::string> influences; // --influence "M:beam=12:xi=0.5"

    bool Requested() const { return !vehicle.empty() || !lanes.empty() || !influences.empty(); }
    bool Moving() const { return !vehicle.empty() || !lanes.empty(); }
};

// The vehicle file --vehicle reads; empty for a built-in vehicle or a point load.
std::string VehicleFileOf(const TrafficOptions& options);

// Whether arg is one of the traffic options (with "=value" or not).
bool IsTrafficOption(const std::string& arg);
// Stores the traffic option at args[i] (its value the next argument or after
// "="); false with a German message for a missing or bad value.
bool StoreTrafficOption(const std::vector<std::string>& args, size_t& i, TrafficOptions& options,
                        std::string& error);
// The traffic options together: a vehicle needs a lane and a step and the
// other way round; the vehicle, the lanes and the targets must read.
bool CheckTrafficOptions(const TrafficOptions& options, std::string& error);

// An envelope expression may hold the traffic group as a term
// "NAME:SUP/INF" (NAME the --traffic-envelope name). Removes it from text
// into rest; found tells whether it was there. A bad term: false with the
// message and its position in text. removedAt/removedLength: where rest
// lost the term, for placing an error in rest back into text.
struct TrafficTerm {
    bool found = false;
    double sup = 1.0;
    double inf = 0.0;
    size_t removedAt = 0;
    size_t removedLength = 0;
};
bool SplitTrafficTerm(const std::string& text, const std::string& name, std::string& rest,
                      TrafficTerm& term, std::string& error);
// Whether an envelope after removing the term has no term left ("NAME=").
bool OnlyName(const std::string& rest);

struct Envelope;
// ParseEnvelope of the expression without its traffic term (an envelope of
// the traffic group alone is one of no other term); an error names its
// position in text. False with the German message.
bool ParseEnvelopeWithTraffic(const std::string& text, const std::string& name, int loadCases,
                              int combinations, Envelope& envelope, TrafficTerm& term,
                              std::string& error);
