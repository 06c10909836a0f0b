#pragma once

#include <string>

struct InputModel;

// The outcome of a plausibility check: either no error (ok) or the first error
// found, with the place the input window puts the cursor on.
struct CheckReport {
    bool ok = true;
    std::string message;
    std::string page;        // page of the input window, e.g. "Stäbe" or "Knoten"
    int row = -1;            // table row (from 0) of the faulty record
    int column = -1;         // grid column of the faulty field (0 is the number column)
    bool loadWindow = false; // false: geometry window, true: load window
};

// Texts of the message boxes that show a check's result.
inline constexpr const char* kCheckPassedText = "In Ordnung";
inline constexpr const char* kCheckPassedCaption = "Plausibilitätskontrolle";
inline constexpr const char* kCheckFailedCaption = "Eingabefehler";

// Both checks first report a record line of the file numbered outside
// 1 ... kMaxRecordNumber, which reading skipped ("Ungültige Satznummer").

// Validates the four system tables; stops at the first error. Only reads:
// no table grows and no record changes (the valid-row index may be rebuilt).
// Once the beams and hinges have passed, a system with beams is also searched
// for reals that are not finite numbers (possible only from a file: "nan",
// "inf", 1e400), in the order nodes, beams, cross-section types, hinges;
// such a value is an input error "Ungültiger Zahlenwert !" on its cell.
// The springs are examined after the beams, with or without beams: an
// ordered range of existing nodes ("Knotenreihenfolge ist falsch", "Knoten
// %d ist nicht definiert"), stiffnesses that are finite and not negative
// ("Ungültige Federsteifigkeit !") and not all three zero ("Die Feder hat
// keine Steifigkeit !").
CheckReport CheckSystem(InputModel& model);

// Validates the six load tables against the system; stops at the first error.
// Does not run the system check. Only reads, like CheckSystem. The last step
// of every load record is that its reals are finite numbers, as above.
CheckReport CheckLoads(InputModel& model);
