# The combine step alone: the current image added to the unprocessed scene (here the scene twice, at half weight each).
# Run from the repository after tools/run.sh (out/ holds VTR3Content and demo/):
#   build/dev/host/vantor-run --dir out --out out/post_combine content/demo/post_combine.vs
VTR3Initialize 1 "Vantor 3.0: combine"
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
VTR3ViewRegister 1 "camera"
VTR3ViewSetPostProcessing 1 1
VTR3ViewSetPostProcessingEffect 1 0 30011
VTR3EffectSetValue 30011 0 0.5
VTR3EffectSetValue 30011 1 0.5
frame
VTR3DeInitialize
