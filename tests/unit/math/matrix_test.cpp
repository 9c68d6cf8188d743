#include "math_expect.h"

namespace {

// A dense matrix with determinant 14 and a known rational inverse.
const D3DXMATRIX kDense(1, 2, 3, 4, 0, 1, 5, 6, 7, 0, 1, 8, 2, 3, 0, 1);

TEST(D3DXMatrixTest, MultiplyPutsTheFirstArgumentFirst) {
    D3DXMATRIX t, s, ts;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixScaling(&s, 2, 2, 2);
    // p x T x S translates, then scales the translation too.
    EXPECT_EQ(D3DXMatrixMultiply(&ts, &t, &s), &ts);
    expectNear(ts, D3DXMATRIX(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 4, 6, 1));
    expectNear(s * t, D3DXMATRIX(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1));

    // The output may be an input; MultiplyTranspose is the product's transpose.
    D3DXMATRIX a = kDense, expected, transposed, mt;
    D3DXMatrixMultiply(&expected, &kDense, &kDense);
    D3DXMatrixMultiply(&a, &a, &a);
    expectNear(a, expected);
    D3DXMatrixTranspose(&transposed, &expected);
    D3DXMatrixMultiplyTranspose(&mt, &kDense, &kDense);
    expectNear(mt, transposed);
    EXPECT_EQ(transposed(0, 1), expected(1, 0));
}

TEST(D3DXMatrixTest, InverseIsExactInPlaceAndRefusedForSingularMatrices) {
    D3DXMATRIX inverse;
    FLOAT det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inverse, &det, &kDense), &inverse);
    EXPECT_FLOAT_EQ(det, 14.0f);
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&kDense), 14.0f);
    expectNear(inverse, D3DXMATRIX(103 / 14.f, -31 / 7.f, 1 / 14.f, -24 / 7.f,  //
                                   -33 / 14.f, 10 / 7.f, -1 / 14.f, 10 / 7.f,   //
                                   135 / 14.f, -39 / 7.f, -1 / 14.f, -32 / 7.f, //
                                   -107 / 14.f, 32 / 7.f, 1 / 14.f, 25 / 7.f));
    expectNear(kDense * inverse, identity());
    D3DXMATRIX in = kDense;
    ASSERT_EQ(D3DXMatrixInverse(&in, nullptr, &in), &in);
    expectNear(in, inverse);

    const D3DXMATRIX duplicateRows(1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 1);
    D3DXMATRIX out = kDense;
    det = -1;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &duplicateRows), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_EQ(out, kDense) << "the output is left as it was";
}

TEST(D3DXMatrixTest, IdentityIsExactAndOperatorsWorkElementWise) {
    D3DXMATRIX m = identity();
    EXPECT_TRUE(D3DXMatrixIsIdentity(&m));
    m(3, 0) = 1e-7f;
    EXPECT_FALSE(D3DXMatrixIsIdentity(&m));
    EXPECT_EQ(m._41, 1e-7f);
    const D3DXMATRIX doubled = 2.0f * kDense;
    EXPECT_EQ(doubled, kDense + kDense);
    EXPECT_EQ(doubled / 2.0f, kDense);
    EXPECT_EQ(doubled - kDense, kDense);
    EXPECT_EQ(-kDense + kDense, kDense * 0.0f);
    D3DXMATRIX product = kDense;
    product *= kDense;
    EXPECT_EQ(product, kDense * kDense);
    EXPECT_EQ(static_cast<const FLOAT*>(kDense)[7], 6.0f);
}

} // namespace
