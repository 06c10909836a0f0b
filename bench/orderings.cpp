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
    auto mb = [&](const std::vector<int32_t>& number) {
        return ProfileEntries(sets, number) * 8 / 1e6;
    };
    char name[64];
    std::snprintf(name, sizeof name, "%s-%d", variant.name, n);
    std::printf(
        "| %-26s | %7d | %9.1f | %9.1f (%4.0f ms) | %9.1f (%4.0f ms) | %9.1f (%4.0f ms) |\n", name,
        sets.EquationCount(), mb({}), mb(rcm), 1e3 * tRcm, mb(sloan), 1e3 * tSloan,
        mb(sloanDistance), 1e3 * tSloanDistance);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {50, 100, 200};
    std::printf("Profile in MB (entries × 8) and the time of each ordering\n");
    std::printf("| model | equations | node order | reverse Cuthill-McKee | Sloan (1, 2) | Sloan "
                "(2, 1) |\n|---|---:|---:|---:|---:|---:|\n");
    for (int n : sizes)
        for (const Variant& variant : Variants(n))
            Report(n, variant);
    return 0;
}
