#include "batch/TrafficOptions.h"

#include "project/Project.h"
#include "traffic/Lane.h"
#include "traffic/TrafficAnalysis.h"
#include "traffic/Vehicle.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

const char* const kValueOptions[] = {"--vehicle", "--lane", "--step", "--traffic-envelope",
                                     "--influence"};

bool Real(const std::string& text, double& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto r = std::from_chars(begin, end, value);
    return begin != end && r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

} // namespace

std::string VehicleFileOf(const TrafficOptions& options) {
    if (options.vehicle.rfind("point:", 0) == 0)
        return {};
    for (const BuiltInVehicle& builtIn : BuiltInVehicles()) {
        std::string a = options.vehicle, b = builtIn.name;
        for (std::string* text : {&a, &b})
            for (char& c : *text)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (a == b)
            return {};
    }
    return options.vehicle;
}

bool IsTrafficOption(const std::string& arg) {
    if (arg == "--both-directions")
        return true;
    const std::string name = arg.substr(0, arg.find('='));
    for (const char* option : kValueOptions)
        if (name == option)
            return true;
    return false;
}

bool StoreTrafficOption(const std::vector<std::string>& args, size_t& i, TrafficOptions& options,
                        std::string& error) {
    const std::string& arg = args[i];
    if (arg == "--both-directions") {
        options.bothDirections = true;
        return true;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    std::string value;
    if (equals != std::string::npos)
        value = arg.substr(equals + 1);
    else if (i + 1 < args.size())
        value = args[++i];
    if (value.empty()) {
        error = "Option " + name + " verlangt einen Wert";
        return false;
    }
    auto once = [&](bool& given) {
        if (given) {
            error = "Option " + name + " ist mehrfach angegeben";
            return false;
        }
        given = true;
        return true;
    };
    if (name == "--vehicle") {
        if (!options.vehicle.empty()) {
            error = "Option --vehicle ist mehrfach angegeben";
            return false;
        }
        options.vehicle = value;
    } else if (name == "--lane") {
        Lane lane;
        if (!ParseLane(value, lane, error)) {
            error = "--lane: " + error;
            return false;
        }
        options.lanes.push_back(value);
    } else if (name == "--step") {
        if (!once(options.stepGiven))
            return false;
        if (!Real(value, options.step) || !(options.step > 0)) {
            error = "Option --step verlangt eine Länge größer als 0 in m: " + value;
            return false;
        }
    } else if (name == "--traffic-envelope") {
        if (!once(options.envelopeNameGiven))
            return false;
        if (value.find_first_of("=+:()|/[]") != std::string::npos) {
            error =
                "Ungültiger Name der Verkehrsumhüllenden: " + value + " (ohne = + : ( ) | / [ ])";
            return false;
        }
        options.envelopeName = value;
    } else {
        InfluenceTarget target;
        if (!ParseInfluenceTarget(value, target, error)) {
            error = "--influence: " + error;
            return false;
        }
        options.influences.push_back(value);
    }
    return true;
}

bool CheckTrafficOptions(const TrafficOptions& options, std::string& error) {
    if (!options.Moving()) {
        if (options.stepGiven || options.bothDirections || options.envelopeNameGiven) {
            error = "Die Optionen --step, --both-directions und --traffic-envelope gehören zu "
                    "--vehicle und --lane";
            return false;
        }
        return true;
    }
    Vehicle vehicle;
    if (!options.vehicle.empty() && !ResolveVehicle(options.vehicle, vehicle, error)) {
        error = "--vehicle: " + error;
        return false;
    }
    if (options.vehicle.empty() || options.lanes.empty() || !options.stepGiven) {
        error = "Verkehr verlangt --vehicle, mindestens eine --lane und --step";
        return false;
    }
    return true;
}

bool SplitTrafficTerm(const std::string& text, const std::string& name, std::string& rest,
                      TrafficTerm& term, std::string& error) {
    term = TrafficTerm();
    rest = text;
    const size_t equals = text.find('=');
    if (equals == std::string::npos)
        return true;
    // The terms: split at the '+' outside parentheses.
    size_t start = equals + 1;
    int depth = 0;
    for (size_t i = start; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '(')
            ++depth;
        else if (i < text.size() && text[i] == ')')
            --depth;
        if (i < text.size() && (text[i] != '+' || depth > 0))
            continue;
        const std::string part = text.substr(start, i - start);
        const size_t colon = part.find(':');
        if (colon != std::string::npos && part.substr(0, colon) == name) {
            const std::string factors = part.substr(colon + 1);
            const size_t slash = factors.find('/');
            if (slash == std::string::npos || !Real(factors.substr(0, slash), term.sup) ||
                !Real(factors.substr(slash + 1), term.inf)) {
                error = "Ungültige Faktoren SUP/INF der Verkehrsgruppe bei Zeichen " +
                        std::to_string(start + colon + 2) + ": \"" + text + "\"";
                return false;
            }
            if (term.found) {
                error = "Die Verkehrsgruppe " + name + " steht mehrfach in \"" + text + "\"";
                return false;
            }
            term.found = true;
            // The term with the '+' before it, or after it when it comes first.
            size_t from = start, to = i;
            if (from > equals + 1)
                --from;
            else if (to < text.size())
                ++to;
            term.removedAt = from;
            term.removedLength = to - from;
        }
        start = i + 1;
    }
    if (term.found)
        rest = text.substr(0, term.removedAt) + text.substr(term.removedAt + term.removedLength);
    return true;
}

bool OnlyName(const std::string& rest) {
    const size_t equals = rest.find('=');
    return equals != std::string::npos && equals + 1 == rest.size();
}

bool ParseEnvelopeWithTraffic(const std::string& text, const std::string& name, int loadCases,
                              int combinations, Envelope& envelope, TrafficTerm& term,
                              std::string& error) {
    std::string rest;
    if (!SplitTrafficTerm(text, name, rest, term, error)) {
        error = "--envelope: " + error;
        return false;
    }
    envelope = Envelope();
    if (term.found && OnlyName(rest)) {
        envelope.name = rest.substr(0, rest.size() - 1);
        if (!envelope.name.empty())
            return true;
    }
    ExpressionError e;
    if (!ParseEnvelope(rest, loadCases, combinations, envelope, e)) {
        if (term.found && e.position > term.removedAt)
            e.position += term.removedLength;
        error = ExpressionMessage("--envelope", text, e);
        return false;
    }
    return true;
}
