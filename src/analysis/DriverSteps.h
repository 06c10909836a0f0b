#pragma once

#include "analysis/CalcStatus.h"
#include "model/Checks.h"

#include <cstdint>
#include <vector>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#include <unistd.h>
#endif

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

// The pages of a new vector's storage mapped in one request rather than by
// a fault at the first write to each of them: the kept results of many
// load cases are new memory, and on virtual machines each fault costs
// microseconds. Where the system cannot, the pages come as they are written.
template <class T> inline void MapStorage(const std::vector<T>& v) {
#if defined(MADV_POPULATE_WRITE)
    static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    if (page == 0 || (page & (page - 1)) != 0)
        return;
    const uintptr_t start = reinterpret_cast<uintptr_t>(v.data());
    const uintptr_t first = (start + page - 1) & ~(page - 1);
    const uintptr_t end = (start + v.capacity() * sizeof(T)) & ~(page - 1);
    if (end >= first + 16 * page)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)v;
#endif
}
