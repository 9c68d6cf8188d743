// The fixed-function vertex stage: transformation, Direct3D 9's lighting model (camera space, the
// material-source rules) and texture coordinate selection, generation and transformation.
#include "device/fixed_function/glsl_generator.h"

#include "device/fixed_function/uniform_blocks.h"
#include "device/shader_interface.h"

#include <d3d9types.h>

namespace platform::device {
namespace {

const char* kVertexBlockGlsl = R"(
struct Vtr3Light {
    vec4 diffuse;
    vec4 specular;
    vec4 ambient;
    vec4 position;
    vec4 direction;
    vec4 attenuation;
    vec4 spot;
};
layout(std140, row_major, binding = 14) uniform Vtr3FixedVertex {
    mat4 worldViewProjection;
    mat4 worldView;
    mat4 normalMatrix;
    mat4 textureMatrix[8];
    vec4 viewport;
    vec4 depthRange;
    vec4 materialDiffuse;
    vec4 materialAmbient;
    vec4 materialSpecular;
    vec4 materialEmissive;
    vec4 materialPower;
    vec4 globalAmbient;
    Vtr3Light lights[8];
    vec4 fog;
} ff;
)";

std::string Num(int value) {
    return std::to_string(value);
}

// The material colour a lighting term uses, by D3DMCS_* source.
std::string MaterialColor(std::uint8_t source, const char* material) {
    if (source == D3DMCS_COLOR1)
        return "vertexDiffuse";
    if (source == D3DMCS_COLOR2)
        return "vertexSpecular";
    return std::string("ff.") + material;
}

void AppendInputs(const VertexProgramKey& key, std::string* s) {
    *s += "layout(location = " + Num(kAttributePosition) + ") in vec4 inPosition;\n";
    if (key.normal)
        *s += "layout(location = " + Num(kAttributeNormal) + ") in vec3 inNormal;\n";
    if (key.diffuse)
        *s += "layout(location = " + Num(kAttributeColor0) + ") in vec4 inDiffuse;\n";
    if (key.specular)
        *s += "layout(location = " + Num(kAttributeColor1) + ") in vec4 inSpecular;\n";
    for (int i = 0; i < key.texCoordCount; ++i)
        *s += "layout(location = " + Num(kAttributeTexCoord0 + i) + ") in vec4 inTexCoord" + Num(i) + ";\n";
}

void AppendOutputs(const VertexProgramKey& key, std::string* s) {
    const char* interpolation = key.flatShading ? "flat " : "";
    *s += "layout(location = " + Num(kVaryingColor0) + ") " + interpolation + "out vec4 vtr3_Color0;\n";
    *s += "layout(location = " + Num(kVaryingColor1) + ") " + interpolation + "out vec4 vtr3_Color1;\n";
    for (unsigned i = 0; i < kFixedStages; ++i)
        *s += "layout(location = " + Num(kVaryingTexCoord0 + static_cast<int>(i)) +
              ") out vec4 vtr3_TexCoord" + Num(static_cast<int>(i)) + ";\n";
    *s += "layout(location = " + Num(kVaryingFog) + ") out vec4 vtr3_Fog;\n";
}

// The fog factor: vertex fog by camera-space depth or, with range fog, distance; otherwise the
// specular alpha, as Direct3D takes it when neither vertex nor table fog is set.
void AppendFog(const VertexProgramKey& key, std::string* s) {
    if (key.fogMode == D3DFOG_NONE) {
        *s += "    vtr3_Fog = vec4(vtr3_Color1.a, 0.0, 0.0, 1.0);\n";
        return;
    }
    const char* distance = key.rangeFog ? "length(viewPosition.xyz)" : "viewPosition.z";
    *s += "    vtr3_Fog = vec4(vtr3_FogFactor(" + Num(key.fogMode) + ", " + distance +
          ", ff.fog.xyz), 0.0, 0.0, 1.0);\n";
}

void AppendPosition(const VertexProgramKey& key, std::string* s) {
    switch (key.position) {
    case PositionKind::kXyzRhw:
        // Screen pixels to clip space through the viewport; w = 1 / rhw keeps interpolation
        // perspective-correct as Direct3D's is.
        *s += "    float w = inPosition.w != 0.0 ? 1.0 / inPosition.w : 1.0;\n"
              "    vec2 ndc = vec2((inPosition.x - ff.viewport.x) * ff.viewport.z - 1.0,\n"
              "                    1.0 - (inPosition.y - ff.viewport.y) * ff.viewport.w);\n"
              "    float z = (inPosition.z - ff.depthRange.x) * ff.depthRange.y;\n"
              "    vec4 clipPosition = vec4(ndc * w, z * w, w);\n"
              "    vec4 viewPosition = vec4(0.0);\n";
        break;
    case PositionKind::kXyzw:
        *s += "    vec4 modelPosition = inPosition;\n";
        break;
    default:
        *s += "    vec4 modelPosition = vec4(inPosition.xyz, 1.0);\n";
        break;
    }
    if (key.position != PositionKind::kXyzRhw)
        *s += "    vec4 clipPosition = modelPosition * ff.worldViewProjection;\n"
              "    vec4 viewPosition = modelPosition * ff.worldView;\n";
    *s += key.normal ? "    vec3 normal = (vec4(inNormal, 0.0) * ff.normalMatrix).xyz;\n"
                     : "    vec3 normal = vec3(0.0);\n";
}

void AppendLight(const VertexProgramKey& key, int index, std::string* s) {
    const std::string light = "ff.lights[" + Num(index) + "]";
    *s += "    {\n";
    if (key.lights[index] == LightKind::kDirectional) {
        *s += "        vec3 toLight = " + light + ".direction.xyz;\n        float attenuation = 1.0;\n";
    } else {
        *s += "        vec3 offset = " + light +
              ".position.xyz - viewPosition.xyz;\n"
              "        float distance = length(offset);\n"
              "        vec3 toLight = distance > 0.0 ? offset / distance : vec3(0.0);\n"
              "        vec4 k = " +
              light +
              ".attenuation;\n"
              "        float attenuation = distance > " +
              light +
              ".position.w ? 0.0\n"
              "            : 1.0 / max(k.x + k.y * distance + k.z * distance * distance, 1e-20);\n";
        if (key.lights[index] == LightKind::kSpot) {
            *s += "        float rho = dot(-toLight, " + light +
                  ".direction.xyz);\n"
                  "        vec4 cone = " +
                  light +
                  ".spot;\n"
                  "        float spot = rho > cone.x ? 1.0 : rho <= cone.y ? 0.0\n"
                  "            : pow(max((rho - cone.y) / max(cone.x - cone.y, 1e-20), 0.0), k.w);\n"
                  "        attenuation *= spot;\n";
        }
    }
    *s += "        ambient += attenuation * " + light +
          ".ambient.rgb;\n"
          "        float lambert = max(dot(normal, toLight), 0.0);\n"
          "        diffuse += attenuation * lambert * " +
          light + ".diffuse.rgb;\n";
    if (key.specularEnable) {
        // Without the local viewer the viewer is at infinity on the camera's axis: the direction
        // toward it is -z, for the camera looks along +z.
        *s += key.localViewer ? "        vec3 halfway = normalize(normalize(-viewPosition.xyz) + toLight);\n"
                              : "        vec3 halfway = normalize(vec3(0.0, 0.0, -1.0) + toLight);\n";
        *s += "        float facing = lambert > 0.0 ? 1.0 : 0.0;\n"
              "        specular += attenuation * facing * pow(max(dot(normal, halfway), 0.0), "
              "ff.materialPower.x) * " +
              light + ".specular.rgb;\n";
    }
    *s += "    }\n";
}

void AppendColors(const VertexProgramKey& key, std::string* s) {
    *s += key.diffuse ? "    vec4 vertexDiffuse = inDiffuse;\n" : "    vec4 vertexDiffuse = vec4(1.0);\n";
    *s += key.specular ? "    vec4 vertexSpecular = inSpecular;\n" : "    vec4 vertexSpecular = vec4(0.0);\n";
    if (!key.lighting) {
        *s += "    vtr3_Color0 = clamp(vertexDiffuse, 0.0, 1.0);\n"
              "    vtr3_Color1 = clamp(vertexSpecular, 0.0, 1.0);\n";
        return;
    }
    if (key.normalizeNormals)
        *s += "    normal = length(normal) > 0.0 ? normalize(normal) : normal;\n";
    *s += "    vec3 ambient = vec3(0.0);\n    vec3 diffuse = vec3(0.0);\n    vec3 specular = vec3(0.0);\n";
    for (int i = 0; i < key.lightCount; ++i)
        AppendLight(key, i, s);
    const std::string diffuseMaterial = MaterialColor(key.diffuseSource, "materialDiffuse");
    const std::string ambientMaterial = MaterialColor(key.ambientSource, "materialAmbient");
    const std::string specularMaterial = MaterialColor(key.specularSource, "materialSpecular");
    const std::string emissiveMaterial = MaterialColor(key.emissiveSource, "materialEmissive");
    *s += "    vec3 lit = " + emissiveMaterial + ".rgb + " + ambientMaterial +
          ".rgb * (ff.globalAmbient.rgb + ambient) + " + diffuseMaterial +
          ".rgb * diffuse;\n"
          "    vtr3_Color0 = clamp(vec4(lit, " +
          diffuseMaterial + ".a), 0.0, 1.0);\n";
    if (key.specularEnable)
        *s += "    vtr3_Color1 = clamp(vec4(" + specularMaterial + ".rgb * specular, " + specularMaterial +
              ".a), 0.0, 1.0);\n";
    else
        *s += "    vtr3_Color1 = vec4(0.0);\n";
}

// The coordinates of one stage: a vertex set or a generated vector, then the texture transform.
void AppendTexCoord(const VertexProgramKey& key, unsigned stage, std::string* s) {
    const std::string out = "vtr3_TexCoord" + Num(static_cast<int>(stage));
    const int set = key.texSet[stage];
    int size = 0; // components the source has, for the transform's padding
    std::string source;
    switch (key.texGen[stage] << 16) {
    case D3DTSS_TCI_CAMERASPACENORMAL:
        source = "vec4(normalize(normal), 1.0)";
        size = 3;
        break;
    case D3DTSS_TCI_CAMERASPACEPOSITION:
        source = "vec4(viewPosition.xyz, 1.0)";
        size = 3;
        break;
    case D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR:
        source = "vec4(reflect(normalize(viewPosition.xyz), normalize(normal)), 1.0)";
        size = 3;
        break;
    default:
        if (set < key.texCoordCount) {
            source = "inTexCoord" + Num(set);
            size = key.texCoordSize[set];
        } else {
            source = "vec4(0.0, 0.0, 0.0, 1.0)";
            size = 4;
        }
        break;
    }
    if (key.texTransformCount[stage] == 0) {
        *s += "    " + out + " = " + source + ";\n";
        return;
    }
    // The transform sees the coordinates with a 1 after the last one it has and zeros beyond, so a
    // two-component set is translated by the matrix's third row.
    const char* pad[5] = {"vec4(1.0, 0.0, 0.0, 0.0)", "vec4(t.x, 1.0, 0.0, 0.0)", "vec4(t.xy, 1.0, 0.0)",
                          "vec4(t.xyz, 1.0)", "t"};
    *s += "    {\n        vec4 t = " + source + ";\n        " + out + " = " + pad[size] +
          " * ff.textureMatrix[" + Num(static_cast<int>(stage)) + "];\n    }\n";
}

} // namespace

std::string GenerateVertexGlsl(const VertexProgramKey& key) {
    std::string s = "#version 450\n";
    s += kVertexEpilogueGlsl;
    s += kVertexBlockGlsl;
    s += kFogFactorGlsl;
    AppendInputs(key, &s);
    AppendOutputs(key, &s);
    s += "void main() {\n";
    AppendPosition(key, &s);
    AppendColors(key, &s);
    AppendFog(key, &s);
    for (unsigned stage = 0; stage < kFixedStages; ++stage)
        AppendTexCoord(key, stage, &s);
    s += "    vtr3_EmitPosition(clipPosition);\n}\n";
    return s;
}

} // namespace platform::device
