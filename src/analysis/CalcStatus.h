#pragma once

#include "model/Checks.h"

#include <string>

// The six counters of the calculation status window.
struct CalcCounters {
    long nodes = 0;       // analysis nodes
    long elements = 0;    // analysis elements
    long dofs = 0;        // degrees of freedom (three per node)
    long conditions = 0;  // constrained degrees of freedom: dofs − equations
    long memoryBytes = 0; // stored profile entries × 8, or the sparse factor's values and indices
    long bandwidth = 0;   // largest column height of the profile
    // The sparse solver's figures in place of the bandwidth.
    bool sparse = false;
    long factorNonZeros = 0; // non-zeros of the Cholesky factor
    // A run of several load cases: how many, and how many factorisations
    // they needed (load cases that constrain the same components share one).
    long loadCases = 1;
    long factorisations = 1;
};

// The captions of the last two counters: the profile's memory and bandwidth,
// or the memory and the non-zeros of the sparse solver's Cholesky factor.
inline const char* MemoryCaption(bool sparse) {
    return sparse ? "Speicher des Faktors in Byte" : "Speicherbedarf in Byte";
}
inline const char* SizeCaption(bool sparse) {
    return sparse ? "Nichtnullelemente des Faktors" : "Bandbreite";
}
// The last counter's value: the bandwidth or the factor's non-zeros.
inline long SizeCounter(const CalcCounters& counters) {
    return counters.sparse ? counters.factorNonZeros : counters.bandwidth;
}

// Stages of a run, as the status window lists them.
enum CalcStage : int {
    kStageNone = 0,
    kStageElements = 1,  // "Elementverteilung"
    kStageDofs = 2,      // "Freiheitsgradverteilung"
    kStageOptimize = 3,  // "Freiheitsgradoptimierung" (profile-reducing renumbering)
    kStageStiffness = 4, // "Steifigkeitsmatrix"
    kStageLoads = 5,     // "Belastungsvektor"
    kStageSolve = 6,     // "Gleichungslösung"
    kStageEvaluate = 7,  // "Auswertung"
};

// The name of a stage as the status window shows it; "" for none.
inline const char* StageName(int stage) {
    static const char* const names[] = {"",
                                        "Elementverteilung",
                                        "Freiheitsgradverteilung",
                                        "Freiheitsgradoptimierung",
                                        "Steifigkeitsmatrix",
                                        "Belastungsvektor",
                                        "Gleichungslösung",
                                        "Auswertung"};
    return stage >= kStageElements && stage <= kStageEvaluate ? names[stage] : "";
}

// How a run reports its progress (the status window of the desktop program,
// the printed lines of the batch command).
//   StageStarted(1) begins a run that passed the input checks: show and reset.
//   StageStarted(k) highlights stage k.
//   StageFinished(k, false): the run failed in stage k ("Fehler").
//   StageFinished(7, true): the run completed; no stage is highlighted ("Fertig").
//   CountersChanged: the six counters after each change; show them at once.
class CalcStatus {
public:
    virtual ~CalcStatus() = default;
    virtual void StageStarted(int stage) = 0;
    virtual void StageFinished(int stage, bool ok) = 0;
    virtual void CountersChanged(const CalcCounters& counters) = 0;
};

inline constexpr const char* kCalcErrorTitle = "Berechnungsfehler";
inline constexpr const char* kContradictionMessage = "Wiederspruch in der Randbedingungen";
inline constexpr const char* kSingularMessage =
    "Singuläre Steifigkeitsmatrix !\nMöglicherweise liegt verschiebliches System vor";

inline constexpr const char* kNonFiniteMessage =
    "Überlauf in der Berechnung: Ergebnisse sind keine endlichen Zahlen.\n"
    "Möglicherweise sind Lasten oder Querschnittswerte zu groß oder zu klein";
inline constexpr const char* kUnbalancedMessage =
    "Die Lösung erfüllt das Gleichgewicht nicht: Lasten und Auflagerkräfte heben sich nicht auf.\n"
    "Möglicherweise liegt verschiebliches System vor";

// The outcome of a run. ok: results are valid. inputError: a plausibility
// check failed; check holds its report and title is "Eingabefehler" (the caller
// shows the input window at check.page, check.row, check.column). Otherwise a
// failed run carries message and title "Berechnungsfehler".
struct CalcResult {
    bool ok = false;
    bool inputError = false;
    int failedStage = kStageNone; // the stage a failed analysis stopped in
    int failedCase = -1;          // a run of several load cases: the one that failed (from 0)
    CheckReport check;
    std::string message;
    std::string title;
};
