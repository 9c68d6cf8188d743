// inset.fx: a post-processing step that shows a texture of the script's inside the image, for
// looking at what a view rendered to a texture drew.
//
// Parameters set by the post-processor before the draw:
//   "postTex1"    the current image, shown everywhere outside the inset;
//   "effTex1"     the effect's texture 0 (VTR3EffectSetTex ID 0 TEXTURE), shown in the inset;
//   "vecValues1"  the inset's left, top, right and bottom edges in image coordinates, 0 to 1
//                 (VTR3EffectSetValue ID 0..3 VALUE); all zero stands for the upper right quarter.

texture postTex1;
texture effTex1;
float4 vecValues1;

sampler2D imageSampler = sampler_state {
    Texture = <postTex1>;
    MinFilter = Point;
    MagFilter = Point;
    AddressU = Clamp;
    AddressV = Clamp;
};

sampler2D insetSampler = sampler_state {
    Texture = <effTex1>;
    MinFilter = Linear;
    MagFilter = Linear;
    AddressU = Clamp;
    AddressV = Clamp;
};

float4 InsetPS(float2 uv : TEXCOORD0) : COLOR0 {
    const float4 edges = any(vecValues1) ? vecValues1 : float4(0.6, 0.05, 0.95, 0.4);
    const float2 at = (uv - edges.xy) / (edges.zw - edges.xy);
    if (all(at >= 0.0) && all(at <= 1.0)) {
        return tex2D(insetSampler, at);
    }
    return tex2D(imageSampler, uv + 0.5 / float2(1024.0, 768.0));
}

technique Inset {
    pass P0 {
        PixelShader = compile ps_2_0 InsetPS();
    }
}
