#pragma once

#include "Grillage.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <stdexcept>

// The N × N grillage of Grillage.h, analysed: for the benchmarks that draw
// results.
struct AnalysedGrillage {
    explicit AnalysedGrillage(int n) : solutions(input) {
        GrillageOptions options;
        options.n = options.m = n;
        BuildGrillage(input, options);
        if (!solutions.Calculate().ok)
            throw std::runtime_error("analysis failed");
    }
    InputModel input;
    SolutionsCont solutions;
};
