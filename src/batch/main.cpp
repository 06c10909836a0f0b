// balkor-batch: the analysis of a system file under a load case, without a
// window; for scripts, servers and checks.

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/OutputFiles.h"
#include "model/BalkorError.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    BatchOptions options;
    std::string error;
    const bool parsed = ParseBatchArguments(args, options, error);
    if (parsed && options.help) {
        std::fputs(BatchUsage(), stdout);
        return kExitOk;
    }
    if (!parsed || !CheckOutputsDistinct(options, error)) {
        std::fprintf(stderr, "balkor-batch: %s\n\n%s", error.c_str(), BatchUsage());
        return kExitUsage;
    }
    try {
        return RunBatch(options, stdout, stderr);
    } catch (const BalkorError& e) {
        std::fprintf(stderr, "Fehler: %s\n", e.what());
    } catch (const std::bad_alloc&) {
        std::fputs("Fehler: Nicht genug Speicher\n", stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Fehler: %s\n", e.what());
    }
    return kExitInternalError;
}
