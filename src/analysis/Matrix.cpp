#include "analysis/Matrix.h"

#include "model/BalkorError.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <unistd.h>
#include <utility>

namespace {

const char* const kMatrixMemoryMessage = "Nicht genug Speicher (Matrix) !";
const char* const kTempMemoryMessage = "Nicht genug Speicher";
const char* const kShapeMessage = "Interner Fehler: Matrixgrößen passen nicht zusammen";

// rows * cols, or -1 when the shape is negative or too large to count in 32 bits.
int32_t ElementCount(int rows, int cols) {
    if (rows < 0 || cols < 0)
        return -1;
    int64_t count = static_cast<int64_t>(rows) * cols;
    if (count > std::numeric_limits<int32_t>::max())
        return -1;
    return static_cast<int32_t>(count);
}

// Bytes of main memory, or 0 when the system does not tell.
int64_t PhysicalMemoryBytes() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<int64_t>(pages) * pageSize;
}

void RequireAtLeast(const Matrix& other, int32_t count) {
    if (other.count < count)
        throw BalkorError(kShapeMessage);
}

} // namespace

Matrix::Matrix(const Matrix& other) {
    Allocate(other.rows, other.cols);
    CopyFrom(other);
}

Matrix::Matrix(Matrix&& other) noexcept
    : count(other.count), data(other.data), rows(other.rows), cols(other.cols) {
    other.data = nullptr;
    other.count = 0;
}

Matrix& Matrix::operator=(const Matrix& other) {
    if (this != &other) {
        Allocate(other.rows, other.cols);
        CopyFrom(other);
    }
    return *this;
}

Matrix& Matrix::operator=(Matrix&& other) noexcept {
    if (this != &other) {
        FreeBlock();
        count = std::exchange(other.count, 0);
        data = std::exchange(other.data, nullptr);
        rows = other.rows;
        cols = other.cols;
    }
    return *this;
}

double* NewZeroedDoubles(int64_t count) {
    if (count < 0)
        return nullptr;
    static const int64_t memory = PhysicalMemoryBytes();
    if (memory > 0 && count > memory / static_cast<int64_t>(sizeof(double)))
        return nullptr;
    return static_cast<double*>(
        std::calloc(count > 0 ? static_cast<size_t>(count) : 1, sizeof(double)));
}

void Matrix::FreeBlock() {
    std::free(data);
    data = nullptr;
}

void Matrix::Allocate(int newRows, int newCols) {
    Release();
    int32_t newCount = ElementCount(newRows, newCols);
    if (newCount < 0)
        throw BalkorError(kMatrixMemoryMessage);
    double* block = NewZeroedDoubles(newCount);
    if (!block)
        throw BalkorError(kMatrixMemoryMessage);
    data = block;
    rows = newRows;
    cols = newCols;
    count = newCount;
}

void Matrix::Release() {
    FreeBlock();
    count = 0;
}

void Matrix::Zero() {
    if (count > 0)
        std::memset(data, 0, sizeof(double) * static_cast<size_t>(count));
}

void Matrix::Scale(double x) {
    for (int32_t k = 0; k < count; ++k)
        data[k] = x * data[k];
}

void Matrix::Add(const Matrix& other) {
    RequireAtLeast(other, count);
    for (int32_t k = 0; k < count; ++k)
        data[k] = data[k] + other.data[k];
}

void Matrix::Subtract(const Matrix& other) {
    RequireAtLeast(other, count);
    for (int32_t k = 0; k < count; ++k)
        data[k] = data[k] - other.data[k];
}

void Matrix::CopyFrom(const Matrix& other) {
    RequireAtLeast(other, count);
    if (count > 0)
        std::memcpy(data, other.data, sizeof(double) * static_cast<size_t>(count));
}

TempMatrix& Matrix::Multiply(const Matrix& other) const {
    return Multiply(other, TempMatrices());
}

TempMatrix& Matrix::Multiply(const Matrix& other, TempMatrixTyp& pool) const {
    if (other.rows < cols)
        throw BalkorError(kShapeMessage);
    TempMatrix& product = pool.NextTemp(rows, other.cols);
    for (int i = 0; i < rows; ++i) {
        const double* row = data + i * cols;
        for (int j = 0; j < other.cols; ++j) {
            double sum = 0.0;
            for (int k = 0; k < cols; ++k)
                sum += row[k] * other.data[k * other.cols + j];
            product.data[i * product.cols + j] += sum;
        }
    }
    return product;
}

TempMatrix& TempMatrix::operator=(const TempMatrix& other) {
    if (this != &other) {
        Reshape(other.rows, other.cols);
        CopyFrom(other);
    }
    return *this;
}

void TempMatrix::Allocate(int newRows, int newCols) {
    Matrix::Allocate(newRows, newCols);
    capacity = count;
}

void TempMatrix::Release() {
    Matrix::Release();
    capacity = 0;
}

void TempMatrix::Reshape(int newRows, int newCols) {
    int32_t newCount = ElementCount(newRows, newCols);
    if (newCount < 0)
        throw BalkorError(kTempMemoryMessage);
    if (capacity < newCount) {
        Release();
        double* block = NewZeroedDoubles(newCount);
        if (!block)
            throw BalkorError(kTempMemoryMessage);
        data = block;
        capacity = newCount;
    }
    rows = newRows;
    cols = newCols;
    count = newCount;
    Zero();
}

TempMatrix& TempMatrixTyp::NextTemp(int rows, int cols) {
    int k = next % kSlots;
    next = k + 1;
    slots[k].Reshape(rows, cols);
    return slots[k];
}

TempMatrixTyp& TempMatrices() {
    static TempMatrixTyp pool;
    return pool;
}
