#pragma once

#include "analysis/CalcStatus.h"
#include "model/Checks.h"

// The steps every run reports in the same way, whether it analyses one load
// case or several.

inline void StartStage(CalcStatus* status, int stage) {
    if (status)
        status->StageStarted(stage);
}

inline void FailStage(CalcStatus* status, int stage, CalcResult& result, const char* message) {
    result.message = message;
    result.title = kCalcErrorTitle;
    result.failedStage = stage;
    if (status)
        status->StageFinished(stage, false);
}

// False for a passed check; otherwise the result carries its report.
inline bool InputFailed(const CheckReport& report, CalcResult& result) {
    if (report.ok)
        return false;
    result.inputError = true;
    result.check = report;
    result.message = report.message;
    result.title = kCheckFailedCaption;
    return true;
}
