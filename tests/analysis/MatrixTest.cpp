// Dense matrices, vectors and the pool of temporaries.

#include "analysis/Matrix.h"
#include "model/BalkorError.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

Matrix FromRows(int rows, int cols, std::initializer_list<double> values) {
    Matrix m(rows, cols);
    int k = 0;
    for (double v : values)
        m.data[k++] = v;
    return m;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const BalkorError& error) {
        return error.what();
    }
    return "no error";
}

TEST(Matrix, AllocateSetsShapeAndZeroes) {
    Matrix m(2, 3);
    EXPECT_EQ(m.rows, 2);
    EXPECT_EQ(m.cols, 3);
    EXPECT_EQ(m.count, 6);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(m.data[k], 0.0);
    m(1, 2) = 7.0;
    EXPECT_EQ(m.data[1 * 3 + 2], 7.0);

    m.Allocate(1, 1);
    EXPECT_EQ(m.count, 1);
    EXPECT_EQ(m.data[0], 0.0);
    m.Release();
    EXPECT_EQ(m.data, nullptr);
    EXPECT_EQ(m.count, 0);
}

TEST(Matrix, ElementWiseOperations) {
    Matrix a = FromRows(2, 2, {1, 2, 3, 4});
    Matrix b = FromRows(2, 2, {10, 20, 30, 40});

    a.Add(b);
    EXPECT_EQ(a(1, 1), 44.0);
    a.Subtract(b);
    EXPECT_EQ(a(0, 1), 2.0);
    a.Scale(0.5);
    EXPECT_EQ(a(1, 0), 1.5);
    a.CopyFrom(b);
    EXPECT_EQ(a(0, 0), 10.0);
    a.Zero();
    EXPECT_EQ(a(1, 1), 0.0);
}

TEST(Matrix, CopiesAreIndependent) {
    Matrix a = FromRows(1, 2, {1, 2});
    Matrix b = a;
    b(0, 0) = 9;
    EXPECT_EQ(a(0, 0), 1.0);
    Matrix c = std::move(b);
    EXPECT_EQ(c(0, 0), 9.0);
    EXPECT_EQ(b.data, nullptr);
}

TEST(Matrix, VectorElementsStepByColumns) {
    Vektor v(3);
    v[2] = 5.0;
    EXPECT_EQ(v.data[2], 5.0);
    // The first column of a 3 x 2 matrix: element r is data[r * 2].
    Matrix m = FromRows(3, 2, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(m[2], 5.0);
}

TEST(Matrix, MultiplyGivesTheProduct) {
    TempMatrixTyp pool;
    Matrix a = FromRows(2, 3, {1, 2, 3, 4, 5, 6});
    Matrix b = FromRows(3, 2, {7, 8, 9, 10, 11, 12});
    TempMatrix& p = a.Multiply(b, pool);
    ASSERT_EQ(p.rows, 2);
    ASSERT_EQ(p.cols, 2);
    EXPECT_EQ(p(0, 0), 58.0);
    EXPECT_EQ(p(0, 1), 64.0);
    EXPECT_EQ(p(1, 0), 139.0);
    EXPECT_EQ(p(1, 1), 154.0);
}

TEST(Matrix, MismatchedShapesAreRefused) {
    Matrix a(2, 3);
    Matrix small(2, 2);
    EXPECT_THROW(a.Add(small), BalkorError);
    EXPECT_THROW(a.CopyFrom(small), BalkorError);
    TempMatrixTyp pool;
    EXPECT_THROW(a.Multiply(small, pool), BalkorError);
}

TEST(Matrix, ImpossibleBlocksRaiseTheMemoryMessages) {
    Matrix m;
    EXPECT_EQ(MessageOf([&] { m.Allocate(-1, 3); }), "Nicht genug Speicher (Matrix) !");
    EXPECT_EQ(MessageOf([&] { m.Allocate(100000, 100000); }), "Nicht genug Speicher (Matrix) !");
    TempMatrixTyp pool;
    EXPECT_EQ(MessageOf([&] { pool.NextTemp(100000, 100000); }), "Nicht genug Speicher");
}

TEST(TempMatrixPool, SlotsAreTakenInTurnAndTheEleventhReusesTheFirst) {
    TempMatrixTyp pool;
    TempMatrix* first = &pool.NextTemp(6, 6);
    EXPECT_EQ(pool.next, 1);
    for (int k = 1; k < 10; ++k)
        EXPECT_EQ(&pool.NextTemp(2, 2), &pool.slots[k]);
    EXPECT_EQ(pool.next, 10);
    EXPECT_EQ(&pool.NextTemp(1, 1), first);
    EXPECT_EQ(pool.next, 1);
}

TEST(TempMatrixPool, AProductIsOverwrittenTenRequestsLater) {
    TempMatrixTyp pool;
    Matrix a = FromRows(1, 1, {3});
    TempMatrix& product = a.Multiply(a, pool);
    EXPECT_EQ(product(0, 0), 9.0);
    for (int k = 0; k < 9; ++k)
        pool.NextTemp(1, 1);
    EXPECT_EQ(product(0, 0), 9.0);
    pool.NextTemp(1, 1);
    EXPECT_EQ(product(0, 0), 0.0);
}

TEST(TempMatrixPool, SlotsKeepTheirBlockAndGrowOnlyWhenNeeded) {
    TempMatrixTyp pool;
    TempMatrix& slot = pool.NextTemp(6, 6);
    double* block = slot.data;
    EXPECT_EQ(slot.capacity, 36);
    slot(5, 5) = 1.0;
    for (int k = 0; k < 9; ++k)
        pool.NextTemp(1, 1);

    TempMatrix& again = pool.NextTemp(6, 1);
    EXPECT_EQ(&again, &slot);
    EXPECT_EQ(again.data, block);
    EXPECT_EQ(again.capacity, 36);
    EXPECT_EQ(again.count, 6);
    EXPECT_EQ(again.rows, 6);
    EXPECT_EQ(again.cols, 1);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(again[k], 0.0);

    for (int k = 0; k < 9; ++k)
        pool.NextTemp(1, 1);
    TempMatrix& grown = pool.NextTemp(10, 10);
    EXPECT_EQ(grown.capacity, 100);
    EXPECT_EQ(grown.count, 100);
}

TEST(TempMatrixPool, TheProgramHasOnePool) {
    EXPECT_EQ(&TempMatrices(), &TempMatrices());
    Matrix a = FromRows(1, 1, {2});
    TempMatrix& p = a.Multiply(a);
    EXPECT_EQ(p(0, 0), 4.0);
}

} // namespace
