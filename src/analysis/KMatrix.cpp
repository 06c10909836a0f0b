#include "analysis/KMatrix.h"

#include "analysis/PivotRule.h"
#include "model/BalkorError.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <sched.h>
#include <thread>
#include <vector>

namespace {

const char* const kDiagMemoryMessage = "Nicht genug Speicher";
const char* const kValuesMemoryMessage = "Speicher";
const char* const kShapeMessage = "Interner Fehler: Steifigkeitsmatrix und Lastvektor passen nicht";

struct FreeDoubles {
    void operator()(double* block) const { std::free(block); }
};
using Scratch = std::unique_ptr<double[], FreeDoubles>;

Scratch NewScratch(int64_t count) {
    Scratch block(NewZeroedDoubles(count));
    if (!block)
        throw BalkorError(kValuesMemoryMessage);
    return block;
}

} // namespace

void KMatrix::Create(int equations) {
    Release();
    if (equations < 0 || equations >= std::numeric_limits<int32_t>::max())
        throw BalkorError(kDiagMemoryMessage);
    diag = static_cast<int32_t*>(std::calloc(static_cast<size_t>(equations) + 1, sizeof(int32_t)));
    if (!diag)
        throw BalkorError(kDiagMemoryMessage);
    ownsDiag = 1;
    n = equations;
    bandwidth = 0;
}

void KMatrix::RaiseHeight(int column, int height) {
    if (column < 0 || column >= n)
        throw BalkorError(kShapeMessage);
    if (diag[column + 1] < height)
        diag[column + 1] = height;
}

void KMatrix::FinishProfile() {
    bandwidth = 0;
    int64_t total = 0;
    for (int c = 1; c <= n; ++c) {
        int32_t height = diag[c];
        bandwidth = std::max(bandwidth, height);
        // Column c - 1 reaches row 0 at most; a taller height would only
        // describe rows that do not exist.
        height = std::clamp(height, 1, c);
        total += height;
        if (total > std::numeric_limits<int32_t>::max())
            throw BalkorError(kValuesMemoryMessage);
        diag[c] = static_cast<int32_t>(total);
    }
    std::free(values);
    values = NewZeroedDoubles(total);
    if (!values)
        throw BalkorError(kValuesMemoryMessage);
}

void KMatrix::Release() {
    if (ownsDiag && diag)
        std::free(diag);
    ownsDiag = 0;
    diag = nullptr;
    std::free(values);
    values = nullptr;
}

void KMatrix::RequireRightHandSide(const Matrix& F) const {
    if (!diag || !values || F.rows < n || F.cols < 1)
        throw BalkorError(kShapeMessage);
}

int KMatrix::Solve(Matrix& F) {
    RequireRightHandSide(F);
    ScaleSystem(F);
    int code = DecomposeLDL();
    if (code == kSolveSolved)
        Substitute(F, 1.0);
    return code;
}

double KMatrix::ScaleSystem(Matrix& F) {
    RequireRightHandSide(F);
    const double factor = ScaleMatrix();
    if (factor != 1.0)
        F.Scale(factor);
    return factor;
}

double KMatrix::ScaleMatrix() {
    if (!diag || !values)
        throw BalkorError(kShapeMessage);
    double largest = 0.0;
    for (int j = 0; j < n; ++j)
        largest = std::max(largest, values[diag[j]]);
    if (largest == 0.0)
        return 1.0;
    double factor = 1.0 / largest;
    int32_t entries = diag[n];
    for (int32_t k = 0; k < entries; ++k)
        values[k] = factor * values[k];
    return factor;
}

// Scratch of one factorisation: the original diagonals and, for every
// column, the largest original diagonal of the rows of its profile (for the
// pivot rule), the pivots of the current block of rows, and each row's
// factors in reverse order, f(i + m) at factors[i - first][bandwidth − m].
struct KMatrix::Workspace {
    int blockRows;
    Scratch original;
    Scratch coupled;
    Scratch pivots;
    Scratch factors;
    int64_t stride;
    // reach[i]: the last column whose profile reaches up to row i or above.
    std::vector<int32_t> reach;
    double* RowFactors(int row, int first) const { return factors.get() + (row - first) * stride; }
};

// largest[k] := the largest of value[i] over the rows i of column k's
// profile. The stack holds the rows, ascending, whose value exceeds that of
// every later row up to k, so the first of them inside the profile is its
// largest.
void KMatrix::ProfileMaxima(const double* value, double* largest) const {
    std::vector<int32_t> stack;
    for (int k = 0; k < n; ++k) {
        while (!stack.empty() && value[stack.back()] <= value[k])
            stack.pop_back();
        stack.push_back(k);
        const int32_t top = k - Height(k) + 1;
        largest[k] = value[*std::lower_bound(stack.begin(), stack.end(), top)];
    }
}

int KMatrix::DecomposeLDL(int threads) {
    if (!diag || !values)
        throw BalkorError(kShapeMessage);
    const int workers = threads > 0 ? threads : AutomaticThreads();
    Workspace w;
    w.blockRows = workers > 1 ? kParallelBlockRows : kBlockRows;
    w.original = NewScratch(n);
    w.stride = static_cast<int64_t>(bandwidth) + 1;
    w.factors = NewScratch(w.stride * w.blockRows);
    w.pivots = NewScratch(w.blockRows);
    for (int j = 0; j < n; ++j)
        w.original[j] = values[diag[j]];
    w.coupled = NewScratch(n);
    ProfileMaxima(w.original.get(), w.coupled.get());
    w.reach.assign(static_cast<size_t>(n), -1);
    for (int k = 0; k < n; ++k) {
        int32_t& top = w.reach[k - Height(k) + 1];
        top = std::max(top, k);
    }
    for (int i = 1; i < n; ++i)
        w.reach[i] = std::max(w.reach[i], w.reach[i - 1]);

    int code = kSolveSolved;
    if (workers > 1) {
        code = DecomposeParallel(workers, w);
    } else {
        for (int first = 0; first < n && code == kSolveSolved; first += w.blockRows) {
            const int last = std::min(n, first + w.blockRows);
            code = EliminateColumns(first, last, first, BlockEnd(last, w), w);
        }
    }
    if (code != kSolveSolved)
        return code;
    for (int j = 0; j < n; ++j) {
        if (values[diag[j]] <= 0.0)
            return kSolveNonPositivePivot;
    }
    return kSolveSolved;
}

namespace {

// column[q] -= factors[q] * a for q < count: the inner loop of the elimination.
// GCC vectorizes loops of unknown length only from -O3 on, so ask for it here,
// with an AVX2 variant where the processor has one. Vector lanes multiply and
// subtract exactly as the scalar code does (no fused multiply-add).
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("tree-vectorize", "vect-cost-model=dynamic"),
               target_clones("avx2", "default")))
#endif
void SubtractScaled(double* __restrict column, const double* __restrict factors, double a,
                    int count) {
    for (int q = 0; q < count; ++q)
        column[q] -= factors[q] * a;
}

// column[q] = column[q] − g0[q]·a[0] − … − g7[q]·a[7] for q < count,
// subtracted in this order: eight rows' updates of a column in one pass
// over it, each entry receiving them as eight calls of SubtractScaled
// would give them.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("tree-vectorize", "vect-cost-model=dynamic"),
               target_clones("avx2", "default")))
#endif
void SubtractScaledRows(double* __restrict column, const double* __restrict g0,
                        const double* __restrict g1, const double* __restrict g2,
                        const double* __restrict g3, const double* __restrict g4,
                        const double* __restrict g5, const double* __restrict g6,
                        const double* __restrict g7, const double* a, int count) {
    const double a0 = a[0], a1 = a[1], a2 = a[2], a3 = a[3];
    const double a4 = a[4], a5 = a[5], a6 = a[6], a7 = a[7];
    for (int q = 0; q < count; ++q)
        column[q] = column[q] - g0[q] * a0 - g1[q] * a1 - g2[q] * a2 - g3[q] * a3 - g4[q] * a4 -
                    g5[q] * a5 - g6[q] * a6 - g7[q] * a7;
}

// The cores this process may run on.
int UsableCores() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

// The tasks that are running or waiting for a processor right now, this
// thread included (the fourth field of /proc/loadavg, "running/total"); 0
// when unknown.
int RunnableTasks() {
    std::FILE* file = std::fopen("/proc/loadavg", "r");
    if (!file)
        return 0;
    double load1, load5, load15;
    int runnable = 0, total = 0;
    if (std::fscanf(file, "%lf %lf %lf %d/%d", &load1, &load5, &load15, &runnable, &total) != 5)
        runnable = 0;
    std::fclose(file);
    return runnable;
}

// Threads of one factorisation meet here after each round. A waiting thread
// spins and then yields the processor instead of sleeping: waking a sleeping
// thread once per round costs, on a busy machine, more than the round.
class SpinBarrier {
public:
    explicit SpinBarrier(int count) : count_(count) {}

    void ArriveAndWait() {
        const unsigned generation = generation_.load(std::memory_order_acquire);
        if (arrived_.fetch_add(1, std::memory_order_acq_rel) + 1 == count_) {
            arrived_.store(0, std::memory_order_relaxed);
            generation_.fetch_add(1, std::memory_order_acq_rel);
            return;
        }
        constexpr int kSpins = 4000;
        for (int spin = 0; generation_.load(std::memory_order_acquire) == generation; ++spin) {
            if (spin < kSpins)
                Pause();
            else
                std::this_thread::yield();
        }
    }

private:
    static void Pause() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    std::atomic<int> arrived_{0};
    std::atomic<unsigned> generation_{0};
    const int count_;
};

// Runs shorter than this are subtracted without the vector loop.
constexpr int kShortestVectorRun = 8;
// The most threads BALKOR_THREADS may ask for.
constexpr int kMaxThreads = 64;
// Below this bandwidth a pass over the columns is too short to share.
constexpr int kLeastParallelBandwidth = 48;
// Columns a thread takes at a time; threads take the chunks in turn.
constexpr int kColumnChunk = 8;

} // namespace

int KMatrix::AutomaticThreads() const {
    if (bandwidth < kLeastParallelBandwidth || n < 4 * kParallelBlockRows)
        return 1;
    // BALKOR_THREADS=k fixes the number (benchmarks on a shared machine).
    if (const char* fixed = std::getenv("BALKOR_THREADS")) {
        const int count = std::atoi(fixed);
        if (count >= 1 && count <= kMaxThreads)
            return count;
    }
    // The cores the rest of the machine leaves idle, and this one: threads
    // that wait for a busy processor make every round wait for them.
    const int cores = UsableCores();
    const int runnable = RunnableTasks();
    if (runnable <= 0)
        return cores;
    return std::clamp(cores - (runnable - 1), 1, cores);
}

// The columns that the rows of a block reach: beyond the last of them no
// column has an entry in those rows. Every column of the block is reached
// for its pivot.
int KMatrix::BlockEnd(int last, const Workspace& w) const {
    return std::min(n, std::max(last, w.reach[last - 1] + 1));
}

// Row i's factor for column k = i + offset, kept in the row's reversed
// factors: the entry divided by the row's pivot, or 0 where the entry lies
// outside the profile (which leaves the entries it multiplies unchanged).
// Returns the row's factors from column k on, or null outside the profile.
const double* KMatrix::RecordFactor(int first, int i, int offset, int height, const double* column,
                                    Workspace& w) const {
    double* reversed = w.RowFactors(i, first);
    if (offset >= height) {
        if (offset < bandwidth)
            reversed[bandwidth - offset] = 0.0;
        return nullptr;
    }
    reversed[bandwidth - offset] = column[offset] / w.pivots[i - first];
    return reversed + (bandwidth - offset);
}

// Rows i … i + kFusedRows − 1 (all inside the profile of column k) in one
// pass over the column: each row first takes the earlier rows' updates of
// its own entry, then gives its factor; the entries above the rows' own
// receive their updates in row order, exactly as row after row would give
// them.
void KMatrix::EliminateFused(int first, int i, int k, double* column, Workspace& w) {
    static_assert(kFusedRows == 8, "SubtractScaledRows takes eight rows");
    const int o0 = k - i;
    const double* g[kFusedRows];
    double a[kFusedRows];
    for (int r = 0; r < kFusedRows; ++r) {
        const int offset = o0 - r;
        for (int s = 0; s < r; ++s)
            column[offset] -= g[s][offset] * a[s];
        a[r] = column[offset];
        g[r] = RecordFactor(first, i + r, offset, offset + 1, column, w);
    }
    SubtractScaledRows(column, g[0], g[1], g[2], g[3], g[4], g[5], g[6], g[7], a,
                       o0 - (kFusedRows - 1));
    for (int r = 0; r < kFusedRows; ++r)
        column[o0 - r] = g[r][0];
}

// For every pair i < j <= k inside the profile: K(j, k) -= (K(i, j) / d) * K(i, k),
// then K(i, j) := K(i, j) / d, row i after row i. Each entry receives exactly
// the one update per row that a loop over j, then k, would give it, in row
// order. The rows first ... last − 1 are applied together, column by column,
// so that each column is brought into the cache once per block instead of
// once per row; the inner loop runs on the contiguous column. Factors
// outside the profile are 0, which leaves their entries unchanged. A pivot
// is checked once every earlier row has reached its column, as a row-by-row
// elimination would check it.
int KMatrix::EliminateColumns(int first, int last, int from, int to, Workspace& w) {
    for (int k = from; k < to; ++k) {
        double* column = values + diag[k];
        const int height = Height(k);
        const int rows = std::min(k, last);
        // The rows above the column's profile get factor 0; the rest of the
        // block's rows lie inside it (their offsets only shrink).
        int i = first;
        for (; i < rows && k - i >= height; ++i)
            RecordFactor(first, i, k - i, height, column, w);
        for (; i + kFusedRows <= rows; i += kFusedRows)
            EliminateFused(first, i, k, column, w);
        for (; i < rows; ++i) {
            const int offset = k - i;
            const double* factors = RecordFactor(first, i, offset, height, column, w);
            const double a = column[offset];
            SubtractScaled(column, factors, a, offset);
            column[offset] = factors[0];
        }
        if (k < last) {
            const double d = column[0];
            if (IsZeroPivot(d, w.original[k], w.coupled[k]))
                return kSolveZeroPivot;
            w.pivots[k - first] = d;
        }
    }
    return kSolveSolved;
}

// Column k (k >= last), rows first ... last − 1 in order: each row's factor,
// and its update of the block's rows below it. Row i's own entry keeps its
// reduced value for UpdateRowsBehind, which needs it.
void KMatrix::ReduceBlockRows(int first, int last, int k, Workspace& w) {
    double* column = values + diag[k];
    const int height = Height(k);
    const int behind = k - last + 1; // column[q], q < behind: rows at or behind last
    for (int i = first; i < last; ++i) {
        const int offset = k - i;
        const double* factors = RecordFactor(first, i, offset, height, column, w);
        if (!factors)
            continue;
        const double a = column[offset];
        // Fewer entries than rows in a block: a plain loop where a call to
        // the vector loop costs more than it saves.
        if (offset - behind >= kShortestVectorRun) {
            SubtractScaled(column + behind, factors + behind, a, offset - behind);
        } else {
            for (int q = behind; q < offset; ++q)
                column[q] -= factors[q] * a;
        }
    }
}

// Column k (k >= last), rows first ... last − 1 in order: the update of the
// rows at or behind last with the factors of every column up to k, then the
// row's entry becomes its factor.
void KMatrix::UpdateRowsBehind(int first, int last, int k, Workspace& w) {
    double* column = values + diag[k];
    const int height = Height(k);
    const int behind = k - last + 1;
    // The rows inside the column's profile: a tail of the block.
    int i = std::max(first, k - height + 1);
    auto factorsOf = [&](int row) { return w.RowFactors(row, first) + (bandwidth - (k - row)); };
    for (; i + kFusedRows <= last; i += kFusedRows) {
        const double* g[kFusedRows];
        double a[kFusedRows];
        for (int r = 0; r < kFusedRows; ++r) {
            g[r] = factorsOf(i + r);
            a[r] = column[k - i - r];
        }
        SubtractScaledRows(column, g[0], g[1], g[2], g[3], g[4], g[5], g[6], g[7], a, behind);
        for (int r = 0; r < kFusedRows; ++r)
            column[k - i - r] = g[r][0];
    }
    for (; i < last; ++i) {
        const double* factors = factorsOf(i);
        const double a = column[k - i];
        SubtractScaled(column, factors, a, behind);
        column[k - i] = factors[0];
    }
}

// Each block of rows: its own columns on this thread (they hold the pivots),
// then the columns behind it in chunks shared by all threads, in two rounds
// with a barrier between: every entry receives the updates of the rows in
// the same order and with the same operands as in EliminateColumns.
int KMatrix::DecomposeParallel(int threads, Workspace& w) {
    struct Pass {
        int first = 0, last = 0, end = 0;
        bool done = false;
    } pass;
    SpinBarrier sync(threads);
    auto forColumns = [&](int id, auto&& work) {
        const int count = pass.end - pass.last;
        for (int chunk = id * kColumnChunk; chunk < count; chunk += threads * kColumnChunk)
            for (int k = pass.last + chunk; k < pass.last + std::min(count, chunk + kColumnChunk);
                 ++k)
                work(k);
    };
    auto runPass = [&](int id) {
        forColumns(id, [&](int k) { ReduceBlockRows(pass.first, pass.last, k, w); });
        sync.ArriveAndWait();
        forColumns(id, [&](int k) { UpdateRowsBehind(pass.first, pass.last, k, w); });
        sync.ArriveAndWait();
    };
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<size_t>(threads - 1));
    for (int id = 1; id < threads; ++id)
        helpers.emplace_back([&, id] {
            for (;;) {
                sync.ArriveAndWait();
                if (pass.done)
                    return;
                runPass(id);
            }
        });
    int code = kSolveSolved;
    for (int first = 0; first < n; first += w.blockRows) {
        const int last = std::min(n, first + w.blockRows);
        code = EliminateColumns(first, last, first, last, w);
        if (code != kSolveSolved)
            break;
        pass.first = first;
        pass.last = last;
        pass.end = BlockEnd(last, w);
        sync.ArriveAndWait();
        runPass(0);
    }
    pass.done = true;
    sync.ArriveAndWait();
    for (std::thread& helper : helpers)
        helper.join();
    return code;
}

void KMatrix::Substitute(Matrix& F, double factor) {
    RequireRightHandSide(F);
    const int stride = F.cols;
    double* f = F.data;
    for (int r = 0; r < n; ++r)
        f[r * stride] = factor * f[r * stride];

    for (int i = 0; i < n; ++i) {
        const double* column = values + diag[i];
        const int height = Height(i);
        double sum = 0.0;
        for (int m = 1; m < height; ++m)
            sum += column[m] * f[(i - m) * stride];
        f[i * stride] -= sum;
    }

    for (int i = n - 1; i >= 0; --i) {
        const int last = std::min(n, i + bandwidth);
        double sum = 0.0;
        for (int j = i + 1; j < last; ++j) {
            int offset = j - i;
            if (offset < Height(j))
                sum += values[diag[j] + offset] * f[j * stride];
        }
        f[i * stride] = f[i * stride] / values[diag[i]] - sum;
    }
}
