// vtr3_combine.fx: adds the processed image (a bloom) onto the unprocessed scene
//
// Drawn by the post-processor as one step of a view's chain: a screen quad without a vertex shader,
// from the current image into the next target (or the view's final target).
//
// Parameters set by the post-processor before each draw:
//   "postTex1"   the processed image; may be smaller than the scene, it is stretched over it.
//   "postTex2"   the unprocessed scene.
//   "vecValues1" x: weight of the processed image (0 stands for 1).
//                y: weight of the scene (0 stands for 1).
//
// Techniques, in the order the effect manager tries them:
//   PostProcessSM2a  pixel shader 2.a. Reads each pixel at the centre of its texel: the quad puts
//                    pixel i at the texel edge i / size, and the screen derivatives give the pixel's
//                    size in texture coordinates whatever size the step runs at.
//   PostProcessSM2   pixel shader 2.0 fallback (no derivatives): assumes the full working size of
//                    1024 x 768 for that correction.

texture postTex1;
texture postTex2;
float4 vecValues1;

sampler2D postSampler1 = sampler_state {
    Texture = <postTex1>;
    MinFilter = Linear;
    MagFilter = Linear;
    MipFilter = None;
    AddressU = Clamp;
    AddressV = Clamp;
};
sampler2D postSampler2 = sampler_state {
    Texture = <postTex2>;
    MinFilter = Linear;
    MagFilter = Linear;
    MipFilter = None;
    AddressU = Clamp;
    AddressV = Clamp;
};

float4 Filter(float2 uv, float2 pixel) {
    const float glow = vecValues1.x != 0.0 ? vecValues1.x : 1.0;
    const float scene = vecValues1.y != 0.0 ? vecValues1.y : 1.0;
    const float4 colour = tex2D(postSampler2, uv) * scene + tex2D(postSampler1, uv) * glow;
    return float4(colour.rgb, tex2D(postSampler2, uv).a);
}

// The size of one pixel of the target in texture coordinates.
float2 PixelSize(float2 uv) {
    return float2(abs(ddx(uv.x)), abs(ddy(uv.y)));
}

static const float2 FULL_SIZE_PIXEL = float2(1.0 / 1024.0, 1.0 / 768.0);

float4 PSExact(float2 uv : TEXCOORD0) : COLOR0 {
    const float2 pixel = PixelSize(uv);
    return Filter(uv + 0.5 * pixel, pixel);
}

float4 PSFixed(float2 uv : TEXCOORD0) : COLOR0 {
    return Filter(uv + 0.5 * FULL_SIZE_PIXEL, FULL_SIZE_PIXEL);
}

technique PostProcessSM2a {
    pass P0 {
        PixelShader = compile ps_2_a PSExact();
    }
}

technique PostProcessSM2 {
    pass P0 {
        PixelShader = compile ps_2_0 PSFixed();
    }
}
