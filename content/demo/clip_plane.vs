# The clip plane: a second view sees what the camera sees, rendered to a texture, with a user clip
# plane that keeps only what lies west of x = 400 (the white ball and the far meadow are cut away).
# The camera shows that texture in its upper right corner through content/demo/inset.fx.
# Run from the repository after tools/run.sh (out/ holds VTR3Content and demo/):
#   build/dev/host/vantor-run --dir out --out out/clip_plane content/demo/clip_plane.vs
VTR3Initialize 1 "Vantor 3.0: clip plane"
# A small world under the sky box: a meadow, a white ball, a red block and a blue pillar.
noclear
mesh meadow box 4000 0 0 -2000
colour meadow 110 160 70
mesh ball sphere 50 520 380 50
colour ball 255 255 255
mesh block box 120 420 120 60
colour block 200 60 50
mesh pillar box 80 300 520 40
colour pillar 60 90 200
position camera -100 -60 110
angles camera 50 -8 0
arc camera 70
VTR3TexCreate 10 1
VTR3TexSetPath 10 "VTR3Content\vtr3_sky.dds"
VTR3TexInitialize 10
VTR3ObjectCreate 1 1
VTR3ObjectSetSkill 1 0 8000
VTR3ObjectInitialize 1
VTR3ObjectSetTexture 1 0 10

view cut
position cut -100 -60 110
angles cut 50 -8 0
arc cut 70
size cut 512 384
vector cutpoint 400 0 0
vector cutnormal -1 0 0
VTR3ViewRegister 2 "cut"
VTR3TexCreate 30 0
VTR3TexSetUsage 30 0
VTR3TexSetFormat 30 2
VTR3TexSetSize 30 512 384
VTR3TexSetViewID 30 0 2
VTR3TexInitialize 30
VTR3ViewSetRTT 2 1
VTR3ViewSetClipPlane 2 "cutpoint" "cutnormal" 1

VTR3EffectCreate 40
VTR3EffectSetPath 40 "demo\inset.fx"
VTR3EffectInitialize 40
VTR3EffectSetTex 40 0 30
VTR3ViewRegister 1 "camera"
VTR3ViewSetPostProcessing 1 1
VTR3ViewSetPostProcessingEffect 1 0 40

render cut
render camera
frame
VTR3DeInitialize
