#include "device/fixed_function/vertex_lighting.h"

#include <d3dx9math.h>

#include <algorithm>
#include <cmath>

namespace platform::device {
namespace {

using Vec3 = D3DXVECTOR3;

Vec3 Xyz(const Float4& v) {
    return {v.x, v.y, v.z};
}
// Colours multiply channel by channel.
Vec3 Modulate(const Vec3& a, const Vec3& b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z};
}
float Dot(const Vec3& a, const Vec3& b) {
    return D3DXVec3Dot(&a, &b);
}
// A zero vector stays zero.
Vec3 Normalise(const Vec3& v) {
    Vec3 out;
    D3DXVec3Normalize(&out, &v);
    return out;
}

const Float4& MaterialColor(std::uint8_t source, const LitVertex& vertex, const Float4& material) {
    if (source == D3DMCS_COLOR1)
        return vertex.diffuse;
    if (source == D3DMCS_COLOR2)
        return vertex.specular;
    return material;
}

float Clamp(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

struct LightSums {
    Vec3 ambient{0.0f, 0.0f, 0.0f}, diffuse{0.0f, 0.0f, 0.0f}, specular{0.0f, 0.0f, 0.0f};
};

void AddLight(const VertexProgramKey& key, const FixedVertexBlock& block, LightKind kind,
              const FixedLight& light, const Vec3& view, const Vec3& normal, LightSums* sums) {
    Vec3 toLight = Xyz(light.direction);
    float attenuation = 1.0f;
    if (kind != LightKind::kDirectional) {
        const Vec3 offset = Xyz(light.position) - view;
        const float distance = D3DXVec3Length(&offset);
        toLight = distance > 0.0f ? offset * (1.0f / distance) : Vec3{0.0f, 0.0f, 0.0f};
        const Float4& k = light.attenuation;
        attenuation = distance > light.position.w
                          ? 0.0f
                          : 1.0f / std::max(k.x + k.y * distance + k.z * distance * distance, 1e-20f);
        if (kind == LightKind::kSpot) {
            const float rho = -Dot(toLight, Xyz(light.direction));
            const Float4& cone = light.spot;
            attenuation *=
                rho > cone.x ? 1.0f
                : rho <= cone.y
                    ? 0.0f
                    : std::pow(std::max((rho - cone.y) / std::max(cone.x - cone.y, 1e-20f), 0.0f), k.w);
        }
    }
    sums->ambient = sums->ambient + Xyz(light.ambient) * attenuation;
    const float lambert = std::max(Dot(normal, toLight), 0.0f);
    sums->diffuse = sums->diffuse + Xyz(light.diffuse) * (attenuation * lambert);
    if (!key.specularEnable || lambert <= 0.0f)
        return;
    // Without the local viewer the viewer is at infinity on the camera's axis.
    const Vec3 toViewer = key.localViewer ? Normalise(-view) : Vec3{0.0f, 0.0f, -1.0f};
    const Vec3 halfway = Normalise(toViewer + toLight);
    const float highlight = std::pow(std::max(Dot(normal, halfway), 0.0f), block.materialPower.x);
    sums->specular = sums->specular + Xyz(light.specular) * (attenuation * highlight);
}

} // namespace

void LightVertex(const VertexProgramKey& key, const FixedVertexBlock& block, const LitVertex& vertex,
                 Float4* diffuse, Float4* specular) {
    Vec3 normal{0.0f, 0.0f, 0.0f};
    if (key.normal) {
        const Vec3 model = Xyz(vertex.normal);
        D3DXVec3TransformNormal(&normal, &model, static_cast<const D3DXMATRIX*>(&block.normalMatrix));
    }
    if (key.normalizeNormals)
        normal = Normalise(normal);
    LightSums sums;
    for (unsigned i = 0; i < key.lightCount; ++i)
        AddLight(key, block, key.lights[i], block.lights[i], Xyz(vertex.viewPosition), normal, &sums);
    const Float4& diffuseMaterial = MaterialColor(key.diffuseSource, vertex, block.materialDiffuse);
    const Float4& ambientMaterial = MaterialColor(key.ambientSource, vertex, block.materialAmbient);
    const Float4& specularMaterial = MaterialColor(key.specularSource, vertex, block.materialSpecular);
    const Float4& emissiveMaterial = MaterialColor(key.emissiveSource, vertex, block.materialEmissive);
    const Vec3 lit = Xyz(emissiveMaterial) +
                     Modulate(Xyz(ambientMaterial), Xyz(block.globalAmbient) + sums.ambient) +
                     Modulate(Xyz(diffuseMaterial), sums.diffuse);
    *diffuse = Float4{Clamp(lit.x), Clamp(lit.y), Clamp(lit.z), Clamp(diffuseMaterial.w)};
    const Vec3 shine = Modulate(Xyz(specularMaterial), sums.specular);
    *specular = key.specularEnable
                    ? Float4{Clamp(shine.x), Clamp(shine.y), Clamp(shine.z), Clamp(specularMaterial.w)}
                    : Float4{};
}

} // namespace platform::device
