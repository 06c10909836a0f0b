// Profiles of the equation numberings that stage 3 compares, on generated
// grillages: the node order, reverse Cuthill–McKee and Sloan (two weightings),
// with the time each ordering takes.
//
//   bench_orderings [N...]        (default: 50 100 200)

#include "Grillage.h"
#include "analysis/Renumbering.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Variant {
    const char* name;
    GrillageOptions options;
};

std::vector<Variant> Variants(int n) {
    GrillageOptions plain;
    plain.n = plain.m = n;
    GrillageOptions pointsHinges = plain;
    pointsHinges.pointLoads = true;
    pointsHinges.hingeEvery = 10;
    GrillageOptions skew = plain;
    skew.hingeEvery = 50;
    skew.perBeamLoads = true;
    skew.skew = 30.0;
    return {{"grid", plain}, {"points-hinges10", pointsHinges}, {"hinges-per-beam-skew", skew}};
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Profile in MB, largest column height and the factorisation's work
// (Σ height², in 10^9) of a numbering.
std::string Measures(const EquationSets& sets, const std::vector<int32_t>& number) {
    int64_t entries = 0, largest = 0;
    double work = 0.0;
    for (int32_t h : ProfileColumnHeights(sets, number)) {
        entries += std::max(h, 1);
        largest = std::max<int64_t>(largest, h);
        work += static_cast<double>(h) * h;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%7.1f %6lld %7.2f", entries * 8 / 1e6,
                  static_cast<long long>(largest), work / 1e9);
    return text;
}

void Report(int n, const Variant& variant) {
    InputModel input;
    SolutionsCont solutions(input);
    BuildGrillage(input, variant.options);
    solutions.BuildModel();
    solutions.AddLoadCaseRows();
    if (solutions.NumberDofs() != kEliminationOk) {
        std::printf("%s-%d: Widerspruch\n", variant.name, n);
        return;
    }
    const EquationSets sets = solutions.ElementEquations();
    std::vector<int32_t> rcm, sloan, sloanDistance;
    const double tRcm = Seconds([&] { rcm = ReverseCuthillMcKee(sets); });
    const double tSloan = Seconds([&] { sloan = SloanOrdering(sets, SloanWeights{1, 2}); });
    const double tSloanDistance = Seconds([&] {
        sloanDistance = SloanOrdering(sets, SloanWeights{2, 1});
    });
    char name[64];
    std::snprintf(name, sizeof name, "%s-%d", variant.name, n);
    std::printf("| %-26s | %7d | %s | %s (%4.0f ms) | %s (%4.0f ms) | %s (%4.0f ms) |\n", name,
                sets.EquationCount(), Measures(sets, {}).c_str(), Measures(sets, rcm).c_str(),
                1e3 * tRcm, Measures(sets, sloan).c_str(), 1e3 * tSloan,
                Measures(sets, sloanDistance).c_str(), 1e3 * tSloanDistance);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {50, 100, 200};
    std::printf("Per ordering: profile in MB (entries × 8), bandwidth (largest column "
                "height), work of the factorisation (sum of squared heights, 10^9) and the "
                "time the ordering takes\n");
    std::printf("| model | equations | node order | reverse Cuthill-McKee | Sloan (1, 2) | Sloan "
                "(2, 1) |\n|---|---:|---:|---:|---:|---:|\n");
    for (int n : sizes)
        for (const Variant& variant : Variants(n))
            Report(n, variant);
    return 0;
}
