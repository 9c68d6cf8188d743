#include "objects/vtr3_engineScene.h"

#include <string.h>

#include "frame/vtr3_globals.h"

D3DXMATRIX VTR3EngineMatrix(a6::BlockOffset offset) {
    const float* source = g_engine ? reinterpret_cast<const float*>(a6::BlockField(g_engine, offset)) : NULL;
    D3DXMATRIX matrix;
    if (source) {
        memcpy(static_cast<float*>(matrix), source, sizeof(float) * 16);
    } else {
        D3DXMatrixIdentity(&matrix);
    }
    return matrix;
}

ID3DXMesh* VTR3EngineMesh() {
    return g_engine ? reinterpret_cast<ID3DXMesh*>(a6::BlockField(g_engine, a6::kOffsetMesh)) : NULL;
}
