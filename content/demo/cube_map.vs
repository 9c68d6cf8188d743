# Render to a cube map: six views of 90 degrees at the middle of the world draw into the six faces
# of a cube render target; a second sky box then wears that cube map in the camera's view, so the
# world seen from the middle surrounds the camera, behind the meshes themselves.
# Run from the repository after tools/run.sh (out/ holds VTR3Content and demo/):
#   build/dev/host/vantor-run --dir out --out out/cube_map content/demo/cube_map.vs
VTR3Initialize 1 "Vantor 3.0: cube map"
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

# Face index 0 to 5 is Direct3D's +Z, -Z, +X, -X, +Y, -Y: engine +y, -y, +x, -x, up, down.
view north
angles north 90 0 0
view south
angles south 270 0 0
view east
angles east 0 0 0
view west
angles west 180 0 0
view up
angles up 90 90 0
view down
angles down 90 -90 0
VTR3TexCreate 20 1
VTR3TexSetUsage 20 0
VTR3TexSetFormat 20 2
VTR3TexSetSize 20 256 256
VTR3TexSetViewID 20 0 10
VTR3TexSetViewID 20 1 11
VTR3TexSetViewID 20 2 12
VTR3TexSetViewID 20 3 13
VTR3TexSetViewID 20 4 14
VTR3TexSetViewID 20 5 15
VTR3TexInitialize 20
position north 300 250 15
arc north 90
size north 256 256
VTR3ViewRegister 10 "north"
VTR3ViewSetRTT 10 1
render north
position south 300 250 15
arc south 90
size south 256 256
VTR3ViewRegister 11 "south"
VTR3ViewSetRTT 11 1
render south
position east 300 250 15
arc east 90
size east 256 256
VTR3ViewRegister 12 "east"
VTR3ViewSetRTT 12 1
render east
position west 300 250 15
arc west 90
size west 256 256
VTR3ViewRegister 13 "west"
VTR3ViewSetRTT 13 1
render west
position up 300 250 15
arc up 90
size up 256 256
VTR3ViewRegister 14 "up"
VTR3ViewSetRTT 14 1
render up
position down 300 250 15
arc down 90
size down 256 256
VTR3ViewRegister 15 "down"
VTR3ViewSetRTT 15 1
render down

# The second sky wears the cube map. The faces draw the first sky only, the camera the second only:
# each view's last statements switch the skies for the next view (flag 0 hides a sky).
VTR3ObjectCreate 2 1
VTR3ObjectSetSkill 2 0 8000
VTR3ObjectInitialize 2
VTR3ObjectSetTexture 2 0 20
VTR3ObjectSetFlag 2 0 1
during down VTR3ObjectSetFlag 1 0 1
during down VTR3ObjectSetFlag 2 0 0
during camera VTR3ObjectSetFlag 1 0 0
during camera VTR3ObjectSetFlag 2 0 1

VTR3ViewRegister 1 "camera"
VTR3ViewSetPostProcessing 1 1
VTR3ViewSetPostProcessingEffect 1 0 30013
position camera -600 -500 400
angles camera 40 -15 0
render camera
frame 2
VTR3DeInitialize
