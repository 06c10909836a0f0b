#include "analysis/KMatrix.h"

#include "model/BalkorError.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

const char* const kDiagMemoryMessage = "Nicht genug Speicher";
const char* const kValuesMemoryMessage = "Speicher";
const char* const kShapeMessage = "Interner Fehler: Steifigkeitsmatrix und Lastvektor passen nicht";

// A pivot below this (after scaling to a largest diagonal of 1) is zero.
constexpr double kAbsolutePivotLimit = 1e-40;
// A pivot that kept no more than this fraction of its equation's own diagonal
// is zero too: rounding leaves a tiny positive pivot in a mechanism, and the
// absolute limit alone would let it pass with huge displacements.
constexpr double kRelativePivotLimit = 1e-11;

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

bool IsZeroPivot(double d, double originalDiagonal) {
    double size = std::fabs(d);
    // Written so that NaN counts as zero.
    if (!(size >= kAbsolutePivotLimit))
        return true;
    return size <= kRelativePivotLimit * originalDiagonal;
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
    double largest = 0.0;
    for (int j = 0; j < n; ++j)
        largest = std::max(largest, values[diag[j]]);
    if (largest == 0.0)
        return 1.0;
    double factor = 1.0 / largest;
    int32_t entries = diag[n];
    for (int32_t k = 0; k < entries; ++k)
        values[k] = factor * values[k];
    F.Scale(factor);
    return factor;
}

int KMatrix::DecomposeLDL() {
    if (!diag || !values)
        throw BalkorError(kShapeMessage);
    Scratch original = NewScratch(n);
    const int64_t stride = static_cast<int64_t>(bandwidth) + 1;
    Scratch rowFactors = NewScratch(stride * kBlockRows);
    Scratch pivots = NewScratch(kBlockRows);
    for (int j = 0; j < n; ++j)
        original[j] = values[diag[j]];

    for (int first = 0; first < n; first += kBlockRows) {
        const int code = EliminateBlock(first, std::min(n, first + kBlockRows), original.get(),
                                        pivots.get(), rowFactors.get());
        if (code != kSolveSolved)
            return code;
    }
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

} // namespace

// For every pair i < j <= k inside the profile: K(j, k) -= (K(i, j) / d) * K(i, k),
// then K(i, j) := K(i, j) / d, row i after row i. Each entry receives exactly
// the one update per row that a loop over j, then k, would give it, in row
// order. The rows first ... last − 1 are applied together, column by column,
// so that each column is brought into the cache once per block instead of
// once per row; the inner loop runs on the contiguous column. Row i's factors
// are kept in reverse order, f(i + m) at factors[i - first][bandwidth − m],
// filled as the columns are reached; factors outside the profile are 0, which
// leaves their entries unchanged. A pivot is checked once every earlier row
// has reached its column, as a row-by-row elimination would check it.
int KMatrix::EliminateBlock(int first, int last, const double* original, double* pivots,
                            double* factors) {
    const int64_t stride = static_cast<int64_t>(bandwidth) + 1;
    // Every column of the block is reached for its pivot, even in a matrix
    // without coupled equations (bandwidth 0).
    const int end = static_cast<int>(
        std::min<int64_t>(n, std::max<int64_t>(last, int64_t{last} - 1 + bandwidth)));
    for (int k = first; k < end; ++k) {
        double* column = values + diag[k];
        const int height = Height(k);
        for (int i = first; i < std::min(k, last); ++i) {
            const int offset = k - i;
            double* reversed = factors + (i - first) * stride;
            if (offset >= height) {
                if (offset < bandwidth)
                    reversed[bandwidth - offset] = 0.0;
                continue;
            }
            const double a = column[offset];
            const double f = a / pivots[i - first];
            reversed[bandwidth - offset] = f;
            SubtractScaled(column, reversed + (bandwidth - offset), a, offset);
            column[offset] = f;
        }
        if (k < last) {
            const double d = column[0];
            if (IsZeroPivot(d, original[k]))
                return kSolveZeroPivot;
            pivots[k - first] = d;
        }
    }
    return kSolveSolved;
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
