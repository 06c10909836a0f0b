#pragma once

#include <cstdint>

class TempMatrix;
class TempMatrixTyp;

// Dense matrix of doubles, row-major: element (r, c) is data[r * cols + c].
// Used for element matrices and vectors, the right-hand side of the global
// system and the dense constraint matrix.
class Matrix {
public:
    int32_t count = 0;      // rows * cols
    double* data = nullptr; // owned
    int32_t rows = 0;
    int32_t cols = 0;

    Matrix() = default;
    Matrix(int rows, int cols) { Allocate(rows, cols); }
    Matrix(const Matrix& other);
    Matrix(Matrix&& other) noexcept;
    Matrix& operator=(const Matrix& other);
    Matrix& operator=(Matrix&& other) noexcept;
    ~Matrix() { Release(); }

    // Releases the old block and allocates rows * cols zeroed doubles;
    // throws BalkorError "Nicht genug Speicher (Matrix) !" when that fails.
    void Allocate(int rows, int cols);
    void Release();
    void Zero();
    void Scale(double x);
    // Element-wise over this matrix's count; the other must hold at least as many.
    void Add(const Matrix& other);
    void Subtract(const Matrix& other);
    void CopyFrom(const Matrix& other);
    // this * other into the next temporary of the pool (valid for ten more requests).
    TempMatrix& Multiply(const Matrix& other) const;
    TempMatrix& Multiply(const Matrix& other, TempMatrixTyp& pool) const;

    double& operator()(int r, int c) { return data[r * cols + c]; }
    double operator()(int r, int c) const { return data[r * cols + c]; }
    // Element r of the first column: the vector view of an n x 1 matrix.
    double& operator[](int r) { return data[r * cols]; }
    double operator[](int r) const { return data[r * cols]; }

protected:
    // Frees the block without touching the shape.
    void FreeBlock();
};

// A matrix with one column.
class Vektor : public Matrix {
public:
    Vektor() = default;
    explicit Vektor(int rows) : Matrix(rows, 1) {}
};

// A matrix that keeps its block between uses and reallocates only when a
// request needs more than its capacity.
class TempMatrix : public Matrix {
public:
    int32_t capacity = 0; // doubles the block can hold

    TempMatrix() = default;
    TempMatrix(const TempMatrix& other) : Matrix(other), capacity(other.count) {}
    TempMatrix& operator=(const TempMatrix& other);

    void Allocate(int rows, int cols);
    void Release();
    // Takes the shape rows x cols and zeroes it, growing the block when needed;
    // throws BalkorError "Nicht genug Speicher" when growing fails.
    void Reshape(int rows, int cols);
};

// The pool of ten temporaries that matrix products are returned in, so that
// evaluating thousands of elements does not allocate for every product.
class TempMatrixTyp {
public:
    static constexpr int kSlots = 10;

    int32_t next = 0; // counter of requests
    TempMatrix slots[kSlots];

    // The slot after the previous one, shaped rows x cols and zeroed. It stays
    // valid until ten further requests have been made: copy a result out at once.
    TempMatrix& NextTemp(int rows, int cols);
};

// The program's temporary pool.
TempMatrixTyp& TempMatrices();

// A zeroed block of count doubles (release with std::free), or nullptr when
// it cannot be had. A block larger than the machine's memory is refused at
// once rather than promised by the system and failing while it is filled.
double* NewZeroedDoubles(int64_t count);
