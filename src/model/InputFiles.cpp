#include "model/InputFiles.h"

#include "model/Format.h"
#include "model/SafeFile.h"
#include "model/Tables.h"

#include <cstdio>
#include <memory>
#include <span>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads the sections of the tables, in their order; false when the file
// cannot be opened or a read fails (then the tables are emptied again).
bool ReadTables(const std::string& path, std::span<InputContainer* const> tables,
                int* sectionsFound) {
    // Binary mode: the line reader handles the line ends itself.
    FilePtr file(OpenRegularFile(path));
    if (!file)
        return false;
    int found = 0;
    for (InputContainer* table : tables)
        found += table->ReadSection(file.get()) ? 1 : 0;
    if (std::ferror(file.get())) {
        for (InputContainer* table : tables)
            table->Reset();
        return false;
    }
    if (sectionsFound)
        *sectionsFound = found;
    return true;
}

bool WriteTables(const std::string& path, std::span<InputContainer* const> tables) {
    const auto write = [tables](std::FILE* file) {
        for (InputContainer* table : tables)
            table->WriteSection(file);
        return !std::ferror(file);
    };
    return WriteFileSafely(path, write) == FileWrite::kDone;
}

} // namespace

bool LoadSystemFile(InputModel& model, const std::string& path, int* sectionsFound) {
    model.ResetSystem();
    return ReadTables(path, model.systemFileTables, sectionsFound);
}

bool SaveSystemFile(InputModel& model, const std::string& path) {
    return WriteTables(path, model.systemFileTables);
}

bool LoadLoadCaseFile(InputModel& model, const std::string& path, int* sectionsFound) {
    model.ResetLoadCase();
    return ReadTables(path, model.loadTables, sectionsFound);
}

bool SaveLoadCaseFile(InputModel& model, const std::string& path) {
    return WriteTables(path, model.loadTables);
}

std::string MissingSectionsWarning(const char* fileKind, std::span<InputContainer* const> tables,
                                   const std::string& path) {
    std::string keywords;
    for (const InputContainer* table : tables)
        keywords += (keywords.empty() ? "" : ", ") + std::string(table->SectionKeyword());
    return Format("Warnung: %s enthält keinen der Abschnitte %s: %s", fileKind, keywords.c_str(),
                  path.c_str());
}
