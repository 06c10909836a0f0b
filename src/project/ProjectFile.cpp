#include "project/ProjectFile.h"

#include "model/Format.h"
#include "model/LineReader.h"
#include "model/SafeFile.h"
#include "settings/TextEncoding.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

namespace fs = std::filesystem;

constexpr const char* kSystemSection = "SYSTEM";
constexpr const char* kLoadCaseSection = "LOADCASES";
constexpr const char* kCombinationSection = "COMBINATIONS";
constexpr const char* kEnvelopeSection = "ENVELOPES";
constexpr const char kByteOrderMark[] = "\xEF\xBB\xBF";
// More records than this in one section are no project file.
constexpr long kMaxRecords = 100000;

// Every line of the file as UTF-8: a line that is not valid UTF-8 is read in
// the 8-bit code page.
bool ReadLines(std::FILE* file, std::vector<std::string>& lines) {
    char buffer[kLineBufferSize];
    while (ReadLine(file, buffer, kLineBufferSize)) {
        std::string line = buffer;
        if (lines.empty() && line.compare(0, 3, kByteOrderMark) == 0)
            line.erase(0, 3);
        lines.push_back(IsValidUtf8(line) ? line : Windows1252ToUtf8(line));
    }
    return std::ferror(file) == 0;
}

// The texts of a record line after its number: "..." with "" inside.
bool RecordTexts(const std::string& line, long& number, std::vector<std::string>& texts) {
    const char* begin = line.c_str();
    char* end = nullptr;
    number = std::strtol(begin, &end, 10);
    if (end == begin)
        return false;
    size_t pos = static_cast<size_t>(end - begin);
    while (true) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= line.size())
            return true;
        if (line[pos] != '"')
            return false;
        std::string text;
        for (++pos;; ++pos) {
            if (pos >= line.size())
                return false;
            if (line[pos] == '"') {
                if (pos + 1 < line.size() && line[pos + 1] == '"') {
                    text += '"';
                    ++pos;
                    continue;
                }
                ++pos;
                break;
            }
            text += line[pos];
        }
        texts.push_back(text);
    }
}

class ProjectReader {
public:
    ProjectReader(const std::string& path, std::vector<std::string> lines)
        : folder_(fs::path(path).parent_path()), lines_(std::move(lines)) {}

    // The records of a section, each its texts; nullopt when the section is
    // missing; false in ok with error for a bad section.
    std::optional<std::vector<std::vector<std::string>>> Section(const char* keyword, size_t fields,
                                                                 bool& ok, std::string& error) {
        const size_t length = std::strlen(keyword);
        size_t i = 0;
        while (i < lines_.size() && lines_[i].compare(0, length, keyword) != 0)
            ++i;
        if (i == lines_.size())
            return std::nullopt;
        std::vector<std::vector<std::string>> records;
        ++i;
        char* end = nullptr;
        const char* count = i < lines_.size() ? lines_[i].c_str() : "";
        const long n = std::strtol(count, &end, 10);
        if (end == count || n < 0 || n > kMaxRecords) {
            ok = Fail(error, i, Format("Anzahl der Datensätze von %s erwartet", keyword));
            return records;
        }
        for (long r = 1; r <= n; ++r) {
            const size_t at = i + static_cast<size_t>(r);
            long number = 0;
            std::vector<std::string> texts;
            if (at >= lines_.size()) {
                ok = Fail(error, at, Format("Datensatz %ld von %s fehlt", r, keyword));
                return records;
            }
            if (!RecordTexts(lines_[at], number, texts) || number != r || texts.size() != fields) {
                ok = Fail(error, at,
                          Format("Datensatz %ld von %s erwartet: Nummer und %zu Texte in \"\"", r,
                                 keyword, fields));
                return records;
            }
            records.push_back(std::move(texts));
        }
        return records;
    }

    std::string Resolved(const std::string& file) const {
        const fs::path path(file);
        return path.is_absolute() || folder_.empty() ? file : (folder_ / path).string();
    }

private:
    static bool Fail(std::string& error, size_t line, const std::string& what) {
        error = Format("Zeile %zu: %s", line + 1, what.c_str());
        return false;
    }

    fs::path folder_;
    std::vector<std::string> lines_;
};

bool ReadSections(ProjectReader& reader, ProjectModel& project, std::string& error) {
    bool ok = true;
    const auto system = reader.Section(kSystemSection, 1, ok, error);
    if (!ok)
        return false;
    if (!system || system->size() != 1) {
        error = "Die Projektdatei nennt keine Systemdatei (Abschnitt SYSTEM)";
        return false;
    }
    project.systemFile = reader.Resolved(system->front()[0]);
    const auto cases = reader.Section(kLoadCaseSection, 2, ok, error);
    if (!ok)
        return false;
    if (!cases || cases->empty()) {
        error = "Die Projektdatei nennt keinen Lastfall (Abschnitt LOADCASES)";
        return false;
    }
    for (const auto& record : *cases)
        project.loadCases.push_back({record[0], reader.Resolved(record[1])});
    const int n = static_cast<int>(project.loadCases.size());
    const auto combinations = reader.Section(kCombinationSection, 2, ok, error);
    if (!ok)
        return false;
    for (size_t j = 0; combinations && j < combinations->size(); ++j) {
        const auto& record = (*combinations)[j];
        Combination combination;
        ExpressionError e;
        if (!ParseCombination("x=" + record[1], n, combination, e)) {
            e.position -= 2;
            error = ExpressionMessage(Format("Kombination %zu", j + 1), record[1], e);
            return false;
        }
        combination.name = record[0];
        project.combinations.push_back(combination);
    }
    const auto envelopes = reader.Section(kEnvelopeSection, 2, ok, error);
    if (!ok)
        return false;
    for (size_t j = 0; envelopes && j < envelopes->size(); ++j) {
        const auto& record = (*envelopes)[j];
        Envelope envelope;
        ExpressionError e;
        if (!ParseEnvelope("x=" + record[1], n, static_cast<int>(project.combinations.size()),
                           envelope, e)) {
            e.position -= 2;
            error = ExpressionMessage(Format("Umhüllende %zu", j + 1), record[1], e);
            return false;
        }
        envelope.name = record[0];
        project.envelopes.push_back(envelope);
    }
    return true;
}

// Text in the 8-bit code page; false when it holds a character the code
// page lacks.
bool ToWindows1252(const std::string& utf8, std::string& out) {
    static const auto table = [] {
        std::vector<std::pair<std::string, char>> map;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char byte = static_cast<char>(b);
            map.push_back({Windows1252ToUtf8(std::string(1, byte)), byte});
        }
        return map;
    }();
    out.clear();
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += utf8[i++];
            continue;
        }
        bool found = false;
        for (const auto& [sequence, byte] : table)
            if (utf8.compare(i, sequence.size(), sequence) == 0) {
                out += byte;
                i += sequence.size();
                found = true;
                break;
            }
        if (!found)
            return false;
    }
    return true;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string RecordLine(long number, const std::vector<std::string>& texts) {
    std::string line = Format("%5ld", number);
    for (const std::string& text : texts)
        line += " " + Quoted(text);
    // The code page where it holds the text and cannot be taken for UTF-8
    // when read (as "\xC3\xBC" could).
    std::string encoded;
    if (IsValidUtf8(line) && ToWindows1252(line, encoded) &&
        (encoded == line || !IsValidUtf8(encoded)))
        line = encoded;
    return line + "\r\n";
}

std::string SectionText(const char* keyword, const std::vector<std::vector<std::string>>& records) {
    std::string text = Format("%s\r\n%zu\r\n", keyword, records.size());
    for (size_t r = 0; r < records.size(); ++r)
        text += RecordLine(static_cast<long>(r + 1), records[r]);
    return text + "\r\n";
}

// A file name as the project file at path names it.
std::string Relative(const std::string& file, const std::string& projectPath) {
    std::error_code error;
    const fs::path folder = fs::absolute(fs::path(projectPath), error).parent_path();
    const fs::path target = fs::absolute(fs::path(file), error).lexically_normal();
    const fs::path relative = target.lexically_relative(folder);
    return error || relative.empty() ? file : relative.string();
}

} // namespace

bool LoadProjectFile(const std::string& path, ProjectModel& project, std::string& error) {
    project = ProjectModel();
    std::FILE* file = OpenRegularFile(path);
    if (!file) {
        error = std::string(kProjectFileError) + ": " + path;
        return false;
    }
    const bool read = ReadProjectFile(file, path, project, error);
    std::fclose(file);
    return read;
}

bool ReadProjectFile(std::FILE* file, const std::string& path, ProjectModel& project,
                     std::string& error) {
    project = ProjectModel();
    std::vector<std::string> lines;
    if (!ReadLines(file, lines)) {
        error = std::string(kProjectFileError) + ": " + path;
        return false;
    }
    ProjectReader reader(path, std::move(lines));
    if (ReadSections(reader, project, error))
        return true;
    error = path + ": " + error;
    project = ProjectModel();
    return false;
}

std::string ProjectFileText(const ProjectModel& project, const std::string& path) {
    std::vector<std::vector<std::string>> cases, combinations, envelopes;
    for (const LoadCaseEntry& entry : project.loadCases)
        cases.push_back({entry.name, Relative(entry.file, path)});
    for (const Combination& c : project.combinations) {
        const std::string text = CombinationText(c);
        combinations.push_back({c.name, text.substr(c.name.size() + 1)});
    }
    for (const Envelope& e : project.envelopes) {
        const std::string text = EnvelopeText(e);
        envelopes.push_back({e.name, text.substr(e.name.size() + 1)});
    }
    return SectionText(kSystemSection, {{Relative(project.systemFile, path)}}) +
           SectionText(kLoadCaseSection, cases) + SectionText(kCombinationSection, combinations) +
           SectionText(kEnvelopeSection, envelopes);
}

bool SaveProjectFile(const ProjectModel& project, const std::string& path) {
    const std::string text = ProjectFileText(project, path);
    return WriteFileSafely(path, [&text](std::FILE* file) {
               return std::fwrite(text.data(), 1, text.size(), file) == text.size();
           }) == FileWrite::kDone;
}
