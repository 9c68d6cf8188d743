// vtr3_monochrom.fx: a grey image of the luminance, Rec. 709 weights 0.2126 R + 0.7152 G + 0.0722 B
//
// Drawn by the post-processor as one step of a view's chain: a screen quad without a vertex shader,
// from the current image into the next target (or the view's final target).
//
// Parameters set by the post-processor before each draw:
//   "postTex1"   the current image.
//   "vecValues1" x: how much of the original colour stays, 0 (all grey) to 1 (unchanged).
//
// Techniques, in the order the effect manager tries them:
//   PostProcessSM2a  pixel shader 2.a. Reads each pixel at the centre of its texel: the quad puts
//                    pixel i at the texel edge i / size, and the screen derivatives give the pixel's
//                    size in texture coordinates whatever size the step runs at.
//   PostProcessSM2   pixel shader 2.0 fallback (no derivatives): assumes the full working size of
//                    1024 x 768 for that correction.

texture postTex1;
float4 vecValues1;

sampler2D postSampler1 = sampler_state {
    Texture = <postTex1>;
    MinFilter = Linear;
    MagFilter = Linear;
    MipFilter = None;
    AddressU = Clamp;
    AddressV = Clamp;
};

// Rec. 709 luma weights.
static const float3 LUMINANCE = float3(0.2126, 0.7152, 0.0722);

float4 Filter(float2 uv, float2 pixel) {
    const float4 colour = tex2D(postSampler1, uv);
    const float grey = dot(colour.rgb, LUMINANCE);
    return float4(lerp(float3(grey, grey, grey), colour.rgb, saturate(vecValues1.x)), colour.a);
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
