// The row vector times a matrix (v x M), shared by vectors, points, normals and planes.
#ifndef VTR3_PLATFORM_MATH_ROW_VECTOR_H
#define VTR3_PLATFORM_MATH_ROW_VECTOR_H

#include <d3dx9math.h>

namespace vtr3::math {

struct Row4 {
    FLOAT v[4];
};

inline Row4 times(FLOAT x, FLOAT y, FLOAT z, FLOAT w, const D3DMATRIX& m) {
    Row4 out;
    for (int col = 0; col < 4; ++col) {
        out.v[col] = x * m.m[0][col] + y * m.m[1][col] + z * m.m[2][col] + w * m.m[3][col];
    }
    return out;
}

// Scales count floats to unit length; a zero-length input gives zeros rather than NaN.
inline void normalize(FLOAT* out, const FLOAT* in, int count) {
    FLOAT lengthSq = 0.0f;
    for (int i = 0; i < count; ++i) {
        lengthSq += in[i] * in[i];
    }
    const FLOAT length = std::sqrt(lengthSq);
    for (int i = 0; i < count; ++i) {
        out[i] = length > 0.0f ? in[i] / length : 0.0f;
    }
}

} // namespace vtr3::math

#endif
