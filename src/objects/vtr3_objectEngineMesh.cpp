#include "objects/vtr3_objectEngineMesh.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"
#include "objects/vtr3_engineScene.h"

// An engine without a mesh gets the label row and nothing drawn.
void c_VTR3ObjectEngineMesh::Render() {
    m_engineMesh = VTR3EngineMesh();
    if (m_engineMesh && g_device) {
        g_device->SetFVF(m_engineMesh->GetFVF());
    }
    g_debugSystem.LogLabel("Master", "Master");
    if (!m_engineMesh || !g_device) {
        return;
    }
    const D3DXMATRIX world = VTR3EngineMatrix(a6::kOffsetWorldMatrix);
    g_device->SetTransform(D3DTS_WORLD, &world);
    m_engineMesh->DrawSubset(0);
}
