#pragma once

#include <string>
#include <vector>

// A vehicle: its wheel loads in its own axes, "along" in the direction of
// travel (m), "across" to the left of it (m), the load along +z like every
// other load (kN).
struct Wheel {
    double along = 0.0;
    double across = 0.0;
    double load = 0.0;
};

struct Vehicle {
    std::string name;
    std::vector<Wheel> wheels;
};

// The most wheels a vehicle file may list.
inline constexpr int kMaxWheels = 1000;

// A vehicle file (.bfz): the sections VEHICLE (one record: the name) and
// WHEELS (records: number, along, across, load), each a keyword, a count and
// the records, as the system files are written. False with a German message.
bool ParseVehicleText(const std::string& text, Vehicle& vehicle, std::string& error);
bool LoadVehicleFile(const std::string& path, Vehicle& vehicle, std::string& error);
// The text of a vehicle file, CR LF, numbers with the digits that read back exactly.
std::string VehicleFileText(const Vehicle& vehicle);

// The vehicles built into the program, by their short names ("LM1-TS1" …):
// the same as the files shipped in share/balkor/vehicles (name.bfz in lower case).
struct BuiltInVehicle {
    const char* name;
    const char* text; // the vehicle file
};
const std::vector<BuiltInVehicle>& BuiltInVehicles();

// --vehicle NAME|FILE|point:VALUE: a built-in vehicle by name (any case), a
// single wheel of VALUE kN, or else a vehicle file. False with a German message.
bool ResolveVehicle(const std::string& spec, Vehicle& vehicle, std::string& error);
