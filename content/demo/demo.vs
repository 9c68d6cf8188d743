# The demo: an island in a sea under a sky box. The engine draws the ground and the lit meshes; the
# plug-in adds the sky, the water (refraction and reflection from two views rendered to textures)
# and post-processes the main view with the bloom chain.
# Run from the repository after tools/run.sh (out/ holds VTR3Content and demo/):
#   build/dev/host/vantor-run --dir out --out out content/demo/demo.vs
VTR3Initialize 1 "Vantor 3.0 demo"

# The world the engine draws: a sea bed under the water level (z = 0), an island, a few objects.
noclear
mesh seabed box 8000 0 0 -4060
colour seabed 70 120 110
mesh island box 500 700 150 -170
colour island 110 160 70
mesh hill sphere 160 760 180 70
colour hill 90 140 60
mesh tower box 80 620 -20 120
colour tower 230 225 210
mesh ball sphere 45 520 260 125
colour ball 255 255 255
mesh rock box 120 260 -260 10
colour rock 170 80 60
mesh buoy sphere 30 180 120 5
colour buoy 240 180 40

# The camera looks across the water towards the island and the sun (engine +y).
position camera 150 -750 110
angles camera 62 -3 0
arc camera 60

# The water's texture matrices project with scales 1.68 across and 1.82 up: an arc of 61.52 degrees
# on a target 13 : 12, the size of both water textures. The refraction view sees what the camera
# sees; the reflection view is the camera mirrored at the water level.
view refraction
position refraction 150 -750 110
angles refraction 62 -3 0
arc refraction 61.52
size refraction 520 480
view reflection
position reflection 150 -750 -110
angles reflection 62 3 0
arc reflection 61.52
size reflection 520 480

vector waterpoint 0 0 0
vector waterup 0 0 1
vector waterdown 0 0 -1

VTR3ViewRegister 1 "camera"
VTR3ViewRegister 2 "reflection"
VTR3ViewRegister 3 "refraction"

# Reflection: drawn into texture 11, clipped to what lies above the water.
VTR3TexCreate 11 0
VTR3TexSetUsage 11 0
VTR3TexSetFormat 11 2
VTR3TexSetSize 11 520 480
VTR3TexSetViewID 11 0 2
VTR3TexInitialize 11
VTR3ViewSetRTT 2 1
VTR3ViewSetMirrorPlane 2 "waterpoint" "waterup" 1
VTR3ViewSetClipPlane 2 "waterpoint" "waterup" 1

# Refraction: drawn into texture 12, clipped to what lies under the water.
VTR3TexCreate 12 0
VTR3TexSetUsage 12 0
VTR3TexSetFormat 12 2
VTR3TexSetSize 12 520 480
VTR3TexSetViewID 12 0 3
VTR3TexInitialize 12
VTR3ViewSetRTT 3 1
VTR3ViewSetClipPlane 3 "waterpoint" "waterdown" 1

# The sky box around every view the plug-in redirects.
VTR3TexCreate 10 1
VTR3TexSetPath 10 "VTR3Content\vtr3_sky.dds"
VTR3TexInitialize 10
VTR3ObjectCreate 1 1
VTR3ObjectSetSkill 1 0 8000
VTR3ObjectSetSkill 1 1 0
VTR3ObjectInitialize 1
VTR3ObjectSetTexture 1 0 10

# The water: a square of 7000 at the water level, drawn by the camera after the engine's meshes.
VTR3EffectCreate 20
VTR3EffectSetPath 20 "VTR3Content\vtr3_water.fx"
VTR3EffectInitialize 20
VTR3ObjectCreate 5 2
VTR3ObjectSetSkill 5 0 7000
VTR3ObjectSetSkill 5 1 28
VTR3ObjectSetSkill 5 2 128
VTR3ObjectInitialize 5
VTR3ObjectSetEffect 5 20
VTR3ObjectSetTexture 5 0 12
VTR3ObjectSetTexture 5 1 11
VTR3ObjectSetPosition 5 0 0 0
during camera VTR3RenderDrawE 5

# The camera's bloom: half copy, bright pass, horizontal and vertical bloom, combined with the scene.
VTR3ViewSetPostProcessing 1 1
VTR3ViewSetPostProcessingEffect 1 0 30001
VTR3ViewSetPostProcessingEffect 1 1 30002
VTR3ViewSetPostProcessingEffect 1 2 30005
VTR3ViewSetPostProcessingEffect 1 3 30004
VTR3ViewSetPostProcessingEffect 1 4 30011
VTR3EffectSetValue 30002 0 0.93

render reflection
render refraction
render camera

# Reflection and refraction, then refraction alone.
VTR3ObjectSetFlag 5 1 0
frame 4
screenshot "demo.png"
VTR3ObjectSetFlag 5 1 1
frame 2
screenshot "demo-refract.png"

VTR3DeInitialize
