// Matrix products, transpose, determinant and inverse. Every function reads all of its input before
// it writes, so pOut may be one of the inputs.
#include <d3dx9math.h>

namespace {

D3DXMATRIX product(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    D3DXMATRIX out;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            out.m[row][col] = a.m[row][0] * b.m[0][col] + a.m[row][1] * b.m[1][col] +
                              a.m[row][2] * b.m[2][col] + a.m[row][3] * b.m[3][col];
        }
    }
    return out;
}

D3DXMATRIX transposed(const D3DXMATRIX& a) {
    D3DXMATRIX out;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            out.m[row][col] = a.m[col][row];
        }
    }
    return out;
}

// The 2x2 minors of the top two rows (s) and of the bottom two rows (c), from which the determinant
// and the adjugate both follow. Double precision, so that a singular float matrix gives a
// determinant of exactly 0 and invertible ones lose little to cancellation.
struct Minors {
    double a[4][4];
    double s[6];
    double c[6];

    explicit Minors(const D3DXMATRIX& mat) {
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col) {
                a[row][col] = mat.m[row][col];
            }
        }
        s[0] = a[0][0] * a[1][1] - a[1][0] * a[0][1];
        s[1] = a[0][0] * a[1][2] - a[1][0] * a[0][2];
        s[2] = a[0][0] * a[1][3] - a[1][0] * a[0][3];
        s[3] = a[0][1] * a[1][2] - a[1][1] * a[0][2];
        s[4] = a[0][1] * a[1][3] - a[1][1] * a[0][3];
        s[5] = a[0][2] * a[1][3] - a[1][2] * a[0][3];
        c[5] = a[2][2] * a[3][3] - a[3][2] * a[2][3];
        c[4] = a[2][1] * a[3][3] - a[3][1] * a[2][3];
        c[3] = a[2][1] * a[3][2] - a[3][1] * a[2][2];
        c[2] = a[2][0] * a[3][3] - a[3][0] * a[2][3];
        c[1] = a[2][0] * a[3][2] - a[3][0] * a[2][2];
        c[0] = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    }

    double determinant() const {
        return s[0] * c[5] - s[1] * c[4] + s[2] * c[3] + s[3] * c[2] - s[4] * c[1] + s[5] * c[0];
    }

    // The adjugate divided by det.
    D3DXMATRIX inverse(double det) const {
        const double adj[4][4] = {
            {a[1][1] * c[5] - a[1][2] * c[4] + a[1][3] * c[3],
             -a[0][1] * c[5] + a[0][2] * c[4] - a[0][3] * c[3],
             a[3][1] * s[5] - a[3][2] * s[4] + a[3][3] * s[3],
             -a[2][1] * s[5] + a[2][2] * s[4] - a[2][3] * s[3]},
            {-a[1][0] * c[5] + a[1][2] * c[2] - a[1][3] * c[1],
             a[0][0] * c[5] - a[0][2] * c[2] + a[0][3] * c[1],
             -a[3][0] * s[5] + a[3][2] * s[2] - a[3][3] * s[1],
             a[2][0] * s[5] - a[2][2] * s[2] + a[2][3] * s[1]},
            {a[1][0] * c[4] - a[1][1] * c[2] + a[1][3] * c[0],
             -a[0][0] * c[4] + a[0][1] * c[2] - a[0][3] * c[0],
             a[3][0] * s[4] - a[3][1] * s[2] + a[3][3] * s[0],
             -a[2][0] * s[4] + a[2][1] * s[2] - a[2][3] * s[0]},
            {-a[1][0] * c[3] + a[1][1] * c[1] - a[1][2] * c[0],
             a[0][0] * c[3] - a[0][1] * c[1] + a[0][2] * c[0],
             -a[3][0] * s[3] + a[3][1] * s[1] - a[3][2] * s[0],
             a[2][0] * s[3] - a[2][1] * s[1] + a[2][2] * s[0]},
        };
        D3DXMATRIX out;
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col) {
                out.m[row][col] = static_cast<FLOAT>(adj[row][col] / det);
            }
        }
        return out;
    }
};

} // namespace

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1, CONST D3DXMATRIX* pM2) {
    if (!pOut || !pM1 || !pM2) {
        return nullptr;
    }
    *pOut = product(*pM1, *pM2);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixMultiplyTranspose(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1,
                                               CONST D3DXMATRIX* pM2) {
    if (!pOut || !pM1 || !pM2) {
        return nullptr;
    }
    *pOut = transposed(product(*pM1, *pM2));
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM) {
    if (!pOut || !pM) {
        return nullptr;
    }
    *pOut = transposed(*pM);
    return pOut;
}

FLOAT WINAPI D3DXMatrixDeterminant(CONST D3DXMATRIX* pM) {
    return pM ? static_cast<FLOAT>(Minors(*pM).determinant()) : 0.0f;
}

D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, CONST D3DXMATRIX* pM) {
    if (!pOut || !pM) {
        return nullptr;
    }
    const Minors minors(*pM);
    const double det = minors.determinant();
    if (pDeterminant) {
        *pDeterminant = static_cast<FLOAT>(det);
    }
    // Singular as the caller sees the determinant: one too small for a float has no float inverse.
    if (static_cast<FLOAT>(det) == 0.0f) {
        return nullptr;
    }
    *pOut = minors.inverse(det);
    return pOut;
}
