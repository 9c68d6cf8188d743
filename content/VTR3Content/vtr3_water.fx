// Water surface for the plug-in's water object. The scene under the surface comes in on texture
// stage 0 (refraction), the scene mirrored at the surface on stage 1 (reflection); both are projected
// onto the square through the object's constant texture matrices and shifted by the noise texture's
// signed offsets (entTex2), which matBumpWave turns and scales as the clock runs.
//
// "Refract" shows only the refraction; "ReflectAndRefract" mixes in the reflection. The object picks
// the technique by its flag 1.

float4x4 matWorldViewProjection;
float4x4 matWorldView;
float4x4 matTextureRefraction;
float4x4 matTextureReflection;
float4x4 matBumpWave;

texture entTex0; // refraction: the scene under the surface
texture entTex1; // reflection: the scene mirrored at the surface
texture entTex2; // the object's noise texture, V8U8

sampler RefractionSampler = sampler_state {
    Texture = <entTex0>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    AddressU = WRAP;
    AddressV = WRAP;
};

sampler ReflectionSampler = sampler_state {
    Texture = <entTex1>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    AddressU = WRAP;
    AddressV = WRAP;
};

sampler NoiseSampler = sampler_state {
    Texture = <entTex2>;
    MinFilter = POINT;
    MagFilter = POINT;
    AddressU = WRAP;
    AddressV = WRAP;
};

static const float4 WaterTint = float4(0.75, 0.9, 1.0, 1.0);

struct WaterVertex {
    float4 position : POSITION;
    float2 wave : TEXCOORD0;      // the square's repeating coordinates, into the noise
    float3 refracted : TEXCOORD1; // projective coordinates, divided per pixel
    float3 reflected : TEXCOORD2;
};

WaterVertex WaterVS(float3 position : POSITION, float2 texcoord : TEXCOORD0) {
    WaterVertex output;
    output.position = mul(float4(position, 1.0), matWorldViewProjection);
    float4 viewPosition = mul(float4(position, 1.0), matWorldView);
    output.wave = texcoord;
    output.refracted = mul(viewPosition, matTextureRefraction).xyz;
    output.reflected = mul(viewPosition, matTextureReflection).xyz;
    return output;
}

// The noise offset turned and scaled by the bump-wave matrix, as a bump-environment matrix does.
float2 WaveOffset(float2 wave) {
    float2 offset = tex2D(NoiseSampler, wave).xy;
    return mul(offset, (float2x2)matBumpWave);
}

float4 RefractPS(WaterVertex input) : COLOR {
    float2 offset = WaveOffset(input.wave);
    float4 refraction = tex2D(RefractionSampler, input.refracted.xy / input.refracted.z + offset);
    return refraction * WaterTint;
}

float4 ReflectAndRefractPS(WaterVertex input) : COLOR {
    float2 offset = WaveOffset(input.wave);
    float4 refraction = tex2D(RefractionSampler, input.refracted.xy / input.refracted.z + offset);
    float4 reflection = tex2D(ReflectionSampler, input.reflected.xy / input.reflected.z + offset);
    return lerp(refraction, reflection, 0.5) * WaterTint;
}

technique Refract {
    pass P0 {
        VertexShader = compile vs_2_0 WaterVS();
        PixelShader = compile ps_2_0 RefractPS();
    }
}

technique ReflectAndRefract {
    pass P0 {
        VertexShader = compile vs_2_0 WaterVS();
        PixelShader = compile ps_2_0 ReflectAndRefractPS();
    }
}
