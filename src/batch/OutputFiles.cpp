#include "batch/OutputFiles.h"

#include "exchange/ProjectTables.h"
#include "exchange/ResultTables.h"
#include "exchange/SpreadsheetExport.h"
#include "model/SafeFile.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

// What a path names: an existing regular file by device and inode, a file
// still to be made by its resolved path.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string path;

    bool operator==(const FileIdentity& other) const {
        if (exists != other.exists)
            return false;
        return exists ? device == other.device && inode == other.inode : path == other.path;
    }
};

// Empty for standard output, a device, a pipe and a path that cannot be
// looked at: writing reports those on its own.
std::optional<FileIdentity> IdentityOf(const std::string& path) {
    if (path.empty() || path == "-")
        return std::nullopt;
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return std::nullopt;
        return FileIdentity{true, info.st_dev, info.st_ino, {}};
    }
    if (errno != ENOENT)
        return std::nullopt;
    std::error_code error;
    const std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(WrittenFile(path)), error);
    return FileIdentity{false, 0, 0, error ? path : resolved.string()};
}

struct NamedFile {
    std::string role; // "die Systemdatei" for an input, "--json" for an output
    std::string path;
    std::optional<FileIdentity> identity;
};

std::vector<NamedFile> Identified(std::vector<NamedFile> files) {
    for (NamedFile& file : files)
        file.identity = IdentityOf(file.path);
    return files;
}

std::vector<NamedFile> Inputs(const BatchOptions& options) {
    std::vector<NamedFile> inputs = {{"die Systemdatei", options.systemFile, {}},
                                     {"die Lastdatei", options.loadCaseFile, {}},
                                     {"die Einstellungsdatei", options.settingsFile, {}},
                                     {"die Trägerrostbeschreibung", options.deckFile, {}},
                                     {"die Projektdatei", options.projectFile, {}},
                                     {"die DXF-Zeichnung", options.dxfImportFile, {}}};
    for (const std::string& file : options.moreLoadCaseFiles)
        inputs.push_back({"die Lastdatei", file, {}});
    inputs.push_back({"die Fahrzeugdatei", VehicleFileOf(options.traffic), {}});
    return Identified(inputs);
}

std::vector<NamedFile> Outputs(const BatchOptions& options) {
    std::vector<NamedFile> outputs = {{"--input-protocol", options.inputProtocolFile, {}},
                                      {"--results", options.resultsFile, {}},
                                      {"--json", options.jsonFile, {}},
                                      {"--write-system", options.systemOutputFile, {}},
                                      {"--write-project", options.projectOutputFile, {}}};
    if (!options.xlsxFile.empty())
        outputs.push_back({"--xlsx", options.xlsxFile, {}});
    // The CSV folder's files, each of which could be an input or another output.
    for (int table = 0; !options.csvFolder.empty() && table < kResultTableCount; ++table)
        outputs.push_back({"--csv", CsvFilePath(options.csvFolder, table), {}});
    // Envelopes add two tables (the options here may no longer say whether a
    // run has any, so they count always).
    for (int table = 0; !options.csvFolder.empty() && table < kEnvelopeTableCount; ++table)
        outputs.push_back({"--csv", EnvelopeCsvFilePath(options.csvFolder, table), {}});
    for (const SvgPicture& picture : options.pictures)
        outputs.push_back({picture.dxf ? "--dxf" : "--svg", picture.file, {}});
    return Identified(outputs);
}

bool Same(const NamedFile& a, const NamedFile& b) {
    return a.identity && b.identity && *a.identity == *b.identity;
}

} // namespace

bool CheckOutputsDistinct(const BatchOptions& options, std::string& error) {
    const std::vector<NamedFile> inputs = Inputs(options), outputs = Outputs(options);
    for (size_t i = 0; i < outputs.size(); ++i) {
        for (const NamedFile& input : inputs) {
            if (Same(outputs[i], input)) {
                error = "Die Ausgabe von " + outputs[i].role + " würde " + input.role +
                        " überschreiben: " + outputs[i].path;
                return false;
            }
        }
        for (size_t j = 0; j < i; ++j) {
            if (Same(outputs[i], outputs[j])) {
                error = "Die Ausgaben von " + outputs[j].role + " und " + outputs[i].role +
                        " sind dieselbe Datei: " + outputs[i].path;
                return false;
            }
        }
    }
    return true;
}
