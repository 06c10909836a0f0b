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
        if (!IsTrafficGroupName(value)) {
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

bool ParseEnvelopeOption(const std::string& text, const std::string& name, int loadCases,
                         int combinations, Envelope& envelope, std::string& error) {
    std::string rest;
    TrafficTerm term;
    ExpressionError e;
    if (!SplitTrafficTerm(text, name, rest, term, e)) {
        error = "--envelope: " + e.message + " bei Zeichen " + std::to_string(e.position) + ": \"" +
                text + "\"";
        return false;
    }
    if (!ParseEnvelopeWithTraffic(text, name, loadCases, combinations, envelope, e)) {
        error = ExpressionMessage("--envelope", text, e);
        return false;
    }
    return true;
}
