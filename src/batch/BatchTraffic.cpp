// balkor-batch --vehicle … --lane … --step …, --influence …: traffic on the
// deck, its envelopes (alone and with the load cases) and influence surfaces.

#include "batch/BatchTraffic.h"

#include "batch/BatchOptions.h"
#include "batch/BatchPictures.h"
#include "batch/BatchRun.h"
#include "batch/BatchSteps.h"
#include "batch/OutputFiles.h"
#include "batch/ResultsJson.h"
#include "batch/TrafficOptions.h"
#include "graphics/ResultScene.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"
#include "project/ProjectFile.h"
#include "protocols/ResultValues.h"
#include "traffic/ProjectTraffic.h"

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <utility>

using Json = nlohmann::ordered_json;

namespace {

constexpr int kTrafficFormatVersion = 1;
const char* const kBeamKeys[kBeamQuantities] = {"wz", "Q", "M", "T"};
const char* const kReactionKeys[kReactionQuantities] = {"Z", "Mx", "My"};

bool RefuseOtherOutputs(const BatchOptions& options, std::FILE* err) {
    const bool dxf = std::any_of(options.pictures.begin(), options.pictures.end(),
                                 [](const SvgPicture& p) { return p.dxf; });
    if (options.resultsFile.empty() && options.inputProtocolFile.empty() &&
        !options.SpreadsheetRequested() && !dxf && options.systemOutputFile.empty())
        return true;
    PrintError(err, "balkor-batch: Mit Verkehr (--vehicle, --lane, --influence) schreibt "
                    "balkor-batch nur --json und --svg (und --write-project)");
    return false;
}

std::string CaseName(const std::string& file, size_t k) {
    const std::string stem = std::filesystem::path(file).stem().string();
    return stem.empty() ? "LF" + std::to_string(k + 1) : stem;
}

bool MakeProject(const BatchOptions& options, ProjectModel& project, std::FILE* err) {
    project = ProjectModel();
    if (!options.projectFile.empty()) {
        std::string error;
        if (!LoadProjectFile(options.projectFile, project, error)) {
            PrintError(err, error);
            return false;
        }
    } else {
        project.systemFile = options.systemFile;
        std::vector<std::string> files;
        if (!options.loadCaseFile.empty())
            files.push_back(options.loadCaseFile);
        files.insert(files.end(), options.moreLoadCaseFiles.begin(),
                     options.moreLoadCaseFiles.end());
        for (size_t k = 0; k < files.size(); ++k)
            project.loadCases.push_back({CaseName(files[k], k), files[k]});
    }
    return true;
}

// The traffic of the project with the options of the command line over it:
// --vehicle, --step and --traffic-envelope replace the project's, --lane
// replaces all of its lanes, --both-directions turns both directions on.
bool MergeTraffic(const TrafficOptions& options, TrafficModel& traffic, std::FILE* err) {
    if (!traffic.Active() && options.Moving() &&
        (options.vehicle.empty() || options.lanes.empty() || !options.stepGiven)) {
        PrintError(err, "balkor-batch: Verkehr verlangt --vehicle, mindestens eine --lane und "
                        "--step (oder eine Projektdatei mit Verkehr)");
        return false;
    }
    if (!options.vehicle.empty())
        traffic.vehicle = options.vehicle;
    if (!options.lanes.empty()) {
        traffic.lanes.clear();
        for (const std::string& text : options.lanes) {
            std::string error;
            traffic.lanes.emplace_back();
            ParseLane(text, traffic.lanes.back(), error);
        }
    }
    if (options.stepGiven)
        traffic.step = options.step;
    traffic.bothDirections = traffic.bothDirections || options.bothDirections;
    if (options.envelopeNameGiven)
        traffic.groupName = options.envelopeName;
    if (traffic.Active() ||
        (!options.stepGiven && !options.bothDirections && !options.envelopeNameGiven))
        return true;
    PrintError(err, "balkor-batch: Die Optionen --step, --both-directions und --traffic-envelope "
                    "gehören zu --vehicle und --lane");
    return false;
}

// The combinations and envelopes of the command line after the project's.
bool Expressions(const BatchOptions& options, ProjectModel& project, std::FILE* err) {
    const int cases = static_cast<int>(project.loadCases.size());
    for (const std::string& text : options.combinations) {
        Combination combination;
        ExpressionError e;
        if (!ParseCombination(text, cases, combination, e)) {
            PrintError(err, "balkor-batch: " + ExpressionMessage("--combination", text, e));
            return false;
        }
        project.combinations.push_back(combination);
    }
    for (const std::string& text : options.envelopes) {
        Envelope envelope;
        std::string error;
        if (!ParseEnvelopeOption(text, project.traffic.groupName, cases,
                                 static_cast<int>(project.combinations.size()), envelope, error)) {
            PrintError(err, "balkor-batch: " + error);
            return false;
        }
        project.envelopes.push_back(envelope);
    }
    return true;
}

int ReadLoadCases(const ProjectModel& project, std::vector<std::unique_ptr<InputModel>>& tables,
                  std::FILE* err) {
    for (const LoadCaseEntry& entry : project.loadCases) {
        auto input = std::make_unique<InputModel>();
        int found = 0;
        if (!entry.file.empty() && !LoadLoadCaseFile(*input, entry.file, &found)) {
            PrintError(err, std::string(kLoadCaseFileError) + ": " + entry.file);
            return kExitLoadCaseFile;
        }
        tables.push_back(std::move(input));
    }
    return kExitOk;
}

// Everything a traffic run computes, for the JSON and the pictures.
struct TrafficRun {
    ProjectTrafficResults traffic; // no envelope: no vehicle
    std::vector<InfluenceSurface> influences;
};

Json PositionNumber(int position) {
    return position < 0 ? Json(nullptr) : Json(position + 1);
}

Json Extremes(const TrafficEnvelopeResults& r, size_t first, int width, const char* const* keys) {
    Json place = Json::object();
    for (int sense = 0; sense < 2; ++sense) {
        const std::vector<EnvelopeExtreme>& extremes = sense ? r.values.min : r.values.max;
        const std::vector<int>& positions = sense ? r.minPosition : r.maxPosition;
        Json values = Json::object();
        for (int q = 0; q < width; ++q) {
            const size_t at = first + static_cast<size_t>(q);
            const EnvelopeExtreme& x = extremes[at];
            Json concurrent = Json::object();
            for (int c = 0; c < width; ++c)
                concurrent[keys[c]] = x.concurrent[static_cast<size_t>(c)] + 0.0;
            values[keys[q]] = {{"value", x.value + 0.0},
                               {"concurrent", concurrent},
                               {"arrangement", r.texts[static_cast<size_t>(x.arrangement)]},
                               {"position", PositionNumber(positions[at])}};
        }
        place[sense ? "min" : "max"] = values;
    }
    return place;
}

Json EnvelopeJson(const ProjectTrafficEnvelope& spec) {
    const TrafficEnvelopeResults& r = spec.results;
    const EnvelopeLayout& layout = r.values.layout;
    Json beams = Json::array();
    for (const EnvelopeLayout::Beam& beam : layout.beams) {
        Json points = Json::array();
        for (long m = 0; m <= beam.n; ++m) {
            Json point = {{"xi", EvaluationPoint(m, beam.n)}};
            const Json x = Extremes(r, (beam.first + static_cast<size_t>(m)) * kBeamQuantities,
                                    kBeamQuantities, kBeamKeys);
            point["max"] = x["max"];
            point["min"] = x["min"];
            points.push_back(point);
        }
        beams.push_back({{"beam", beam.beam}, {"points", points}});
    }
    Json reactions = Json::array();
    const size_t first = layout.beamPoints * kBeamQuantities;
    for (size_t k = 0; k < layout.reactionNodes.size(); ++k) {
        Json reaction = {{"node", layout.reactionNodes[k]}};
        const Json x =
            Extremes(r, first + k * kReactionQuantities, kReactionQuantities, kReactionKeys);
        reaction["max"] = x["max"];
        reaction["min"] = x["min"];
        reactions.push_back(reaction);
    }
    return {{"name", spec.name},
            {"traffic", {{"sup", spec.sup}, {"inf", spec.inf}}},
            {"terms", spec.others.terms.empty() ? "" : EnvelopeText(spec.others)},
            {"beams", beams},
            {"reactions", reactions}};
}

Json InfluenceJson(const InfluenceSurface& s) {
    Json beams = Json::array();
    for (const EnvelopeLayout::Beam& beam : s.layout.beams) {
        Json xi = Json::array(), values = Json::array();
        for (long m = 0; m <= beam.n; ++m) {
            xi.push_back(EvaluationPoint(m, beam.n));
            values.push_back(s.beamValues[beam.first + static_cast<size_t>(m)] + 0.0);
        }
        beams.push_back({{"beam", beam.beam}, {"xi", xi}, {"values", values}});
    }
    Json nodes = Json::array();
    for (size_t k = 0; k < s.nodes.size(); ++k)
        nodes.push_back({{"node", s.nodes[k]}, {"value", s.nodeValues[k] + 0.0}});
    return {{"target", s.target.text}, {"beams", beams}, {"nodes", nodes}};
}

std::string TrafficJson(const TrafficRun& run, const TrafficModel& traffic) {
    Json json = {{"format", "balkor-traffic"}, {"version", kTrafficFormatVersion}};
    if (traffic.Active()) {
        const ProjectTrafficResults& t = run.traffic;
        Json wheels = Json::array();
        for (const Wheel& w : t.vehicle.wheels)
            wheels.push_back({{"along", w.along}, {"across", w.across}, {"load", w.load}});
        json["vehicle"] = {{"name", t.vehicle.name}, {"wheels", wheels}};
        Json lanes = Json::array();
        for (const Lane& lane : traffic.lanes) {
            Json points = Json::array();
            for (const LanePoint& p : lane.points)
                points.push_back({p.x, p.y});
            lanes.push_back(points);
        }
        json["lanes"] = lanes;
        json["step"] = traffic.step;
        json["bothDirections"] = traffic.bothDirections;
        Json positions = Json::array();
        for (size_t k = 0; k < t.positions.size(); ++k) {
            const VehiclePosition& p = t.positions[k];
            positions.push_back({{"position", k + 1},
                                 {"lane", p.lane + 1},
                                 {"reverse", p.reverse},
                                 {"station", p.station}});
        }
        json["positions"] = positions;
        json["wheels"] = {{"onBeam", t.shares.onBeam},
                          {"inCell", t.shares.inCell},
                          {"nearestBeam", t.shares.nearestBeam},
                          {"off", t.shares.off}};
        Json envelopes = Json::array();
        for (const ProjectTrafficEnvelope& envelope : t.envelopes)
            envelopes.push_back(EnvelopeJson(envelope));
        json["envelopes"] = envelopes;
    }
    Json influences = Json::array();
    for (const InfluenceSurface& s : run.influences)
        influences.push_back(InfluenceJson(s));
    json["influences"] = influences;
    return json.dump(1) + "\n";
}

// The diagram of a quantity: max and min at the evaluation points.
EnvelopeDiagram Diagram(const EnvelopeLayout& layout, int quantity,
                        const std::function<double(size_t)>& max,
                        const std::function<double(size_t)>& min) {
    EnvelopeDiagram diagram;
    for (const EnvelopeLayout::Beam& beam : layout.beams) {
        EnvelopeDiagram::Beam line{beam.beam, {}, {}, {}};
        for (long m = 0; m <= beam.n; ++m) {
            const size_t p = beam.first + static_cast<size_t>(m);
            line.xi.push_back(EvaluationPoint(m, beam.n));
            line.max.push_back(max(p * kBeamQuantities + static_cast<size_t>(quantity)));
            line.min.push_back(min(p * kBeamQuantities + static_cast<size_t>(quantity)));
        }
        diagram.beams.push_back(std::move(line));
    }
    return diagram;
}

// A picture of the position's loads and results, as an ordinary load case.
std::string PositionPicture(const SvgPicture& picture, const BatchOptions& options,
                            const std::vector<LoadShare>& shares, std::FILE* err) {
    auto input = std::make_unique<InputModel>();
    if (ReadSystem(options, *input, err) != kExitOk)
        return {};
    input->ResetLoadCase();
    AppendPositionLoads(shares, *input);
    auto solutions = std::make_unique<SolutionsCont>(*input);
    if (!solutions->Calculate().ok)
        return {};
    return PictureSvg(picture, *input, solutions.get());
}

bool DrawTrafficPictures(const BatchOptions& options, const TrafficRun& run, InputModel& input,
                         std::vector<DrawnPicture>& drawn, std::FILE* err) {
    const std::vector<ProjectTrafficEnvelope>& specs = run.traffic.envelopes;
    for (const SvgPicture& picture : options.pictures) {
        const int quantity = std::max(0, TabFunction(picture.tab));
        std::string name = picture.caseName;
        if (name.empty())
            name = !specs.empty() ? specs.front().name : options.traffic.influences.front();
        const bool worst = name.size() > 6 && name.compare(name.size() - 6, 6, ":worst") == 0;
        if (worst)
            name.resize(name.size() - 6);
        const EnvelopeDiagram* diagram = nullptr;
        EnvelopeDiagram made;
        for (size_t e = 0; e < specs.size() && !diagram; ++e) {
            if (specs[e].name != name)
                continue;
            const TrafficEnvelopeResults& r = specs[e].results;
            if (worst) {
                const int position = run.traffic.WorstPosition(quantity);
                if (position < 0)
                    break;
                const std::string svg = PositionPicture(
                    picture, options, run.traffic.shares.positions[static_cast<size_t>(position)],
                    err);
                if (svg.empty())
                    return false;
                drawn.push_back({&picture, svg});
                diagram = &made;
                break;
            }
            made = Diagram(
                r.values.layout, quantity, [&r](size_t i) { return r.values.max[i].value; },
                [&r](size_t i) { return r.values.min[i].value; });
            diagram = &made;
            input.ResetLoadCase();
            drawn.push_back({&picture, PictureSvg(picture, input, nullptr, diagram)});
        }
        for (const InfluenceSurface& s : run.influences) {
            if (diagram || worst || s.target.text != name)
                continue;
            // The influence values at the evaluation points as one line.
            made = Diagram(
                s.layout, 0, [&s](size_t i) { return s.beamValues[i / kBeamQuantities]; },
                [&s](size_t i) { return s.beamValues[i / kBeamQuantities]; });
            diagram = &made;
            input.ResetLoadCase();
            drawn.push_back({&picture, PictureSvg(picture, input, nullptr, diagram)});
        }
        if (!diagram) {
            PrintError(err, "balkor-batch: Unbekannte Umhüllende oder Einflussfläche: " + name +
                                " (--case von " + picture.file + ")");
            return false;
        }
    }
    return true;
}

} // namespace

int RunTrafficBatch(const BatchOptions& given, std::FILE* out, std::FILE* err) {
    if (!RefuseOtherOutputs(given, err))
        return kExitUsage;
    ProjectModel project;
    if (!MakeProject(given, project, err))
        return kExitSystemFile;
    BatchOptions options = given;
    options.systemFile = project.systemFile;
    {
        // No output over an input (the project's files among them) or another output.
        BatchOptions files = options;
        files.loadCaseFile.clear();
        files.moreLoadCaseFiles.clear();
        for (const LoadCaseEntry& entry : project.loadCases)
            files.moreLoadCaseFiles.push_back(entry.file);
        std::string error;
        if (!CheckOutputsDistinct(files, error)) {
            PrintError(err, "balkor-batch: " + error);
            return kExitUsage;
        }
    }
    if (!MergeTraffic(options.traffic, project.traffic, err) || !Expressions(options, project, err))
        return kExitUsage;
    if (!options.projectOutputFile.empty() && !WriteProjectOutput(project, options, out, err))
        return kExitOutputFile;
    if (options.OnlyProjectRequested())
        return kExitOk;
    TrafficRun run;
    std::string error;
    if (project.traffic.Active() && !PlaceTraffic(project.traffic, run.traffic, error)) {
        PrintError(err, "balkor-batch: " + error);
        return kExitUsage;
    }

    auto input = std::make_unique<InputModel>();
    if (int code = ReadSystem(options, *input, err); code != kExitOk)
        return code;
    const long copies = 4 * static_cast<long>(1 + project.envelopes.size()) +
                        static_cast<long>(options.traffic.influences.size());
    if (int code = CheckOutputLimits(options, *input, err, copies); code != kExitOk)
        return code;
    if (int code = ApplyPictureSettings(options, err); code != kExitOk)
        return code;

    // The load cases of the envelopes, on their own model.
    std::unique_ptr<InputModel> permanentInput;
    std::unique_ptr<ProjectAnalysis> analysis;
    StreamStatus status(err, options.quiet);
    if (!project.loadCases.empty()) {
        std::vector<std::unique_ptr<InputModel>> tables;
        if (int code = ReadLoadCases(project, tables, err); code != kExitOk)
            return code;
        permanentInput = std::make_unique<InputModel>();
        if (int code = ReadSystem(options, *permanentInput, err); code != kExitOk)
            return code;
        analysis = std::make_unique<ProjectAnalysis>(project, *permanentInput, std::move(tables));
        const CalcResult result = analysis->Calculate(&status);
        if (!result.ok)
            return FailedRun(result, err);
    }

    TrafficAnalysis traffic(*input);
    const CalcResult result = traffic.Prepare(&status);
    status.PrintCounters();
    if (!result.ok)
        return FailedRun(result, err);
    if (project.traffic.Active()) {
        EvaluateTraffic(project, *input, traffic, analysis.get(), run.traffic);
        if (!options.quiet)
            std::fprintf(err,
                         "Anzahl der Laststellungen:  %zu\nRäder außerhalb des Tragwerks: %ld\n",
                         run.traffic.positions.size(), run.traffic.shares.off);
    }
    for (const std::string& text : options.traffic.influences) {
        InfluenceTarget target;
        ParseInfluenceTarget(text, target, error);
        InfluenceSurface surface;
        if (!traffic.Influence(target, surface, error)) {
            PrintError(err, "balkor-batch: " + error);
            return kExitUsage;
        }
        run.influences.push_back(std::move(surface));
    }

    std::vector<DrawnPicture> pictures;
    if (!DrawTrafficPictures(options, run, *input, pictures, err))
        return kExitUsage;
    if (!options.jsonFile.empty() || options.pictures.empty()) {
        const std::string text = TrafficJson(run, project.traffic);
        const std::string path = options.jsonFile.empty() ? "-" : options.jsonFile;
        if (!WriteOutput(path, out, err, [&text](std::FILE* f) { std::fputs(text.c_str(), f); }))
            return kExitOutputFile;
    }
    return WritePictures(pictures, out, err) ? kExitOk : kExitOutputFile;
}
