list(APPEND VTR3_PLUGIN_SOURCES
    objects/vtr3_3dobject.cpp
    objects/vtr3_engineScene.cpp
    objects/vtr3_objectEngineMesh.cpp
    objects/vtr3_objectSky.cpp
    objects/vtr3_objectWater.cpp
    objects/vtr3_objects.cpp)
