#pragma once

#include "model/InputContainer.h"
#include "project/Project.h"

#include <functional>
#include <string>
#include <vector>

class Document;

// The lanes of the window "Verkehr": one row per point, its lane's number and
// x, y in the deck plane (m). The points of a lane are its rows in their
// order; the lanes follow their numbers.
class TrafficLaneTable : public InputContainer {
public:
    enum Column { kLane, kX, kY, kColumns };
    struct Rec {
        RecordHead head;
        int32_t lane;
        double x;
        double y;
    };
    TrafficLaneTable() : InputContainer(sizeof(Rec)) {}
    void* ValuePtr(int row, int col) override;
    void StoreValue(int row, int col, const void* value) override;
    void InitRow(int row) override;
    void NotifyChanged() override;
    bool CopyRow(int, int) override { return false; }
    Rec& Row(int row) { return *static_cast<Rec*>(At(row)); }

    std::function<void()> changed;
};

// The vehicle as the window offers it: a built-in one, a single wheel load
// ("Einzellast", kN) or a vehicle file; kNone: the project has no traffic.
enum class VehicleKind { kNone, kBuiltIn, kPoint, kFile };
struct VehicleChoice {
    VehicleKind kind = VehicleKind::kNone;
    std::string name; // of a built-in vehicle
    double load = 100.0;
    std::string file;
};
// The choice a model's vehicle text means ("LM1-TS1", "point:150", a path).
VehicleChoice VehicleChoiceOf(const std::string& text);
// The model's vehicle text of a choice; empty for kNone.
std::string VehicleText(const VehicleChoice& choice);
// The selector's entries: "kein Verkehr", the built-in vehicles,
// "Einzellast", "Datei…"; and the entry of a choice.
std::vector<std::string> VehicleEntries();
int VehicleEntryOf(const VehicleChoice& choice);
// The kind an entry stands for, with the built-in vehicle's name.
VehicleChoice VehicleOfEntry(int entry, const VehicleChoice& current);

// Equal vehicle, lanes, step, directions and group name.
bool SameTraffic(const TrafficModel& a, const TrafficModel& b);

// A number as the user types it, with a decimal comma or point; NaN for
// anything else.
double TypedNumber(const std::string& text);

// What a failed check of the window points at: a cell of the lanes (row of
// the table, column of the grid, 1 = lane) or one of the fields.
enum class TrafficField { kLanes, kVehicle, kStep, kGroupName };
struct TrafficCheck {
    bool ok = true;
    TrafficField field = TrafficField::kLanes;
    int row = 0;
    int column = 0;
    std::string message;
};

// The window's tables over the document's traffic: the lanes' rows and the
// settings (vehicle, step, directions, group name). Every change gives the
// document the traffic of the valid rows; Follow takes the document's
// traffic back when it changed elsewhere (a project opened or emptied).
class TrafficTables {
public:
    explicit TrafficTables(Document& document);

    TrafficLaneTable& Lanes() { return lanes_; }
    // The settings shown: the document's except the lanes.
    const TrafficModel& Settings() const { return settings_; }
    void SetSettings(const TrafficModel& settings);

    // True when the rows were loaded anew.
    bool Follow();
    void Apply();
    // A lane number below 1, a coordinate that is no finite number, a lane of
    // fewer than two points or of length 0, a vehicle without lanes or that
    // cannot be read, a step that is not > 0, no group name.
    TrafficCheck Check();

private:
    void Load();
    TrafficModel FromRows();

    Document& document_;
    TrafficLaneTable lanes_;
    TrafficModel settings_;
    TrafficModel applied_;
    bool applying_ = false;
};
