// balkor-batch on several load cases: a project file, or several load-case
// files with combinations and envelopes on the command line.

#include "batch/BatchPictures.h"
#include "batch/BatchRun.h"
#include "batch/BatchSteps.h"
#include "batch/BatchTraffic.h"
#include "batch/OutputFiles.h"
#include "batch/ProjectJson.h"
#include "exchange/ProjectTables.h"
#include "graphics/ResultScene.h"
#include "model/InputFiles.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"
#include "project/ProjectFile.h"
#include "project/ProjectProtocol.h"
#include "protocols/ProtocolText.h"
#include "protocols/ResultValues.h"
#include "settings/TextEncoding.h"

#include <filesystem>
#include <memory>

namespace {

// A load case named by its file: the file name without its extension, as
// text (a name that is no UTF-8 read in the 8-bit code page, as the project
// file reads it).
std::string CaseName(const std::string& file, size_t k) {
    const std::string stem = std::filesystem::path(file).stem().string();
    if (stem.empty())
        return "LF" + std::to_string(k + 1);
    return IsValidUtf8(stem) ? stem : Windows1252ToUtf8(stem);
}

// The project of the command line: the system and the load-case files in
// their order.
ProjectModel CommandLineProject(const BatchOptions& options) {
    ProjectModel project;
    project.systemFile = options.systemFile;
    std::vector<std::string> files{options.loadCaseFile};
    files.insert(files.end(), options.moreLoadCaseFiles.begin(), options.moreLoadCaseFiles.end());
    for (size_t k = 0; k < files.size(); ++k)
        project.loadCases.push_back({CaseName(files[k], k), files[k]});
    return project;
}

// The command line's expressions behind the project's own.
bool AddExpressions(const BatchOptions& options, ProjectModel& project, std::FILE* err) {
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
        ExpressionError e;
        if (!ParseEnvelope(text, cases, static_cast<int>(project.combinations.size()), envelope,
                           e)) {
            PrintError(err, "balkor-batch: " + ExpressionMessage("--envelope", text, e));
            return false;
        }
        project.envelopes.push_back(envelope);
    }
    return true;
}

// What a picture shows: a load case, a combination or an envelope.
struct PictureCase {
    enum Kind { kLoadCase, kCombination, kEnvelope } kind = kLoadCase;
    int index = 0;
};

// --case NAME|K: K the number of a load case, else the name of a load case,
// a combination or an envelope, in this order.
bool FindPictureCase(const ProjectModel& project, const std::string& name, PictureCase& found) {
    found = PictureCase();
    if (name.empty())
        return true;
    char* end = nullptr;
    const long number = std::strtol(name.c_str(), &end, 10);
    if (*end == '\0' && number >= 1 && number <= static_cast<long>(project.loadCases.size())) {
        found.index = static_cast<int>(number - 1);
        return true;
    }
    for (size_t k = 0; k < project.loadCases.size(); ++k)
        if (project.loadCases[k].name == name) {
            found = {PictureCase::kLoadCase, static_cast<int>(k)};
            return true;
        }
    for (size_t j = 0; j < project.combinations.size(); ++j)
        if (project.combinations[j].name == name) {
            found = {PictureCase::kCombination, static_cast<int>(j)};
            return true;
        }
    for (size_t e = 0; e < project.envelopes.size(); ++e)
        if (project.envelopes[e].name == name) {
            found = {PictureCase::kEnvelope, static_cast<int>(e)};
            return true;
        }
    return false;
}

bool ResolvePictures(const BatchOptions& options, const ProjectModel& project,
                     std::vector<PictureCase>& cases, std::FILE* err) {
    for (const SvgPicture& picture : options.pictures) {
        PictureCase found;
        if (!FindPictureCase(project, picture.caseName, found)) {
            PrintError(err, "balkor-batch: Unbekannter Lastfall, Kombination oder Umhüllende: " +
                                picture.caseName + " (--case von " + picture.file + ")");
            return false;
        }
        cases.push_back(found);
    }
    return true;
}

// A drawing goes into CAD for one case of several: which, the user says.
bool CheckDrawingCases(const BatchOptions& options, std::FILE* err) {
    for (const SvgPicture& picture : options.pictures)
        if (picture.dxf && !picture.caseGiven) {
            PrintError(err, "balkor-batch: Bei mehreren Lastfällen verlangt --dxf " + picture.file +
                                " die Option --case (Lastfall, Kombination oder Umhüllende)");
            return false;
        }
    return true;
}

EnvelopeDiagram EnvelopeOfTab(ProjectAnalysis& analysis, int e, int tab) {
    return ::EnvelopeOfTab(analysis.EvaluateEnvelope(e), tab);
}

void ShowPictureCase(ProjectAnalysis& analysis, const PictureCase& c) {
    if (c.kind == PictureCase::kCombination)
        analysis.ShowCombination(c.index);
    else
        analysis.ShowLoadCase(c.index);
}

// The options of the project's files as RunBatch and the output check know them.
BatchOptions WithProjectFiles(const BatchOptions& options, const ProjectModel& project) {
    BatchOptions files = options;
    files.systemFile = project.systemFile;
    files.loadCaseFile = project.loadCases.front().file;
    files.moreLoadCaseFiles.clear();
    for (size_t k = 1; k < project.loadCases.size(); ++k)
        files.moreLoadCaseFiles.push_back(project.loadCases[k].file);
    files.combinations.clear();
    files.envelopes.clear();
    return files;
}

int ReadLoadCases(const ProjectModel& project, std::vector<std::unique_ptr<InputModel>>& tables,
                  std::FILE* err) {
    for (const LoadCaseEntry& entry : project.loadCases) {
        auto input = std::make_unique<InputModel>();
        int found = 0;
        if (!entry.file.empty()) {
            if (!LoadLoadCaseFile(*input, entry.file, &found)) {
                PrintError(err, std::string(kLoadCaseFileError) + ": " + entry.file);
                return kExitLoadCaseFile;
            }
            WarnWithoutSections(err, found, "Die Lastdatei", entry.file, input->loadTables);
        }
        tables.push_back(std::move(input));
    }
    return kExitOk;
}

std::vector<std::string> HeaderFiles(const ProjectModel& project) {
    std::vector<std::string> files;
    for (const LoadCaseEntry& entry : project.loadCases)
        files.push_back(AbsolutePath(entry.file));
    return files;
}

// The input protocol of every load case, each after its title line.
bool WriteInputProtocols(const BatchOptions& options, ProjectAnalysis& analysis,
                         const ProtocolContext& context, std::FILE* out, std::FILE* err) {
    const std::vector<std::string> files = HeaderFiles(analysis.GetProject());
    return WriteOutput(options.inputProtocolFile, out, err, [&](std::FILE* f) {
        for (int k = 0; k < analysis.CaseCount(); ++k) {
            Put(f, (k ? "\n" : "") + LoadCaseTitle(analysis, k) + "\n");
            analysis.ActivateCase(k);
            ProtocolContext own = context;
            own.loadCaseFile = files[static_cast<size_t>(k)];
            WriteInputProtocol(analysis.Input(), f, own);
        }
    });
}

std::vector<DrawnPicture> DrawPictures(const BatchOptions& options, ProjectAnalysis& analysis,
                                       const std::vector<PictureCase>& cases, bool results,
                                       std::FILE* err) {
    std::vector<DrawnPicture> drawn;
    for (size_t i = 0; i < options.pictures.size(); ++i) {
        const SvgPicture& picture = options.pictures[i];
        if (PictureNeedsResults(picture) && !results) {
            PrintError(err, Format("%s: Bild %s (%s) nicht geschrieben", kNoResultsMessage,
                                   OutputName(picture.file).c_str(), kSceneTabs[picture.tab].name));
            continue;
        }
        if (cases[i].kind == PictureCase::kEnvelope) {
            // The structure under the envelope's diagrams, without the loads
            // of any one load case.
            analysis.Input().ResetLoadCase();
            const EnvelopeDiagram envelope =
                results ? EnvelopeOfTab(analysis, cases[i].index, picture.tab) : EnvelopeDiagram();
            drawn.push_back({&picture, PictureText(picture, analysis.Input(), nullptr,
                                                   results ? &envelope : nullptr)});
            continue;
        }
        if (results)
            ShowPictureCase(analysis, cases[i]);
        else if (cases[i].kind == PictureCase::kLoadCase)
            analysis.ActivateCase(cases[i].index);
        drawn.push_back({&picture, PictureText(picture, analysis.Input(),
                                               results ? &analysis.Solutions() : nullptr)});
    }
    return drawn;
}

// The tables of every load case, combination and envelope: a sheet of too
// many rows is refused before the analysis and before any output.
int CheckProjectSpreadsheets(const BatchOptions& options, InputModel& input,
                             const ProjectModel& project, std::FILE* err) {
    const long rows = ProjectTableRows(input, project);
    for (const std::string* path : {&options.csvFolder, &options.xlsxFile})
        if (!path->empty() && rows > kMaxResultPointRows) {
            PrintError(err, Format("%s: %s (%s)", kWriteOutputError, path->c_str(),
                                   TooManyRowsText(rows).c_str()));
            return kExitOutputFile;
        }
    return kExitOk;
}

bool WriteProjectSpreadsheets(const BatchOptions& options, ProjectAnalysis& analysis,
                              std::FILE* err) {
    ExportResult result;
    if (!options.csvFolder.empty())
        result = WriteProjectTables(analysis, TableFormat::kCsv, options.csvFolder);
    if (result.ok && !options.xlsxFile.empty())
        result = WriteProjectTables(analysis, TableFormat::kXlsx, options.xlsxFile);
    if (!result.ok)
        PrintError(err, result.message);
    return result.ok;
}

void PrintFailedCase(const CalcResult& result, const ProjectModel& project, std::FILE* err) {
    if (result.failedCase >= 0)
        PrintError(err,
                   Format("Lastfall %d (%s):", result.failedCase + 1,
                          project.loadCases[static_cast<size_t>(result.failedCase)].name.c_str()));
}

int RunProject(const BatchOptions& options, const ProjectModel& project, std::FILE* out,
               std::FILE* err) {
    std::vector<PictureCase> pictureCases;
    if (!CheckDrawingCases(options, err) || !ResolvePictures(options, project, pictureCases, err))
        return kExitUsage;
    auto input = std::make_unique<InputModel>();
    if (int code = ReadSystem(options, *input, err); code != kExitOk)
        return code;
    if (!WriteSystemOutput(options, *input, out, err))
        return kExitOutputFile;
    std::vector<std::unique_ptr<InputModel>> tables;
    if (int code = ReadLoadCases(project, tables, err); code != kExitOk)
        return code;
    const long copies = static_cast<long>(project.loadCases.size() + project.combinations.size() +
                                          4 * project.envelopes.size());
    if (int code = CheckOutputLimits(options, *input, err, copies); code != kExitOk)
        return code;
    if (int code = CheckProjectSpreadsheets(options, *input, project, err); code != kExitOk)
        return code;
    if (int code = ApplyPictureSettings(options, err); code != kExitOk)
        return code;
    ProjectAnalysis analysis(project, *input, std::move(tables));

    ProtocolContext context;
    context.systemFile = AbsolutePath(project.systemFile);
    if (!options.inputProtocolFile.empty() &&
        !WriteInputProtocols(options, analysis, context, out, err))
        return kExitOutputFile;

    StreamStatus status(err, options.quiet);
    const CalcResult result = analysis.Calculate(&status);
    status.PrintCounters();
    if (!result.ok) {
        PrintFailedCase(result, project, err);
        const int code = FailedRun(result, err);
        WritePictures(DrawPictures(options, analysis, pictureCases, false, err), out, err);
        return code;
    }
    const std::vector<DrawnPicture> pictures =
        DrawPictures(options, analysis, pictureCases, true, err);
    status.PrintCaseCounters(analysis.ResultBytes());

    const std::string resultsPath = ResultsPath(options);
    const std::vector<std::string> headerFiles = HeaderFiles(project);
    if (!resultsPath.empty() && !WriteOutput(resultsPath, out, err, [&](std::FILE* f) {
            WriteProjectResultsProtocol(analysis, f, context, headerFiles);
        }))
        return kExitOutputFile;
    if (!options.jsonFile.empty()) {
        std::vector<std::string> files;
        for (const LoadCaseEntry& entry : project.loadCases)
            files.push_back(entry.file);
        const std::string text =
            ProjectResultsJsonText(analysis, project.systemFile, options.projectFile, files);
        if (!WriteOutput(options.jsonFile, out, err,
                         [&text](std::FILE* f) { std::fputs(text.c_str(), f); }))
            return kExitOutputFile;
    }
    if (!WriteProjectSpreadsheets(options, analysis, err))
        return kExitOutputFile;
    return WritePictures(pictures, out, err) ? kExitOk : kExitOutputFile;
}

} // namespace

bool WriteProjectOutput(const ProjectModel& project, const BatchOptions& options, std::FILE* out,
                        std::FILE* err) {
    const std::string& path = options.projectOutputFile;
    if (path == "-") {
        std::fputs(ProjectFileText(project, "./p.bpj").c_str(), out);
        return std::fflush(out) == 0;
    }
    if (SaveProjectFile(project, path))
        return true;
    PrintError(err, std::string(kProjectWriteError) + ": " + path);
    return false;
}

int RunProjectBatch(const BatchOptions& options, std::FILE* out, std::FILE* err) {
    ProjectModel project;
    if (!options.projectFile.empty()) {
        std::string error;
        if (!LoadProjectFile(options.projectFile, project, error)) {
            PrintError(err, error);
            return kExitSystemFile;
        }
    } else {
        project = CommandLineProject(options);
    }
    // A project with traffic, or traffic options for the project's.
    if (project.traffic.Active() || options.traffic.Given())
        return RunTrafficBatch(options, out, err);
    if (!AddExpressions(options, project, err))
        return kExitUsage;
    const BatchOptions files = WithProjectFiles(options, project);
    std::string error;
    if (!CheckOutputsDistinct(files, error)) {
        PrintError(err, "balkor-batch: " + error);
        return kExitUsage;
    }
    if (!options.projectOutputFile.empty() && !WriteProjectOutput(project, options, out, err))
        return kExitOutputFile;
    if (options.OnlyProjectRequested())
        return kExitOk;
    // One load case and nothing else: the program of one load case, byte for byte.
    if (project.loadCases.size() == 1 && project.combinations.empty() &&
        project.envelopes.empty()) {
        std::vector<PictureCase> cases;
        if (!ResolvePictures(options, project, cases, err))
            return kExitUsage;
        BatchOptions single = files;
        single.projectFile.clear();
        single.projectOutputFile.clear();
        for (SvgPicture& picture : single.pictures)
            picture.caseGiven = false;
        return RunBatch(single, out, err);
    }
    return RunProject(files, project, out, err);
}
