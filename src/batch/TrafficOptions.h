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

struct Envelope;
// An --envelope that may hold the traffic term "NAME:SUP/INF" (NAME the
// --traffic-envelope name; ParseEnvelopeWithTraffic of project/Project.h),
// its factors in envelope.traffic. False with the German message naming the
// position of the error in text.
bool ParseEnvelopeOption(const std::string& text, const std::string& name, int loadCases,
                         int combinations, Envelope& envelope, std::string& error);
