#include "engine_scene.h"

#include <cmath>

#include "engine_view.h"

namespace host {
namespace {

constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 10000.0f;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// An engine vector (x, y, z up) in Direct3D's axis order (x, z, y).
D3DXVECTOR3 ToDirect3D(double x, double y, double z) {
    return D3DXVECTOR3(static_cast<float>(x), static_cast<float>(z), static_cast<float>(y));
}

double Word(const a6::View& view, int word) {
    return a6::VarToDouble(view.word[word]);
}

} // namespace

EngineScene::~EngineScene() {
    for (const Placed& placed : meshes_) {
        placed.mesh->Release();
    }
}

ID3DXMesh* EngineScene::AddMesh(IDirect3DDevice9* device, const std::string& shape, float size,
                                const a6::Vector& position, std::string* error) {
    if (!(size > 0)) {
        *error = "a mesh needs a positive size";
        return nullptr;
    }
    ID3DXMesh* mesh = nullptr;
    HRESULT result = E_FAIL;
    if (shape == "box") {
        result = D3DXCreateBox(device, size, size, size, &mesh, nullptr);
    } else if (shape == "sphere") {
        result = D3DXCreateSphere(device, size, 24, 12, &mesh, nullptr);
    } else {
        *error = "unknown shape '" + shape + "' (box or sphere)";
        return nullptr;
    }
    if (FAILED(result) || !mesh) {
        *error = "the engine could not create the " + shape;
        return nullptr;
    }
    Placed placed{mesh, {}, D3DCOLORVALUE{0.8f, 0.8f, 0.75f, 1.0f}};
    const D3DXVECTOR3 at =
        ToDirect3D(a6::VarToDouble(position.x), a6::VarToDouble(position.y), a6::VarToDouble(position.z));
    D3DXMatrixTranslation(&placed.world, at.x, at.y, at.z);
    meshes_.push_back(placed);
    return mesh;
}

bool EngineScene::SetMeshColor(const ID3DXMesh* mesh, D3DCOLOR color) {
    for (Placed& placed : meshes_) {
        if (placed.mesh == mesh) {
            placed.diffuse = D3DCOLORVALUE{((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                                           (color & 0xFF) / 255.0f, 1.0f};
            return true;
        }
    }
    return false;
}

HRESULT EngineScene::ClearBeforeView(IDirect3DDevice9* device) const {
    return clearTarget_ ? D3D_OK : device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

HRESULT EngineScene::Draw(IDirect3DDevice9* device, const D3DXMATRIX& view,
                          const D3DXMATRIX& projection) const {
    HRESULT result = clearTarget_
                         ? device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColor_, 1.0f, 0)
                         : D3D_OK;
    if (SUCCEEDED(result)) {
        result = DrawMeshes(device, view, projection);
    }
    // The engine draws its level with filtered, mip-mapped textures and leaves stage 0 so; whatever
    // is drawn with stage 0 after it (the plug-in's sky among them) is filtered the same way.
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    return result;
}

HRESULT EngineScene::DrawMeshes(IDirect3DDevice9* device, const D3DXMATRIX& view,
                                const D3DXMATRIX& projection) const {
    if (meshes_.empty()) {
        return D3D_OK;
    }
    // The states the engine's drawing relies on; the plug-in's effects may have left others.
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_AMBIENT, D3DCOLOR_XRGB(64, 64, 64));
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    light.Direction = D3DXVECTOR3(0.4f, -0.8f, 0.45f);
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    for (const Placed& placed : meshes_) {
        D3DMATERIAL9 material{};
        material.Diffuse = placed.diffuse;
        material.Ambient = placed.diffuse;
        device->SetMaterial(&material);
        device->SetTransform(D3DTS_WORLD, &placed.world);
        HRESULT result = placed.mesh->DrawSubset(0);
        if (FAILED(result)) {
            return result;
        }
    }
    return D3D_OK;
}

void EngineViewMatrices(const a6::View& view, int width, int height, D3DXMATRIX* viewMatrix,
                        D3DXMATRIX* projection) {
    const double pan = Word(view, a6::kViewPan) * kRadiansPerDegree;
    const double tilt = Word(view, a6::kViewTilt) * kRadiansPerDegree;
    const double roll = Word(view, a6::kViewRoll) * kRadiansPerDegree;
    const D3DXVECTOR3 eye =
        ToDirect3D(Word(view, a6::kViewX), Word(view, a6::kViewY), Word(view, a6::kViewZ));
    const D3DXVECTOR3 forward =
        ToDirect3D(std::cos(tilt) * std::cos(pan), std::cos(tilt) * std::sin(pan), std::sin(tilt));
    const D3DXVECTOR3 up =
        ToDirect3D(-std::sin(tilt) * std::cos(pan), -std::sin(tilt) * std::sin(pan), std::cos(tilt));
    // Roll turns the up vector about the line of sight.
    const D3DXVECTOR3 side(forward.y * up.z - forward.z * up.y, forward.z * up.x - forward.x * up.z,
                           forward.x * up.y - forward.y * up.x);
    const D3DXVECTOR3 rolled =
        up * static_cast<float>(std::cos(roll)) + side * static_cast<float>(std::sin(roll));
    const D3DXVECTOR3 at = eye + forward;
    D3DXMatrixLookAtLH(viewMatrix, &eye, &at, &rolled);

    const double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    double arc = Word(view, a6::kViewArc);
    arc = arc > 0 && arc < 180 ? arc : kDefaultViewArc;
    const double fovY = 2.0 * std::atan(std::tan(arc * kRadiansPerDegree / 2.0) / aspect);
    D3DXMatrixPerspectiveFovLH(projection, static_cast<float>(fovY), static_cast<float>(aspect), kNearPlane,
                               kFarPlane);
}

} // namespace host
