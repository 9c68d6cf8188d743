// Inline parts of d3dx9math.h: the operators of the math types and the helpers small enough to inline.
#ifndef VTR3_PLATFORM_D3DX9MATH_INL
#define VTR3_PLATFORM_D3DX9MATH_INL

// D3DXVECTOR2

inline D3DXVECTOR2::D3DXVECTOR2(CONST FLOAT* pf) : x(pf ? pf[0] : 0.0f), y(pf ? pf[1] : 0.0f) {}
inline D3DXVECTOR2::D3DXVECTOR2(FLOAT fx, FLOAT fy) : x(fx), y(fy) {}

inline D3DXVECTOR2::operator FLOAT*() {
    return &x;
}
inline D3DXVECTOR2::operator CONST FLOAT*() const {
    return &x;
}

inline D3DXVECTOR2& D3DXVECTOR2::operator+=(CONST D3DXVECTOR2& v) {
    return *this = *this + v;
}
inline D3DXVECTOR2& D3DXVECTOR2::operator-=(CONST D3DXVECTOR2& v) {
    return *this = *this - v;
}
inline D3DXVECTOR2& D3DXVECTOR2::operator*=(FLOAT f) {
    return *this = *this * f;
}
inline D3DXVECTOR2& D3DXVECTOR2::operator/=(FLOAT f) {
    return *this = *this / f;
}

inline D3DXVECTOR2 D3DXVECTOR2::operator+() const {
    return *this;
}
inline D3DXVECTOR2 D3DXVECTOR2::operator-() const {
    return D3DXVECTOR2(-x, -y);
}

inline D3DXVECTOR2 D3DXVECTOR2::operator+(CONST D3DXVECTOR2& v) const {
    return D3DXVECTOR2(x + v.x, y + v.y);
}
inline D3DXVECTOR2 D3DXVECTOR2::operator-(CONST D3DXVECTOR2& v) const {
    return D3DXVECTOR2(x - v.x, y - v.y);
}
inline D3DXVECTOR2 D3DXVECTOR2::operator*(FLOAT f) const {
    return D3DXVECTOR2(x * f, y * f);
}
inline D3DXVECTOR2 D3DXVECTOR2::operator/(FLOAT f) const {
    return D3DXVECTOR2(x / f, y / f);
}

inline D3DXVECTOR2 operator*(FLOAT f, CONST D3DXVECTOR2& v) {
    return v * f;
}

inline BOOL D3DXVECTOR2::operator==(CONST D3DXVECTOR2& v) const {
    return x == v.x && y == v.y;
}
inline BOOL D3DXVECTOR2::operator!=(CONST D3DXVECTOR2& v) const {
    return !(*this == v);
}

// D3DXVECTOR3

inline D3DXVECTOR3::D3DXVECTOR3(CONST FLOAT* pf) {
    x = pf ? pf[0] : 0.0f;
    y = pf ? pf[1] : 0.0f;
    z = pf ? pf[2] : 0.0f;
}
inline D3DXVECTOR3::D3DXVECTOR3(CONST D3DVECTOR& v) : D3DVECTOR(v) {}
inline D3DXVECTOR3::D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) {
    x = fx;
    y = fy;
    z = fz;
}

inline D3DXVECTOR3::operator FLOAT*() {
    return &x;
}
inline D3DXVECTOR3::operator CONST FLOAT*() const {
    return &x;
}

inline D3DXVECTOR3& D3DXVECTOR3::operator+=(CONST D3DXVECTOR3& v) {
    return *this = *this + v;
}
inline D3DXVECTOR3& D3DXVECTOR3::operator-=(CONST D3DXVECTOR3& v) {
    return *this = *this - v;
}
inline D3DXVECTOR3& D3DXVECTOR3::operator*=(FLOAT f) {
    return *this = *this * f;
}
inline D3DXVECTOR3& D3DXVECTOR3::operator/=(FLOAT f) {
    return *this = *this / f;
}

inline D3DXVECTOR3 D3DXVECTOR3::operator+() const {
    return *this;
}
inline D3DXVECTOR3 D3DXVECTOR3::operator-() const {
    return D3DXVECTOR3(-x, -y, -z);
}

inline D3DXVECTOR3 D3DXVECTOR3::operator+(CONST D3DXVECTOR3& v) const {
    return D3DXVECTOR3(x + v.x, y + v.y, z + v.z);
}
inline D3DXVECTOR3 D3DXVECTOR3::operator-(CONST D3DXVECTOR3& v) const {
    return D3DXVECTOR3(x - v.x, y - v.y, z - v.z);
}
inline D3DXVECTOR3 D3DXVECTOR3::operator*(FLOAT f) const {
    return D3DXVECTOR3(x * f, y * f, z * f);
}
inline D3DXVECTOR3 D3DXVECTOR3::operator/(FLOAT f) const {
    return D3DXVECTOR3(x / f, y / f, z / f);
}

inline D3DXVECTOR3 operator*(FLOAT f, CONST D3DXVECTOR3& v) {
    return v * f;
}

inline BOOL D3DXVECTOR3::operator==(CONST D3DXVECTOR3& v) const {
    return x == v.x && y == v.y && z == v.z;
}
inline BOOL D3DXVECTOR3::operator!=(CONST D3DXVECTOR3& v) const {
    return !(*this == v);
}

// D3DXVECTOR4

inline D3DXVECTOR4::D3DXVECTOR4(CONST FLOAT* pf)
    : x(pf ? pf[0] : 0.0f), y(pf ? pf[1] : 0.0f), z(pf ? pf[2] : 0.0f), w(pf ? pf[3] : 0.0f) {}
inline D3DXVECTOR4::D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}

inline D3DXVECTOR4::operator FLOAT*() {
    return &x;
}
inline D3DXVECTOR4::operator CONST FLOAT*() const {
    return &x;
}

inline D3DXVECTOR4& D3DXVECTOR4::operator+=(CONST D3DXVECTOR4& v) {
    return *this = *this + v;
}
inline D3DXVECTOR4& D3DXVECTOR4::operator-=(CONST D3DXVECTOR4& v) {
    return *this = *this - v;
}
inline D3DXVECTOR4& D3DXVECTOR4::operator*=(FLOAT f) {
    return *this = *this * f;
}
inline D3DXVECTOR4& D3DXVECTOR4::operator/=(FLOAT f) {
    return *this = *this / f;
}

inline D3DXVECTOR4 D3DXVECTOR4::operator+() const {
    return *this;
}
inline D3DXVECTOR4 D3DXVECTOR4::operator-() const {
    return D3DXVECTOR4(-x, -y, -z, -w);
}

inline D3DXVECTOR4 D3DXVECTOR4::operator+(CONST D3DXVECTOR4& v) const {
    return D3DXVECTOR4(x + v.x, y + v.y, z + v.z, w + v.w);
}
inline D3DXVECTOR4 D3DXVECTOR4::operator-(CONST D3DXVECTOR4& v) const {
    return D3DXVECTOR4(x - v.x, y - v.y, z - v.z, w - v.w);
}
inline D3DXVECTOR4 D3DXVECTOR4::operator*(FLOAT f) const {
    return D3DXVECTOR4(x * f, y * f, z * f, w * f);
}
inline D3DXVECTOR4 D3DXVECTOR4::operator/(FLOAT f) const {
    return D3DXVECTOR4(x / f, y / f, z / f, w / f);
}

inline D3DXVECTOR4 operator*(FLOAT f, CONST D3DXVECTOR4& v) {
    return v * f;
}

inline BOOL D3DXVECTOR4::operator==(CONST D3DXVECTOR4& v) const {
    return x == v.x && y == v.y && z == v.z && w == v.w;
}
inline BOOL D3DXVECTOR4::operator!=(CONST D3DXVECTOR4& v) const {
    return !(*this == v);
}

// D3DXMATRIX

inline D3DXMATRIX::D3DXMATRIX(CONST FLOAT* pf) {
    for (int i = 0; i < 16; ++i) {
        m[i / 4][i % 4] = pf ? pf[i] : 0.0f;
    }
}
inline D3DXMATRIX::D3DXMATRIX(CONST D3DMATRIX& mat) : D3DMATRIX(mat) {}
inline D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23,
                              FLOAT f24, FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42,
                              FLOAT f43, FLOAT f44) {
    _11 = f11, _12 = f12, _13 = f13, _14 = f14;
    _21 = f21, _22 = f22, _23 = f23, _24 = f24;
    _31 = f31, _32 = f32, _33 = f33, _34 = f34;
    _41 = f41, _42 = f42, _43 = f43, _44 = f44;
}

inline FLOAT& D3DXMATRIX::operator()(UINT Row, UINT Col) {
    return m[Row][Col];
}
inline FLOAT D3DXMATRIX::operator()(UINT Row, UINT Col) const {
    return m[Row][Col];
}

inline D3DXMATRIX::operator FLOAT*() {
    return &_11;
}
inline D3DXMATRIX::operator CONST FLOAT*() const {
    return &_11;
}

inline D3DXMATRIX& D3DXMATRIX::operator*=(CONST D3DXMATRIX& mat) {
    D3DXMatrixMultiply(this, this, &mat);
    return *this;
}
inline D3DXMATRIX& D3DXMATRIX::operator+=(CONST D3DXMATRIX& mat) {
    return *this = *this + mat;
}
inline D3DXMATRIX& D3DXMATRIX::operator-=(CONST D3DXMATRIX& mat) {
    return *this = *this - mat;
}
inline D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f) {
    return *this = *this * f;
}
inline D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f) {
    return *this = *this / f;
}

inline D3DXMATRIX D3DXMATRIX::operator+() const {
    return *this;
}
inline D3DXMATRIX D3DXMATRIX::operator-() const {
    return *this * -1.0f;
}

inline D3DXMATRIX D3DXMATRIX::operator*(CONST D3DXMATRIX& mat) const {
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, this, &mat);
    return out;
}
inline D3DXMATRIX D3DXMATRIX::operator+(CONST D3DXMATRIX& mat) const {
    D3DXMATRIX out;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out.m[i][j] = m[i][j] + mat.m[i][j];
        }
    }
    return out;
}
inline D3DXMATRIX D3DXMATRIX::operator-(CONST D3DXMATRIX& mat) const {
    return *this + mat * -1.0f;
}
inline D3DXMATRIX D3DXMATRIX::operator*(FLOAT f) const {
    D3DXMATRIX out;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out.m[i][j] = m[i][j] * f;
        }
    }
    return out;
}
inline D3DXMATRIX D3DXMATRIX::operator/(FLOAT f) const {
    return *this * (1.0f / f);
}

inline D3DXMATRIX operator*(FLOAT f, CONST D3DXMATRIX& mat) {
    return mat * f;
}

inline BOOL D3DXMATRIX::operator==(CONST D3DXMATRIX& mat) const {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (m[i][j] != mat.m[i][j]) {
                return FALSE;
            }
        }
    }
    return TRUE;
}
inline BOOL D3DXMATRIX::operator!=(CONST D3DXMATRIX& mat) const {
    return !(*this == mat);
}

// D3DXQUATERNION

inline D3DXQUATERNION::D3DXQUATERNION(CONST FLOAT* pf)
    : x(pf ? pf[0] : 0.0f), y(pf ? pf[1] : 0.0f), z(pf ? pf[2] : 0.0f), w(pf ? pf[3] : 0.0f) {}
inline D3DXQUATERNION::D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}

inline D3DXQUATERNION::operator FLOAT*() {
    return &x;
}
inline D3DXQUATERNION::operator CONST FLOAT*() const {
    return &x;
}

inline D3DXQUATERNION& D3DXQUATERNION::operator+=(CONST D3DXQUATERNION& q) {
    return *this = *this + q;
}
inline D3DXQUATERNION& D3DXQUATERNION::operator-=(CONST D3DXQUATERNION& q) {
    return *this = *this - q;
}
inline D3DXQUATERNION& D3DXQUATERNION::operator*=(CONST D3DXQUATERNION& q) {
    return *this = *this * q;
}
inline D3DXQUATERNION& D3DXQUATERNION::operator*=(FLOAT f) {
    return *this = *this * f;
}
inline D3DXQUATERNION& D3DXQUATERNION::operator/=(FLOAT f) {
    return *this = *this / f;
}

inline D3DXQUATERNION D3DXQUATERNION::operator+() const {
    return *this;
}
inline D3DXQUATERNION D3DXQUATERNION::operator-() const {
    return D3DXQUATERNION(-x, -y, -z, -w);
}

inline D3DXQUATERNION D3DXQUATERNION::operator+(CONST D3DXQUATERNION& q) const {
    return D3DXQUATERNION(x + q.x, y + q.y, z + q.z, w + q.w);
}
inline D3DXQUATERNION D3DXQUATERNION::operator-(CONST D3DXQUATERNION& q) const {
    return D3DXQUATERNION(x - q.x, y - q.y, z - q.z, w - q.w);
}
inline D3DXQUATERNION D3DXQUATERNION::operator*(CONST D3DXQUATERNION& q) const {
    D3DXQUATERNION out;
    D3DXQuaternionMultiply(&out, this, &q);
    return out;
}
inline D3DXQUATERNION D3DXQUATERNION::operator*(FLOAT f) const {
    return D3DXQUATERNION(x * f, y * f, z * f, w * f);
}
inline D3DXQUATERNION D3DXQUATERNION::operator/(FLOAT f) const {
    return D3DXQUATERNION(x / f, y / f, z / f, w / f);
}

inline D3DXQUATERNION operator*(FLOAT f, CONST D3DXQUATERNION& q) {
    return q * f;
}

inline BOOL D3DXQUATERNION::operator==(CONST D3DXQUATERNION& q) const {
    return x == q.x && y == q.y && z == q.z && w == q.w;
}
inline BOOL D3DXQUATERNION::operator!=(CONST D3DXQUATERNION& q) const {
    return !(*this == q);
}

// D3DXPLANE

inline D3DXPLANE::D3DXPLANE(CONST FLOAT* pf)
    : a(pf ? pf[0] : 0.0f), b(pf ? pf[1] : 0.0f), c(pf ? pf[2] : 0.0f), d(pf ? pf[3] : 0.0f) {}
inline D3DXPLANE::D3DXPLANE(FLOAT fa, FLOAT fb, FLOAT fc, FLOAT fd) : a(fa), b(fb), c(fc), d(fd) {}

inline D3DXPLANE::operator FLOAT*() {
    return &a;
}
inline D3DXPLANE::operator CONST FLOAT*() const {
    return &a;
}

inline D3DXPLANE D3DXPLANE::operator+() const {
    return *this;
}
inline D3DXPLANE D3DXPLANE::operator-() const {
    return D3DXPLANE(-a, -b, -c, -d);
}

inline BOOL D3DXPLANE::operator==(CONST D3DXPLANE& p) const {
    return a == p.a && b == p.b && c == p.c && d == p.d;
}
inline BOOL D3DXPLANE::operator!=(CONST D3DXPLANE& p) const {
    return !(*this == p);
}

// D3DXCOLOR: D3DCOLORVALUE has the same four floats in the same order, so the casts to it are views.

inline D3DXCOLOR::D3DXCOLOR(DWORD argb) {
    CONST FLOAT step = 1.0f / 255.0f;
    r = step * static_cast<FLOAT>((argb >> 16) & 0xff);
    g = step * static_cast<FLOAT>((argb >> 8) & 0xff);
    b = step * static_cast<FLOAT>(argb & 0xff);
    a = step * static_cast<FLOAT>(argb >> 24);
}
inline D3DXCOLOR::D3DXCOLOR(CONST FLOAT* pf)
    : r(pf ? pf[0] : 0.0f), g(pf ? pf[1] : 0.0f), b(pf ? pf[2] : 0.0f), a(pf ? pf[3] : 0.0f) {}
inline D3DXCOLOR::D3DXCOLOR(CONST D3DCOLORVALUE& c) : r(c.r), g(c.g), b(c.b), a(c.a) {}
inline D3DXCOLOR::D3DXCOLOR(FLOAT fr, FLOAT fg, FLOAT fb, FLOAT fa) : r(fr), g(fg), b(fb), a(fa) {}

// Channels are clamped to 0..1 and rounded to the nearest of the 256 steps.
inline D3DXCOLOR::operator DWORD() const {
    auto channel = [](FLOAT f) -> DWORD {
        return f >= 1.0f ? 0xffu : f <= 0.0f ? 0x00u : static_cast<DWORD>(f * 255.0f + 0.5f);
    };
    return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

inline D3DXCOLOR::operator FLOAT*() {
    return &r;
}
inline D3DXCOLOR::operator CONST FLOAT*() const {
    return &r;
}

inline D3DXCOLOR::operator D3DCOLORVALUE*() {
    return reinterpret_cast<D3DCOLORVALUE*>(&r);
}
inline D3DXCOLOR::operator CONST D3DCOLORVALUE*() const {
    return reinterpret_cast<CONST D3DCOLORVALUE*>(&r);
}

inline D3DXCOLOR::operator D3DCOLORVALUE&() {
    return *reinterpret_cast<D3DCOLORVALUE*>(&r);
}
inline D3DXCOLOR::operator CONST D3DCOLORVALUE&() const {
    return *reinterpret_cast<CONST D3DCOLORVALUE*>(&r);
}

inline D3DXCOLOR& D3DXCOLOR::operator+=(CONST D3DXCOLOR& c) {
    return *this = *this + c;
}
inline D3DXCOLOR& D3DXCOLOR::operator-=(CONST D3DXCOLOR& c) {
    return *this = *this - c;
}
inline D3DXCOLOR& D3DXCOLOR::operator*=(FLOAT f) {
    return *this = *this * f;
}
inline D3DXCOLOR& D3DXCOLOR::operator/=(FLOAT f) {
    return *this = *this / f;
}

inline D3DXCOLOR D3DXCOLOR::operator+() const {
    return *this;
}
inline D3DXCOLOR D3DXCOLOR::operator-() const {
    return D3DXCOLOR(-r, -g, -b, -a);
}

inline D3DXCOLOR D3DXCOLOR::operator+(CONST D3DXCOLOR& c) const {
    return D3DXCOLOR(r + c.r, g + c.g, b + c.b, a + c.a);
}
inline D3DXCOLOR D3DXCOLOR::operator-(CONST D3DXCOLOR& c) const {
    return D3DXCOLOR(r - c.r, g - c.g, b - c.b, a - c.a);
}
inline D3DXCOLOR D3DXCOLOR::operator*(FLOAT f) const {
    return D3DXCOLOR(r * f, g * f, b * f, a * f);
}
inline D3DXCOLOR D3DXCOLOR::operator/(FLOAT f) const {
    return D3DXCOLOR(r / f, g / f, b / f, a / f);
}

inline D3DXCOLOR operator*(FLOAT f, CONST D3DXCOLOR& c) {
    return c * f;
}

inline BOOL D3DXCOLOR::operator==(CONST D3DXCOLOR& c) const {
    return r == c.r && g == c.g && b == c.b && a == c.a;
}
inline BOOL D3DXCOLOR::operator!=(CONST D3DXCOLOR& c) const {
    return !(*this == c);
}

// Vector helpers. Each returns pOut, or NULL (0 for scalars) when a pointer argument is NULL.

inline FLOAT D3DXVec2Length(CONST D3DXVECTOR2* pV) {
    return pV ? std::sqrt(pV->x * pV->x + pV->y * pV->y) : 0.0f;
}
inline FLOAT D3DXVec2LengthSq(CONST D3DXVECTOR2* pV) {
    return pV ? pV->x * pV->x + pV->y * pV->y : 0.0f;
}
inline FLOAT D3DXVec2Dot(CONST D3DXVECTOR2* pV1, CONST D3DXVECTOR2* pV2) {
    return pV1 && pV2 ? pV1->x * pV2->x + pV1->y * pV2->y : 0.0f;
}
inline D3DXVECTOR2* D3DXVec2Add(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV1, CONST D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 + *pV2;
    return pOut;
}
inline D3DXVECTOR2* D3DXVec2Subtract(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV1, CONST D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 - *pV2;
    return pOut;
}
inline D3DXVECTOR2* D3DXVec2Minimize(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV1, CONST D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = D3DXVECTOR2(pV1->x < pV2->x ? pV1->x : pV2->x, pV1->y < pV2->y ? pV1->y : pV2->y);
    return pOut;
}
inline D3DXVECTOR2* D3DXVec2Maximize(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV1, CONST D3DXVECTOR2* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = D3DXVECTOR2(pV1->x > pV2->x ? pV1->x : pV2->x, pV1->y > pV2->y ? pV1->y : pV2->y);
    return pOut;
}
inline D3DXVECTOR2* D3DXVec2Scale(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV, FLOAT s) {
    if (!pOut || !pV) {
        return nullptr;
    }
    *pOut = *pV * s;
    return pOut;
}
// pV1 + s * (pV2 - pV1)
inline D3DXVECTOR2* D3DXVec2Lerp(D3DXVECTOR2* pOut, CONST D3DXVECTOR2* pV1, CONST D3DXVECTOR2* pV2, FLOAT s) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 + (*pV2 - *pV1) * s;
    return pOut;
}

inline FLOAT D3DXVec3Length(CONST D3DXVECTOR3* pV) {
    return pV ? std::sqrt(pV->x * pV->x + pV->y * pV->y + pV->z * pV->z) : 0.0f;
}
inline FLOAT D3DXVec3LengthSq(CONST D3DXVECTOR3* pV) {
    return pV ? pV->x * pV->x + pV->y * pV->y + pV->z * pV->z : 0.0f;
}
inline FLOAT D3DXVec3Dot(CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2) {
    return pV1 && pV2 ? pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z : 0.0f;
}
inline D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = D3DXVECTOR3(pV1->y * pV2->z - pV1->z * pV2->y, pV1->z * pV2->x - pV1->x * pV2->z,
                        pV1->x * pV2->y - pV1->y * pV2->x);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 + *pV2;
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 - *pV2;
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Minimize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = D3DXVECTOR3(pV1->x < pV2->x ? pV1->x : pV2->x, pV1->y < pV2->y ? pV1->y : pV2->y,
                        pV1->z < pV2->z ? pV1->z : pV2->z);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Maximize(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = D3DXVECTOR3(pV1->x > pV2->x ? pV1->x : pV2->x, pV1->y > pV2->y ? pV1->y : pV2->y,
                        pV1->z > pV2->z ? pV1->z : pV2->z);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, FLOAT s) {
    if (!pOut || !pV) {
        return nullptr;
    }
    *pOut = *pV * s;
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV1, CONST D3DXVECTOR3* pV2, FLOAT s) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 + (*pV2 - *pV1) * s;
    return pOut;
}

inline FLOAT D3DXVec4Length(CONST D3DXVECTOR4* pV) {
    return pV ? std::sqrt(pV->x * pV->x + pV->y * pV->y + pV->z * pV->z + pV->w * pV->w) : 0.0f;
}
inline FLOAT D3DXVec4LengthSq(CONST D3DXVECTOR4* pV) {
    return pV ? pV->x * pV->x + pV->y * pV->y + pV->z * pV->z + pV->w * pV->w : 0.0f;
}
inline FLOAT D3DXVec4Dot(CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2) {
    return pV1 && pV2 ? pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z + pV1->w * pV2->w : 0.0f;
}
inline D3DXVECTOR4* D3DXVec4Add(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 + *pV2;
    return pOut;
}
inline D3DXVECTOR4* D3DXVec4Subtract(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 - *pV2;
    return pOut;
}
inline D3DXVECTOR4* D3DXVec4Minimize(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = D3DXVECTOR4(pV1->x < pV2->x ? pV1->x : pV2->x, pV1->y < pV2->y ? pV1->y : pV2->y,
                        pV1->z < pV2->z ? pV1->z : pV2->z, pV1->w < pV2->w ? pV1->w : pV2->w);
    return pOut;
}
inline D3DXVECTOR4* D3DXVec4Maximize(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = D3DXVECTOR4(pV1->x > pV2->x ? pV1->x : pV2->x, pV1->y > pV2->y ? pV1->y : pV2->y,
                        pV1->z > pV2->z ? pV1->z : pV2->z, pV1->w > pV2->w ? pV1->w : pV2->w);
    return pOut;
}
inline D3DXVECTOR4* D3DXVec4Scale(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV, FLOAT s) {
    if (!pOut || !pV) {
        return nullptr;
    }
    *pOut = *pV * s;
    return pOut;
}
inline D3DXVECTOR4* D3DXVec4Lerp(D3DXVECTOR4* pOut, CONST D3DXVECTOR4* pV1, CONST D3DXVECTOR4* pV2, FLOAT s) {
    if (!pOut || !pV1 || !pV2) {
        return nullptr;
    }
    *pOut = *pV1 + (*pV2 - *pV1) * s;
    return pOut;
}

// Matrix, plane and quaternion helpers.

inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    if (!pOut) {
        return nullptr;
    }
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f);
    return pOut;
}
// Exact comparison, as the library does.
inline BOOL D3DXMatrixIsIdentity(CONST D3DXMATRIX* pM) {
    D3DXMATRIX identity;
    return pM && *pM == *D3DXMatrixIdentity(&identity);
}

inline FLOAT D3DXPlaneDot(CONST D3DXPLANE* pP, CONST D3DXVECTOR4* pV) {
    return pP && pV ? pP->a * pV->x + pP->b * pV->y + pP->c * pV->z + pP->d * pV->w : 0.0f;
}
// The point (x, y, z, 1) against the plane: its signed distance when the plane is normalised.
inline FLOAT D3DXPlaneDotCoord(CONST D3DXPLANE* pP, CONST D3DXVECTOR3* pV) {
    return pP && pV ? pP->a * pV->x + pP->b * pV->y + pP->c * pV->z + pP->d : 0.0f;
}
// The direction (x, y, z, 0) against the plane.
inline FLOAT D3DXPlaneDotNormal(CONST D3DXPLANE* pP, CONST D3DXVECTOR3* pV) {
    return pP && pV ? pP->a * pV->x + pP->b * pV->y + pP->c * pV->z : 0.0f;
}

inline D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* pOut) {
    if (!pOut) {
        return nullptr;
    }
    *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

#endif
