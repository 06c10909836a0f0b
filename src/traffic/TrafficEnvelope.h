#pragma once

#include "project/Envelope.h"
#include "traffic/TrafficAnalysis.h"

#include <string>
#include <vector>

// An envelope of load cases and combinations with a traffic run as one more
// exclusive group (one position at a time) under its factors sup and inf.
// Because at most one position acts, the group needs only the largest and
// the smallest value of each quantity over the positions: for a factor f,
// max over the positions of f·r is f·max r for f ≥ 0 and f·min r otherwise.
struct TrafficEnvelopeResults {
    EnvelopeResults values;                    // arrangement: an index into texts
    std::vector<std::string> texts;            // "1.35·LF1 + 1.50·Verkehr[17]"
    std::vector<int> maxPosition, minPosition; // per extreme, −1: no position acts
};

// others: the envelope's own terms, otherValues their members' values in
// the order of the terms' members (as ComputeEnvelopeFrom takes them).
TrafficEnvelopeResults CombineTraffic(const TrafficExtremes& traffic, const std::string& name,
                                      double sup, double inf, const Envelope& others,
                                      const std::vector<const MemberValues*>& otherValues);
