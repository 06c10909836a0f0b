#include "project/ProjectFile.h"

#include "model/Format.h"
#include "model/LineReader.h"
#include "model/SafeFile.h"
#include "settings/TextEncoding.h"

#include <cmath>
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
constexpr const char* kTrafficSection = "TRAFFIC";
constexpr const char* kLaneSection = "LANES";
constexpr const char* kTrafficRecord =
    "Nummer, Fahrzeug in \"\", Schrittweite in m, beide Richtungen 0 oder 1, "
    "Name der Verkehrsgruppe in \"\"";
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

// The fields of a record line after its number: texts "..." with "" inside
// (kind 'T') or words without blanks (kind 'N'), in kinds.
bool RecordFields(const std::string& line, long& number, std::vector<std::string>& fields,
                  std::string& kinds) {
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
        std::string text;
        if (line[pos] != '"') {
            while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
                text += line[pos++];
            fields.push_back(text);
            kinds += 'N';
            continue;
        }
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
        fields.push_back(text);
        kinds += 'T';
    }
}

// A record of a section: its fields and the line it stands in (from 0).
struct Record {
    std::vector<std::string> fields;
    size_t line = 0;
    const std::string& operator[](size_t i) const { return fields[i]; }
};

class ProjectReader {
public:
    ProjectReader(const std::string& path, std::vector<std::string> lines)
        : folder_(fs::path(path).parent_path()), lines_(std::move(lines)) {}

    // The records of a section, each its fields of the kinds ('T' a text in
    // quotes, 'N' a word), described for a message by what (default: that
    // many texts); nullopt when the section is missing; false in ok with
    // error for a bad section.
    std::optional<std::vector<Record>> Section(const char* keyword, const std::string& kinds,
                                               bool& ok, std::string& error,
                                               const char* what = nullptr) {
        const size_t length = std::strlen(keyword);
        size_t i = 0;
        while (i < lines_.size() && lines_[i].compare(0, length, keyword) != 0)
            ++i;
        if (i == lines_.size())
            return std::nullopt;
        std::vector<Record> records;
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
            Record record{{}, at};
            std::string found;
            if (at >= lines_.size()) {
                ok = Fail(error, at, Format("Datensatz %ld von %s fehlt", r, keyword));
                return records;
            }
            if (!RecordFields(lines_[at], number, record.fields, found) || number != r ||
                found != kinds) {
                const std::string expected =
                    what ? what : Format("Nummer und %zu Texte in \"\"", kinds.size());
                ok =
                    Fail(error, at,
                         Format("Datensatz %ld von %s erwartet: %s", r, keyword, expected.c_str()));
                return records;
            }
            records.push_back(std::move(record));
        }
        return records;
    }

    std::string Resolved(const std::string& file) const {
        const fs::path path(file);
        return path.is_absolute() || folder_.empty() ? file : (folder_ / path).string();
    }

    static bool Fail(std::string& error, size_t line, const std::string& what) {
        error = Format("Zeile %zu: %s", line + 1, what.c_str());
        return false;
    }

private:
    fs::path folder_;
    std::vector<std::string> lines_;
};

// TRAFFIC: "VEHICLE" STEP BOTH "GROUP"; LANES: "x1,y1;x2,y2;..." each.
bool ReadTraffic(ProjectReader& reader, TrafficModel& traffic, std::string& error) {
    bool ok = true;
    const auto record = reader.Section(kTrafficSection, "TNNT", ok, error, kTrafficRecord);
    if (!ok)
        return false;
    const auto lanes = reader.Section(kLaneSection, "T", ok, error, "Nummer und Fahrspur in \"\"");
    if (!ok)
        return false;
    if (!record) {
        if (!lanes || lanes->empty())
            return true;
        return ProjectReader::Fail(error, lanes->front().line,
                                   "Fahrspuren ohne Fahrzeug (Abschnitt TRAFFIC fehlt)");
    }
    if (record->size() != 1) {
        error = "Der Abschnitt TRAFFIC verlangt genau einen Datensatz";
        return false;
    }
    const Record& r = record->front();
    char* end = nullptr;
    traffic.step = std::strtod(r[1].c_str(), &end);
    if (end == r[1].c_str() || *end || !std::isfinite(traffic.step) || !(traffic.step > 0))
        return ProjectReader::Fail(error, r.line,
                                   "Schrittweite größer als 0 in m erwartet: " + r[1]);
    if (r[2] != "0" && r[2] != "1")
        return ProjectReader::Fail(error, r.line, "beide Richtungen 0 oder 1 erwartet: " + r[2]);
    if (!IsTrafficGroupName(r[3]))
        return ProjectReader::Fail(error, r.line,
                                   "Ungültiger Name der Verkehrsgruppe: \"" + r[3] +
                                       "\" (ohne = + : ( ) | / [ ])");
    traffic.vehicle = IsVehicleFileName(r[0]) ? reader.Resolved(r[0]) : r[0];
    traffic.bothDirections = r[2] == "1";
    traffic.groupName = r[3];
    if (!lanes || lanes->empty()) {
        error = "Die Projektdatei nennt keine Fahrspur (Abschnitt LANES)";
        return false;
    }
    for (const Record& lane : *lanes) {
        traffic.lanes.emplace_back();
        std::string message;
        if (!ParseLane(lane[0], traffic.lanes.back(), message))
            return ProjectReader::Fail(error, lane.line, message);
    }
    return true;
}

bool ReadSections(ProjectReader& reader, ProjectModel& project, std::string& error) {
    bool ok = true;
    const auto system = reader.Section(kSystemSection, "T", ok, error);
    if (!ok)
        return false;
    if (!system || system->size() != 1) {
        error = "Die Projektdatei nennt keine Systemdatei (Abschnitt SYSTEM)";
        return false;
    }
    project.systemFile = reader.Resolved(system->front()[0]);
    const auto cases = reader.Section(kLoadCaseSection, "TT", ok, error);
    if (!ok)
        return false;
    if (!cases || cases->empty()) {
        error = "Die Projektdatei nennt keinen Lastfall (Abschnitt LOADCASES)";
        return false;
    }
    for (const auto& record : *cases)
        project.loadCases.push_back({record[0], reader.Resolved(record[1])});
    const int n = static_cast<int>(project.loadCases.size());
    const auto combinations = reader.Section(kCombinationSection, "TT", ok, error);
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
    if (!ReadTraffic(reader, project.traffic, error))
        return false;
    const std::string trafficName = project.traffic.Active() ? project.traffic.groupName : "";
    const auto envelopes = reader.Section(kEnvelopeSection, "TT", ok, error);
    if (!ok)
        return false;
    for (size_t j = 0; envelopes && j < envelopes->size(); ++j) {
        const auto& record = (*envelopes)[j];
        Envelope envelope;
        ExpressionError e;
        if (!ParseEnvelopeWithTraffic("x=" + record[1], trafficName, n,
                                      static_cast<int>(project.combinations.size()), envelope, e)) {
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

// The record line of the fields, texts in quotes but where kinds has an 'N'.
std::string RecordLine(long number, const std::vector<std::string>& fields,
                       const std::string& kinds = {}) {
    std::string line = Format("%5ld", number);
    for (size_t i = 0; i < fields.size(); ++i)
        line += " " + (i < kinds.size() && kinds[i] == 'N' ? fields[i] : Quoted(fields[i]));
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
    const TrafficModel& traffic = project.traffic;
    for (const Envelope& e : project.envelopes) {
        const std::string text = EnvelopeText(e, traffic.groupName);
        envelopes.push_back({e.name, text.substr(e.name.size() + 1)});
    }
    std::string text = SectionText(kSystemSection, {{Relative(project.systemFile, path)}}) +
                       SectionText(kLoadCaseSection, cases) +
                       SectionText(kCombinationSection, combinations) +
                       SectionText(kEnvelopeSection, envelopes);
    // Lanes typed before a vehicle is chosen are kept: a project without a
    // vehicle has no traffic to run, but its lanes are the user's input.
    if (!traffic.Active() && traffic.lanes.empty())
        return text;
    const std::string vehicle =
        IsVehicleFileName(traffic.vehicle) ? Relative(traffic.vehicle, path) : traffic.vehicle;
    const std::string record = RecordLine(1,
                                          {vehicle, ShortestText(traffic.step),
                                           traffic.bothDirections ? "1" : "0", traffic.groupName},
                                          "TNNT");
    std::vector<std::vector<std::string>> lanes;
    for (const TrafficLane& lane : traffic.lanes)
        lanes.push_back({LaneText(lane)});
    return text + Format("%s\r\n1\r\n", kTrafficSection) + record + "\r\n" +
           SectionText(kLaneSection, lanes);
}

bool SaveProjectFile(const ProjectModel& project, const std::string& path) {
    const std::string text = ProjectFileText(project, path);
    return WriteFileSafely(path, [&text](std::FILE* file) {
               return std::fwrite(text.data(), 1, text.size(), file) == text.size();
           }) == FileWrite::kDone;
}
