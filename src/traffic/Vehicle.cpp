#include "traffic/Vehicle.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// The lines of a text, whatever its line ends, without a UTF-8 byte-order mark.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::string line;
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c == '\t' ? ' ' : c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// Words of a record line; a quoted text is one word without its quotes.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            words.push_back(line.substr(i + 1, end == std::string::npos ? end : end - i - 1));
            i = end == std::string::npos ? line.size() : end + 1;
            continue;
        }
        const size_t end = line.find(' ', i);
        words.push_back(line.substr(i, end == std::string::npos ? end : end - i));
        i = end == std::string::npos ? line.size() : end;
    }
    return words;
}

bool Number(const std::string& word, double& value) {
    const char* begin = word.data();
    const char* end = begin + word.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool Count(const std::string& line, long& count) {
    const std::vector<std::string> words = Words(line);
    if (words.size() != 1)
        return false;
    const auto result = std::from_chars(words[0].data(), words[0].data() + words[0].size(), count);
    return result.ec == std::errc() && result.ptr == words[0].data() + words[0].size() &&
           count >= 0;
}

std::string LineError(size_t line, const std::string& what) {
    return "Fahrzeugdatei, Zeile " + std::to_string(line + 1) + ": " + what;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Exact(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace

bool ParseVehicleText(const std::string& text, Vehicle& vehicle, std::string& error) {
    vehicle = Vehicle();
    const std::vector<std::string> lines = Lines(text);
    bool named = false, wheeled = false;
    size_t i = 0;
    while (i < lines.size()) {
        const std::string keyword = Upper(Trimmed(lines[i]));
        if (keyword.empty()) {
            ++i;
            continue;
        }
        const size_t at = i++;
        long count = 0;
        if (i >= lines.size() || !Count(lines[i], count)) {
            error = LineError(i < lines.size() ? i : at, "Anzahl der Datensätze erwartet");
            return false;
        }
        ++i;
        if (count > kMaxWheels) {
            error = LineError(i - 1, "mehr als " + std::to_string(kMaxWheels) + " Datensätze");
            return false;
        }
        for (long r = 0; r < count; ++r, ++i) {
            if (i >= lines.size()) {
                error = LineError(lines.size() - 1, "Datei endet vor dem letzten Datensatz");
                return false;
            }
            const std::vector<std::string> words = Words(lines[i]);
            if (keyword == "VEHICLE") {
                if (words.size() < 2) {
                    error = LineError(i, "Nummer und Name erwartet");
                    return false;
                }
                vehicle.name = words[1];
                named = true;
            } else if (keyword == "WHEELS") {
                Wheel wheel;
                if (words.size() < 4 || !Number(words[1], wheel.along) ||
                    !Number(words[2], wheel.across) || !Number(words[3], wheel.load)) {
                    error = LineError(i, "Nummer, Längs- und Querlage (m) und Radlast (kN) "
                                         "erwartet");
                    return false;
                }
                vehicle.wheels.push_back(wheel);
            }
            // Records of an unknown section are skipped, as in the other files.
        }
        wheeled = wheeled || keyword == "WHEELS";
    }
    if (!wheeled || vehicle.wheels.empty()) {
        error = "Fahrzeugdatei: kein Abschnitt WHEELS mit Rädern";
        return false;
    }
    if (!named)
        vehicle.name = "Fahrzeug";
    return true;
}

bool LoadVehicleFile(const std::string& path, Vehicle& vehicle, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "Fahrzeugdatei kann nicht gelesen werden: " + path;
        return false;
    }
    // A vehicle file is a few lines; anything far larger is no vehicle file.
    std::string text(1 << 20, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    if (!ParseVehicleText(text, vehicle, error)) {
        error += " (" + path + ")";
        return false;
    }
    return true;
}

std::string VehicleFileText(const Vehicle& vehicle) {
    std::string text = "VEHICLE\r\n1\r\n    1 \"" + vehicle.name + "\"\r\n\r\nWHEELS\r\n" +
                       std::to_string(vehicle.wheels.size()) + "\r\n";
    for (size_t k = 0; k < vehicle.wheels.size(); ++k) {
        const Wheel& w = vehicle.wheels[k];
        text += "    " + std::to_string(k + 1) + " " + Exact(w.along) + " " + Exact(w.across) +
                " " + Exact(w.load) + "\r\n";
    }
    return text;
}

const std::vector<BuiltInVehicle>& BuiltInVehicles() {
    static const std::vector<BuiltInVehicle> vehicles = {
        {"LM1-TS1", "VEHICLE\r\n1\r\n    1 \"LM1 Doppelachse Fahrstreifen 1: 2 x 300 kN, "
                    "Achsabstand 1,2 m, Radabstand 2,0 m\"\r\n\r\nWHEELS\r\n4\r\n"
                    "    1 0.6 1 150\r\n    2 0.6 -1 150\r\n"
                    "    3 -0.6 1 150\r\n    4 -0.6 -1 150\r\n"},
        {"LM1-TS2", "VEHICLE\r\n1\r\n    1 \"LM1 Doppelachse Fahrstreifen 2: 2 x 200 kN, "
                    "Achsabstand 1,2 m, Radabstand 2,0 m\"\r\n\r\nWHEELS\r\n4\r\n"
                    "    1 0.6 1 100\r\n    2 0.6 -1 100\r\n"
                    "    3 -0.6 1 100\r\n    4 -0.6 -1 100\r\n"},
        {"LM1-TS3", "VEHICLE\r\n1\r\n    1 \"LM1 Doppelachse Fahrstreifen 3: 2 x 100 kN, "
                    "Achsabstand 1,2 m, Radabstand 2,0 m\"\r\n\r\nWHEELS\r\n4\r\n"
                    "    1 0.6 1 50\r\n    2 0.6 -1 50\r\n"
                    "    3 -0.6 1 50\r\n    4 -0.6 -1 50\r\n"},
        {"LM2", "VEHICLE\r\n1\r\n    1 \"LM2 Einzelachse: 400 kN, Radabstand 2,0 m\"\r\n\r\n"
                "WHEELS\r\n2\r\n    1 0 1 200\r\n    2 0 -1 200\r\n"},
        {"HL93", "VEHICLE\r\n1\r\n    1 \"AASHTO HL-93 Bemessungs-LKW: 35, 145, 145 kN, "
                 "Achsen je 4,3 m, Radabstand 1,8 m\"\r\n\r\nWHEELS\r\n6\r\n"
                 "    1 4.3 0.9 17.5\r\n    2 4.3 -0.9 17.5\r\n"
                 "    3 0 0.9 72.5\r\n    4 0 -0.9 72.5\r\n"
                 "    5 -4.3 0.9 72.5\r\n    6 -4.3 -0.9 72.5\r\n"},
    };
    return vehicles;
}

bool ResolveVehicle(const std::string& spec, Vehicle& vehicle, std::string& error) {
    if (spec.rfind("point:", 0) == 0) {
        double value = 0.0;
        if (!Number(spec.substr(6), value)) {
            error = "Ungültige Radlast: " + spec + " (point:WERT in kN, z. B. point:100)";
            return false;
        }
        vehicle = Vehicle{"Einzellast " + spec.substr(6) + " kN", {Wheel{0.0, 0.0, value}}};
        return true;
    }
    for (const BuiltInVehicle& builtIn : BuiltInVehicles())
        if (Upper(spec) == Upper(builtIn.name))
            return ParseVehicleText(builtIn.text, vehicle, error);
    return LoadVehicleFile(spec, vehicle, error);
}
