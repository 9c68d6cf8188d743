#include "device/fixed_function/vertex_lighting.h"

#include <algorithm>
#include <cmath>

namespace platform::device {
namespace {

struct Vec3 {
    float x, y, z;
};

Vec3 Xyz(const Float4& v) {
    return {v.x, v.y, v.z};
}
Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
Vec3 operator*(Vec3 a, Vec3 b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z};
}
float Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
float Length(Vec3 v) {
    return std::sqrt(Dot(v, v));
}
Vec3 Normalise(Vec3 v) {
    const float length = Length(v);
    return length > 0.0f ? v * (1.0f / length) : v;
}

// A row vector times the upper 3x3 of a row-major matrix.
Vec3 TransformNormal(Vec3 n, const D3DMATRIX& m) {
    return {n.x * m._11 + n.y * m._21 + n.z * m._31, n.x * m._12 + n.y * m._22 + n.z * m._32,
            n.x * m._13 + n.y * m._23 + n.z * m._33};
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
    Vec3 ambient{}, diffuse{}, specular{};
};

void AddLight(const VertexProgramKey& key, const FixedVertexBlock& block, LightKind kind,
              const FixedLight& light, Vec3 view, Vec3 normal, LightSums* sums) {
    Vec3 toLight = Xyz(light.direction);
    float attenuation = 1.0f;
    if (kind != LightKind::kDirectional) {
        const Vec3 offset = Xyz(light.position) - view;
        const float distance = Length(offset);
        toLight = distance > 0.0f ? offset * (1.0f / distance) : Vec3{};
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
    const Vec3 toViewer = key.localViewer ? Normalise(view * -1.0f) : Vec3{0.0f, 0.0f, -1.0f};
    const Vec3 halfway = Normalise(toViewer + toLight);
    const float highlight = std::pow(std::max(Dot(normal, halfway), 0.0f), block.materialPower.x);
    sums->specular = sums->specular + Xyz(light.specular) * (attenuation * highlight);
}

} // namespace

void LightVertex(const VertexProgramKey& key, const FixedVertexBlock& block, const LitVertex& vertex,
                 Float4* diffuse, Float4* specular) {
    Vec3 normal = key.normal ? TransformNormal(Xyz(vertex.normal), block.normalMatrix) : Vec3{};
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
                     Xyz(ambientMaterial) * (Xyz(block.globalAmbient) + sums.ambient) +
                     Xyz(diffuseMaterial) * sums.diffuse;
    *diffuse = Float4{Clamp(lit.x), Clamp(lit.y), Clamp(lit.z), Clamp(diffuseMaterial.w)};
    const Vec3 shine = Xyz(specularMaterial) * sums.specular;
    *specular = key.specularEnable
                    ? Float4{Clamp(shine.x), Clamp(shine.y), Clamp(shine.z), Clamp(specularMaterial.w)}
                    : Float4{};
}

} // namespace platform::device
