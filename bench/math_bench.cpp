// The matrix operations that run per object and per view each frame.
#include <d3dx9math.h>

#include <benchmark/benchmark.h>

namespace {

D3DXMATRIX worldMatrix() {
    D3DXMATRIX s, r, t;
    D3DXMatrixScaling(&s, 2, 1, 0.5f);
    D3DXMatrixRotationYawPitchRoll(&r, 0.4f, -1.2f, 2.5f);
    D3DXMatrixTranslation(&t, 10, -20, 30);
    return s * r * t;
}

void BM_MatrixMultiply(benchmark::State& state) {
    const D3DXMATRIX a = worldMatrix(), b = worldMatrix();
    D3DXMATRIX out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(D3DXMatrixMultiply(&out, &a, &b));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MatrixMultiply);

void BM_MatrixInverse(benchmark::State& state) {
    const D3DXMATRIX m = worldMatrix();
    D3DXMATRIX out;
    FLOAT det;
    for (auto _ : state) {
        benchmark::DoNotOptimize(D3DXMatrixInverse(&out, &det, &m));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MatrixInverse);

} // namespace
