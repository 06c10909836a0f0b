// The same grillage for CalculiX (ccx), to time a general finite-element
// program on the same model (bench/ccx_compare.sh).
//
//   balkor-ccx-deck SYSTEM.bsy LOADS.bld DECK.inp
//       writes the deck: the analysis nodes and elements of our model (beams
//       divided at hinges and point loads), as CalculiX's linear beam element
//       U1 with the same bending and torsion stiffness, the supports and
//       hinge couplings as boundary conditions and equations, and the same
//       nodal loads (the equivalent loads of the distributed loads).
//   balkor-ccx-deck --compare SYSTEM.bsy LOADS.bld DECK.dat
//       analyses the model and compares our deflections with those ccx wrote.
//
// U1 is a Timoshenko beam (1-direction vertical, bending about it with I11)
// whose torsion constant is its polar moment I11 + I22. With Poisson's ratio
// 0 (shear modulus E / 2), I11 = Iy and I22 = 2 G It / E − Iy it has our
// bending stiffness E Iy and torsion stiffness G It; I22 alone belongs to
// bending in the plane of the grillage, whose degrees of freedom (1, 2 and 6)
// are held at every node, so its sign does not matter. A large cross-section
// area leaves no shear deformation: U1 is then our Bernoulli beam.

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "model/InputFiles.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Our components wz, Rx, Ry are CalculiX's degrees of freedom 3, 4, 5:
// z along the loads, rotations right-handed about x and y.
int CcxDof(int component) {
    return 3 + component;
}

// A cross-section area so large that the shear deformation of U1 vanishes
// next to its bending (relative share below 1e-7 for the benchmark beams).
constexpr double kAreaPerInertia = 1e8;
constexpr double kShearCoefficient = 5.0 / 6.0;
constexpr double kEpsilon = 1e-15;
// ccx reads at most 20 characters per number: 13 significant digits.

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "balkor-ccx-deck: %s\n", message.c_str());
    std::exit(1);
}

void Load(InputModel& input, const char* system, const char* loads) {
    if (!LoadSystemFile(input, system))
        Fail(kSystemFileError);
    if (!LoadLoadCaseFile(input, loads))
        Fail(kLoadCaseFileError);
}

// Nodal loads of the load case by (analysis node, component), as the load
// assembly applies them: node loads, point loads, element loads.
std::map<std::pair<int, int>, double> NodalLoads(InputModel& input, SolutionsCont& s) {
    std::map<std::pair<int, int>, double> loads;
    auto add = [&](int node, int component, double value) {
        if (node >= 0 && value != 0.0)
            loads[{node, component}] += value;
    };
    for (int k = 0; k < input.nodeLoads.ValidCount(); ++k) {
        const NodeLoadRec* load = input.nodeLoads.ValidRow(k);
        for (long number = load->from; number <= std::min<long>(load->to, input.nodes.Count());
             ++number) {
            if (!input.nodes.IsRowUsed(static_cast<int>(number - 1)))
                continue;
            const int node = input.nodes.RowRecord(static_cast<int>(number - 1))->calcNode;
            add(node, kWz, load->Fz);
            add(node, kRx, load->Mx);
            add(node, kRy, load->My);
        }
    }
    for (int k = 0; k < input.pointLoads.ValidCount(); ++k) {
        const PointLoadRec* load = input.pointLoads.ValidRow(k);
        const double alpha = input.beams.BeamAngle(load->beam);
        add(load->loadNode, kWz, load->Q);
        add(load->loadNode, kRx, load->Mt * std::cos(alpha) - load->Mb * std::sin(alpha));
        add(load->loadNode, kRy, load->Mt * std::sin(alpha) + load->Mb * std::cos(alpha));
    }
    Matrix f(6, 1);
    for (int e = 0; e < s.elements.Count(); ++e) {
        const SolElement& element = s.elements[e];
        f.Zero();
        LoadVector(element, s.Ends(element), input, f);
        for (int c = 0; c < kComponents; ++c) {
            add(element.startNode, c, f[c]);
            add(element.endNode, c, f[3 + c]);
        }
    }
    for (int k = 0; k < input.hingeLoads.ValidCount(); ++k)
        if (input.hingeLoads.ValidRow(k)->kind == kHingeLoadForce)
            Fail("Gelenklasten werden nicht übertragen");
    return loads;
}

void WriteSections(std::FILE* deck, InputModel& input, SolutionsCont& s) {
    std::map<int, std::vector<int>> bySection; // section number → elements
    for (int e = 0; e < s.elements.Count(); ++e)
        bySection[BeamOf(s.elements[e], input).section].push_back(e);
    for (const auto& [section, elements] : bySection) {
        std::fprintf(deck, "*ELSET,ELSET=S%d\n", section);
        for (size_t i = 0; i < elements.size(); ++i)
            std::fprintf(deck, "%d%s", elements[i] + 1,
                         i + 1 == elements.size() || i % 12 == 11 ? "\n" : ",");
        const MatRec& m = *input.mats.RowRecord(section - 1);
        const double polar = 2.0 * m.G * m.It / m.E;
        std::fprintf(deck, "*MATERIAL,NAME=M%d\n*ELASTIC\n%.13g,0.\n", section, m.E);
        std::fprintf(deck, "*BEAM SECTION,ELSET=S%d,MATERIAL=M%d,SECTION=GENERAL\n", section,
                     section);
        std::fprintf(deck, "%.13g,%.13g,0.,%.13g,%.13g\n0.,0.,1.\n", kAreaPerInertia * m.Iy, m.Iy,
                     polar - m.Iy, kShearCoefficient);
    }
}

// Supports and prescribed values as boundary conditions, couplings as
// equations (each eliminating a degree of freedom no other condition holds).
void WriteConditions(std::FILE* deck, SolutionsCont& s) {
    std::set<std::pair<int, int>> held;
    std::string boundaries, equations;
    char line[160];
    std::vector<const OneBCContainer*> couplings;
    for (int r = 0; r < s.bcRows.Count(); ++r) {
        const OneBCContainer& row = s.bcRows.Row(r);
        std::vector<BCTerm> terms;
        for (int t = 0; t < row.Count(); ++t)
            if (std::fabs(row.Term(t).coefficient) >= kEpsilon)
                terms.push_back(row.Term(t));
        if (terms.size() == 1) {
            const std::pair<int, int> dof{terms[0].node + 1, CcxDof(terms[0].component)};
            if (!held.insert(dof).second)
                continue;
            std::snprintf(line, sizeof line, "%d,%d,%d,%.13g\n", dof.first, dof.second, dof.second,
                          -row.rowConstant / terms[0].coefficient);
            boundaries += line;
        } else if (terms.size() > 1) {
            if (row.rowConstant != 0.0)
                Fail("Zwangsverformungen an Gelenken werden nicht übertragen");
            couplings.push_back(&row);
        }
    }
    for (const OneBCContainer* row : couplings) {
        std::vector<BCTerm> terms;
        for (int t = 0; t < row->Count(); ++t)
            if (std::fabs(row->Term(t).coefficient) >= kEpsilon)
                terms.push_back(row->Term(t));
        // ccx eliminates the first degree of freedom of an equation.
        auto free = std::find_if(terms.rbegin(), terms.rend(), [&](const BCTerm& t) {
            return !held.count({t.node + 1, CcxDof(t.component)});
        });
        if (free == terms.rend())
            Fail("Kopplung ohne freien Freiheitsgrad");
        std::iter_swap(terms.begin(), free.base() - 1);
        held.insert({terms[0].node + 1, CcxDof(terms[0].component)});
        equations += std::to_string(terms.size()) + "\n";
        for (size_t t = 0; t < terms.size(); ++t) {
            std::snprintf(line, sizeof line, "%d,%d,%.13g%s", terms[t].node + 1,
                          CcxDof(terms[t].component), terms[t].coefficient,
                          t + 1 == terms.size() ? "\n" : ",");
            equations += line;
        }
    }
    std::fprintf(deck, "*BOUNDARY\nNALL,1,2\nNALL,6,6\n%s", boundaries.c_str());
    if (!equations.empty())
        std::fprintf(deck, "*EQUATION\n%s", equations.c_str());
}

void WriteDeck(const char* path, InputModel& input, SolutionsCont& s) {
    std::FILE* deck = std::fopen(path, "w");
    if (!deck)
        Fail(std::string("kann ") + path + " nicht schreiben");
    std::fprintf(deck, "*HEADING\nBalkor grillage for CalculiX\n*NODE,NSET=NALL\n");
    for (int k = 0; k < s.nodes.Count(); ++k)
        std::fprintf(deck, "%d,%.13g,%.13g,0\n", k + 1, s.nodes[k].x, s.nodes[k].y);
    std::fprintf(deck, "*USER ELEMENT,TYPE=U1,INTEGRATION POINTS=2,MAXDOF=6,NODES=2\n"
                       "*ELEMENT,TYPE=U1,ELSET=EALL\n");
    for (int e = 0; e < s.elements.Count(); ++e)
        std::fprintf(deck, "%d,%d,%d\n", e + 1, s.elements[e].startNode + 1,
                     s.elements[e].endNode + 1);
    WriteSections(deck, input, s);
    WriteConditions(deck, s);
    std::fprintf(deck, "*STEP\n*STATIC\n*CLOAD\n");
    for (const auto& [dof, value] : NodalLoads(input, s))
        std::fprintf(deck, "%d,%d,%.13g\n", dof.first + 1, CcxDof(dof.second), value);
    std::fprintf(deck, "*NODE PRINT,NSET=NALL\nU\n*END STEP\n");
    if (std::fclose(deck) != 0)
        Fail(std::string("kann ") + path + " nicht schreiben");
}

// ccx's displacements: lines "node ux uy uz rx ry rz" after the heading.
std::vector<double> CcxDeflections(const char* path, int nodes) {
    std::FILE* dat = std::fopen(path, "r");
    if (!dat)
        Fail(std::string("kann ") + path + " nicht lesen");
    std::vector<double> w(static_cast<size_t>(nodes), NAN);
    char line[512];
    while (std::fgets(line, sizeof line, dat)) {
        int node;
        double v[6];
        if (std::sscanf(line, "%d %lf %lf %lf %lf %lf %lf", &node, &v[0], &v[1], &v[2], &v[3],
                        &v[4], &v[5]) == 7 &&
            node >= 1 && node <= nodes)
            w[node - 1] = v[2];
    }
    std::fclose(dat);
    return w;
}

int Compare(const char* path, SolutionsCont& s) {
    const CalcResult result = s.Calculate(nullptr);
    if (!result.ok)
        Fail("Berechnung fehlgeschlagen: " + result.message);
    const std::vector<double> ccx = CcxDeflections(path, s.nodes.Count());
    double largest = 0.0, largestCcx = 0.0, difference = 0.0;
    int worst = 0;
    for (int k = 0; k < s.nodes.Count(); ++k) {
        if (std::isnan(ccx[k]))
            Fail("ccx hat keine Verschiebung des Knotens " + std::to_string(k + 1));
        const double w = s.NodeValue(k, kWz);
        largest = std::max(largest, std::fabs(w));
        largestCcx = std::max(largestCcx, std::fabs(ccx[k]));
        if (std::fabs(w - ccx[k]) > difference) {
            difference = std::fabs(w - ccx[k]);
            worst = k;
        }
    }
    const double relative = largest > 0 ? difference / largest : difference;
    std::printf("Durchbiegung: größte %.6g (Balkor), %.6g (ccx); größter Unterschied %.3g "
                "(%.2g der größten, Knoten %d)\n",
                largest, largestCcx, difference, relative, worst + 1);
    return relative <= 1e-4 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool compare = argc == 5 && std::strcmp(argv[1], "--compare") == 0;
    if (!compare && argc != 4) {
        std::fprintf(stderr, "Aufruf: balkor-ccx-deck SYSTEM.bsy LAST.bld DECK.inp\n"
                             "       balkor-ccx-deck --compare SYSTEM.bsy LAST.bld DECK.dat\n");
        return 2;
    }
    const int first = compare ? 2 : 1;
    InputModel input;
    SolutionsCont s(input);
    Load(input, argv[first], argv[first + 1]);
    if (compare)
        return Compare(argv[first + 2], s);
    CalcResult result;
    if (s.PrepareModel(nullptr, result) != kStageOk)
        Fail("Modell nicht aufgebaut: " + result.message);
    WriteDeck(argv[first + 2], input, s);
    return 0;
}
