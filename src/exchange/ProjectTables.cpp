#include "exchange/ProjectTables.h"

#include "model/Format.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"
#include "project/ProjectProtocol.h"
#include "protocols/ResultValues.h"

#include <algorithm>
#include <filesystem>

namespace {

const ResultTableInfo kEnvelopeTables[kEnvelopeTableCount] = {
    {"Umhüllende Stabwerte",
     "umhuellende_stabwerte.csv",
     {"Umhüllende", "Stab", "Xi-Pos", "Extremum", "Größe", "wz", "Q", "M", "T", "Maßgebend"}},
    {"Umhüllende Auflagerkräfte",
     "umhuellende_auflagerkraefte.csv",
     {"Umhüllende", "Knoten", "Extremum", "Größe", "Z", "Mx", "My", "Maßgebend"}},
};

const char* const kBeamQuantityNames[kBeamQuantities] = {"wz", "Q", "M", "T"};
const char* const kReactionNames[kReactionQuantities] = {"Z", "Mx", "My"};

// Every row of a table behind a first cell naming its case.
class LabelledSink : public ResultRowSink {
public:
    LabelledSink(ResultRowSink& sink, const std::string& label) : sink_(sink), label_(label) {}
    void Row(std::span<const ResultCell> cells) override {
        row_.assign(1, ResultCell{0.0, label_.c_str()});
        row_.insert(row_.end(), cells.begin(), cells.end());
        sink_.Row(row_);
    }

private:
    ResultRowSink& sink_;
    const std::string& label_;
    std::vector<ResultCell> row_;
};

std::string CaseLabel(const char* prefix, int index, const std::string& name) {
    return Format("%s%d", prefix, index + 1) + (name.empty() ? "" : " " + name);
}

// Table `table` of every load case, then of every combination.
void EmitCaseTable(ProjectAnalysis& analysis, int table, ResultRowSink& sink) {
    const ProjectModel& p = analysis.GetProject();
    for (size_t k = 0; k < p.loadCases.size(); ++k) {
        analysis.ShowLoadCase(static_cast<int>(k));
        const std::string label = CaseLabel("LF", static_cast<int>(k), p.loadCases[k].name);
        LabelledSink labelled(sink, label);
        EmitResultTable(table, analysis.Input(), analysis.Solutions(), labelled);
    }
    for (size_t j = 0; j < p.combinations.size(); ++j) {
        analysis.ShowCombination(static_cast<int>(j));
        const std::string label = CaseLabel("K", static_cast<int>(j), p.combinations[j].name);
        LabelledSink labelled(sink, label);
        EmitResultTable(table, analysis.Input(), analysis.Solutions(), labelled);
    }
}

ResultCell Number(double value) {
    return {value + 0.0, nullptr};
}

// The rows of one place: max and min of each of its width quantities, as the
// envelope protocol lists them. lead: the cells before "Extremum".
void EmitExtremes(const EnvelopeResults& r, size_t first, int width, const char* const* names,
                  std::vector<ResultCell> lead, ResultRowSink& sink) {
    const size_t leading = lead.size();
    for (int q = 0; q < width; ++q)
        for (const auto* extremes : {&r.max, &r.min}) {
            const EnvelopeExtreme& x = (*extremes)[first + static_cast<size_t>(q)];
            const std::string arrangement = r.ArrangementOf(x);
            lead.resize(leading);
            lead.push_back({0.0, extremes == &r.max ? "max" : "min"});
            lead.push_back({0.0, names[q]});
            for (int c = 0; c < width; ++c)
                lead.push_back(Number(x.concurrent[static_cast<size_t>(c)]));
            lead.push_back({0.0, arrangement.c_str()});
            sink.Row(lead);
        }
}

void EmitEnvelopeTable(ProjectAnalysis& analysis, int table, ResultRowSink& sink) {
    const ProjectModel& p = analysis.GetProject();
    for (size_t e = 0; e < p.envelopes.size(); ++e) {
        const EnvelopeResults r = analysis.EvaluateEnvelope(static_cast<int>(e));
        const std::string label = CaseLabel("U", static_cast<int>(e), p.envelopes[e].name);
        const ResultCell name{0.0, label.c_str()};
        if (table == kEnvelopeTableBeams) {
            for (const EnvelopeLayout::Beam& beam : r.layout.beams)
                for (long m = 0; m <= beam.n; ++m)
                    EmitExtremes(r, (beam.first + static_cast<size_t>(m)) * kBeamQuantities,
                                 kBeamQuantities, kBeamQuantityNames,
                                 {name, Number(beam.beam), Number(EvaluationPoint(m, beam.n))},
                                 sink);
            continue;
        }
        const size_t reactions = r.layout.beamPoints * kBeamQuantities;
        for (size_t i = 0; i < r.layout.reactionNodes.size(); ++i)
            EmitExtremes(r, reactions + i * kReactionQuantities, kReactionQuantities,
                         kReactionNames, {name, Number(r.layout.reactionNodes[i])}, sink);
    }
}

ResultTableInfo Labelled(const ResultTableInfo& info) {
    ResultTableInfo labelled = info;
    labelled.columns.insert(labelled.columns.begin(), "Fall");
    return labelled;
}

std::vector<ExportTable> ProjectTables(ProjectAnalysis& analysis) {
    std::vector<ExportTable> tables;
    for (int table = 0; table < kResultTableCount; ++table)
        tables.push_back({Labelled(ResultTableInfoOf(table)), [&analysis, table](ResultRowSink& s) {
                              EmitCaseTable(analysis, table, s);
                          }});
    if (!analysis.GetProject().envelopes.empty())
        for (int table = 0; table < kEnvelopeTableCount; ++table)
            tables.push_back({EnvelopeTableInfoOf(table), [&analysis, table](ResultRowSink& s) {
                                  EmitEnvelopeTable(analysis, table, s);
                              }});
    return tables;
}

} // namespace

const ResultTableInfo& EnvelopeTableInfoOf(int table) {
    return kEnvelopeTables[table];
}

long ProjectTableRows(InputModel& input, const ProjectModel& project) {
    const long points = ResultPointRows(input);
    if (points > kMaxResultPointRows)
        return points;
    const long cases = static_cast<long>(project.loadCases.size() + project.combinations.size());
    const long envelopeRows = 2L * kBeamQuantities * static_cast<long>(project.envelopes.size());
    return points * std::max(cases, envelopeRows);
}

std::string TooManyRowsText(long rows) {
    return Format("%ld Tabellenzeilen, höchstens %ld", rows, kMaxResultPointRows);
}

ExportResult WriteProjectTables(ProjectAnalysis& analysis, TableFormat format,
                                const std::string& path) {
    if (!analysis.Solutions().resultsValid)
        return {false, "Keine Ergebnisse sind vorhanden"};
    if (const long rows = ProjectTableRows(analysis.Input(), analysis.GetProject());
        rows > kMaxResultPointRows)
        return RowLimitFailure(path, TooManyRowsText(rows));
    const std::vector<ExportTable> tables = ProjectTables(analysis);
    return format == TableFormat::kCsv ? WriteCsvTables(path, tables)
                                       : WriteXlsxTables(path, tables);
}

std::string EnvelopeCsvFilePath(const std::string& folder, int table) {
    return (std::filesystem::path(folder) / EnvelopeTableInfoOf(table).fileName).string();
}
