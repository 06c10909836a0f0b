#include "document/TrafficTable.h"

#include "document/Document.h"
#include "model/Format.h"
#include "traffic/Vehicle.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

constexpr const char* kPointPrefix = "point:";
constexpr const char* kNoTrafficEntry = "kein Verkehr";
constexpr const char* kPointEntry = "Einzellast";
constexpr const char* kFileEntry = "Datei…";

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int BuiltInCount() {
    return static_cast<int>(BuiltInVehicles().size());
}

} // namespace

// ---- the lanes' rows ---------------------------------------------------------------

void* TrafficLaneTable::ValuePtr(int row, int col) {
    if (row < 0 || row >= Count())
        return nullptr;
    Rec& rec = Row(row);
    switch (col) {
    case kLane:
        return &rec.lane;
    case kX:
        return &rec.x;
    case kY:
        return &rec.y;
    default:
        return nullptr;
    }
}

void TrafficLaneTable::StoreValue(int row, int col, const void* value) {
    void* to = ValuePtr(row, col);
    if (!to || !value)
        return;
    std::memcpy(to, value, col == kLane ? sizeof(int32_t) : sizeof(double));
}

// A new point belongs to the lane of the row above it: a lane is typed point
// after point.
void TrafficLaneTable::InitRow(int row) {
    Row(row).lane = 1;
    for (int above = row - 1; above >= 0; --above)
        if (IsRowValid(above, 0)) {
            Row(row).lane = Row(above).lane;
            break;
        }
}

void TrafficLaneTable::NotifyChanged() {
    if (changed)
        changed();
}

// ---- the vehicle -------------------------------------------------------------------

VehicleChoice VehicleChoiceOf(const std::string& text) {
    VehicleChoice choice;
    if (text.empty())
        return choice;
    if (text.rfind(kPointPrefix, 0) == 0) {
        choice.kind = VehicleKind::kPoint;
        choice.load = TypedNumber(text.substr(std::strlen(kPointPrefix)));
        return choice;
    }
    for (const BuiltInVehicle& vehicle : BuiltInVehicles())
        if (Upper(text) == Upper(vehicle.name)) {
            choice.kind = VehicleKind::kBuiltIn;
            choice.name = vehicle.name;
            return choice;
        }
    choice.kind = VehicleKind::kFile;
    choice.file = text;
    return choice;
}

std::string VehicleText(const VehicleChoice& choice) {
    switch (choice.kind) {
    case VehicleKind::kBuiltIn:
        return choice.name;
    case VehicleKind::kPoint:
        return kPointPrefix + ShortestText(choice.load);
    case VehicleKind::kFile:
        return choice.file;
    case VehicleKind::kNone:
        break;
    }
    return {};
}

std::vector<std::string> VehicleEntries() {
    std::vector<std::string> entries{kNoTrafficEntry};
    for (const BuiltInVehicle& vehicle : BuiltInVehicles())
        entries.push_back(vehicle.name);
    entries.push_back(kPointEntry);
    entries.push_back(kFileEntry);
    return entries;
}

int VehicleEntryOf(const VehicleChoice& choice) {
    switch (choice.kind) {
    case VehicleKind::kNone:
        return 0;
    case VehicleKind::kBuiltIn:
        for (int k = 0; k < BuiltInCount(); ++k)
            if (choice.name == BuiltInVehicles()[static_cast<size_t>(k)].name)
                return k + 1;
        return 0;
    case VehicleKind::kPoint:
        return BuiltInCount() + 1;
    case VehicleKind::kFile:
        return BuiltInCount() + 2;
    }
    return 0;
}

VehicleChoice VehicleOfEntry(int entry, const VehicleChoice& current) {
    VehicleChoice choice = current;
    if (entry <= 0 || entry > BuiltInCount() + 2) {
        choice.kind = VehicleKind::kNone;
    } else if (entry <= BuiltInCount()) {
        choice.kind = VehicleKind::kBuiltIn;
        choice.name = BuiltInVehicles()[static_cast<size_t>(entry - 1)].name;
    } else {
        choice.kind = entry == BuiltInCount() + 1 ? VehicleKind::kPoint : VehicleKind::kFile;
    }
    return choice;
}

double TypedNumber(const std::string& text) {
    std::string s = text;
    std::replace(s.begin(), s.end(), ',', '.');
    const auto first = s.find_first_not_of(" \t");
    const auto last = s.find_last_not_of(" \t");
    if (first == std::string::npos)
        return std::nan("");
    s = s.substr(first, last - first + 1);
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(value) ? value : std::nan("");
}

bool SameTraffic(const TrafficModel& a, const TrafficModel& b) {
    auto samePoints = [](const TrafficLane& p, const TrafficLane& q) {
        return std::equal(
            p.points.begin(), p.points.end(), q.points.begin(), q.points.end(),
            [](const TrafficPoint& u, const TrafficPoint& v) { return u.x == v.x && u.y == v.y; });
    };
    // A step that is no number is the same as itself: what the user typed.
    const bool sameStep = a.step == b.step || (std::isnan(a.step) && std::isnan(b.step));
    return a.vehicle == b.vehicle && sameStep && a.bothDirections == b.bothDirections &&
           a.groupName == b.groupName &&
           std::equal(a.lanes.begin(), a.lanes.end(), b.lanes.begin(), b.lanes.end(), samePoints);
}

// ---- the window's tables -----------------------------------------------------------

TrafficTables::TrafficTables(Document& document) : document_(document) {
    lanes_.changed = [this] {
        if (!applying_)
            Apply();
    };
    Load();
}

void TrafficTables::Load() {
    settings_ = document_.Traffic();
    settings_.lanes.clear();
    lanes_.Reset();
    int row = 0;
    const std::vector<TrafficLane>& lanes = document_.Traffic().lanes;
    for (size_t k = 0; k < lanes.size(); ++k)
        for (const TrafficPoint& point : lanes[k].points) {
            auto& rec = *static_cast<TrafficLaneTable::Rec*>(lanes_.RowRecord(row++));
            rec.head.flag = kFlagFile;
            rec.lane = static_cast<int32_t>(k + 1);
            rec.x = point.x;
            rec.y = point.y;
        }
    lanes_.InvalidateIndex();
    if (TableGrid* grid = lanes_.Grid()) {
        grid->SetRowCount(std::max(lanes_.UsedRowCount(), 40) + grid->FixedRows());
        grid->Repaint();
    }
    applied_ = document_.Traffic();
}

void TrafficTables::SetSettings(const TrafficModel& settings) {
    settings_ = settings;
    settings_.lanes.clear();
    Apply();
}

bool TrafficTables::Follow() {
    if (applying_ || SameTraffic(document_.Traffic(), applied_))
        return false;
    Load();
    return true;
}

TrafficModel TrafficTables::FromRows() {
    TrafficModel model = settings_;
    std::map<int, TrafficLane> lanes; // by number, the points in the rows' order
    for (int row = 0; row < lanes_.Count(); ++row) {
        if (!lanes_.IsRowValid(row, 0))
            continue;
        const TrafficLaneTable::Rec& rec = lanes_.Row(row);
        if (rec.lane >= 1)
            lanes[rec.lane].points.push_back({rec.x, rec.y});
    }
    for (auto& [number, lane] : lanes)
        model.lanes.push_back(std::move(lane));
    return model;
}

void TrafficTables::Apply() {
    applying_ = true;
    applied_ = FromRows();
    document_.SetTraffic(applied_);
    applying_ = false;
}

TrafficCheck TrafficTables::Check() {
    auto cell = [](int row, int column, std::string message) {
        return TrafficCheck{false, TrafficField::kLanes, row, column + 1, std::move(message)};
    };
    auto field = [](TrafficField at, std::string message) {
        return TrafficCheck{false, at, 0, 0, std::move(message)};
    };
    std::map<int, std::vector<int>> rowsOfLane; // the rows of each lane's points
    for (int row = 0; row < lanes_.Count(); ++row) {
        if (!lanes_.IsRowValid(row, 0))
            continue;
        const TrafficLaneTable::Rec& rec = lanes_.Row(row);
        if (rec.lane < 1)
            return cell(row, TrafficLaneTable::kLane, "Die Fahrspur ist 1 oder größer");
        if (!std::isfinite(rec.x))
            return cell(row, TrafficLaneTable::kX, "Die Koordinate ist keine endliche Zahl");
        if (!std::isfinite(rec.y))
            return cell(row, TrafficLaneTable::kY, "Die Koordinate ist keine endliche Zahl");
        rowsOfLane[rec.lane].push_back(row);
    }
    for (const auto& [number, rows] : rowsOfLane) {
        if (rows.size() < 2)
            return cell(rows.front(), TrafficLaneTable::kLane,
                        Format("Die Fahrspur %d hat nur einen Punkt: eine Fahrspur ist ein "
                               "Linienzug aus mindestens zwei Punkten",
                               number));
        TrafficLane lane;
        for (int row : rows)
            lane.points.push_back({lanes_.Row(row).x, lanes_.Row(row).y});
        if (!(LaneLength(lane) > 0.0))
            return cell(rows.front(), TrafficLaneTable::kX,
                        Format("Die Fahrspur %d hat die Länge 0", number));
    }
    if (!settings_.Active())
        return {};
    if (rowsOfLane.empty())
        return cell(0, TrafficLaneTable::kLane,
                    "Das Fahrzeug braucht eine Fahrspur: die Punkte eines Linienzugs, "
                    "Nummer der Fahrspur, x und y");
    Vehicle vehicle;
    std::string error;
    if (!ResolveVehicle(settings_.vehicle, vehicle, error))
        return field(TrafficField::kVehicle, "Fahrzeug: " + error);
    if (!(settings_.step > 0.0) || !std::isfinite(settings_.step))
        return field(TrafficField::kStep, "Die Schrittweite ist eine Zahl größer als 0 (m)");
    if (!IsTrafficGroupName(settings_.groupName))
        return field(TrafficField::kGroupName,
                     "Der Name der Verkehrsgruppe fehlt oder enthält eines der Zeichen "
                     "= + : ( ) | / [ ] der Umhüllenden");
    return {};
}
