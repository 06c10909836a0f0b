#pragma once

#include "analysis/SolElement.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class SolutionsCont;

// What the distributed and temperature loads do to one element.
struct ElementLoads {
    BeamLoadSums sums;
    double vector[6] = {};       // equivalent nodal loads in global axes (LoadVector)
    int32_t temperatures = 0;    // temperature records with dT ≠ 0 acting on it
    double temperatureDT = 0.0;  // dT of the first of them
    double temperatureSum = 0.0; // dT of all of them: what a factored sum of load cases adds
};

// The loads of every element of a run, gathered once: each record is read
// once per run and not once per element and query, which made the work grow
// with elements × records. Built from the same steps as SumBeamLoads and
// LoadVector in the same order, so every value is the same to the bit.
class ElementLoadTable {
public:
    void Build(const SolutionsCont& solutions);
    // The table of a load case without span and temperature loads on
    // elements of proper frames: every entry zero, none stored (a run of
    // many load cases of node and point loads would otherwise build and
    // keep megabytes of zeros for each).
    void BuildZero(int elements) {
        Clear();
        zeroCount_ = elements;
    }
    void Clear() {
        std::vector<ElementLoads>().swap(loads_);
        zeroCount_ = 0;
    }
    bool AllZero() const { return zeroCount_ > 0; }
    // The loads of every element, for keeping a load case's results and
    // for the factored sums of several; empty for an all-zero table.
    const std::vector<ElementLoads>& Entries() const { return loads_; }
    void Assign(std::vector<ElementLoads> loads) {
        loads_ = std::move(loads);
        zeroCount_ = 0;
    }
    ElementLoadTable Take() {
        ElementLoadTable taken = std::move(*this);
        Clear();
        return taken;
    }
    // The loads of an element, or null when the table was not built for it.
    const ElementLoads* Find(int element) const {
        if (element >= 0 && element < zeroCount_)
            return &kZero;
        return element >= 0 && static_cast<size_t>(element) < loads_.size() ? &loads_[element]
                                                                            : nullptr;
    }

private:
    static const ElementLoads kZero;
    std::vector<ElementLoads> loads_;
    int zeroCount_ = 0; // elements of an all-zero table
};
