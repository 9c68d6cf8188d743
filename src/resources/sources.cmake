list(APPEND VTR3_PLUGIN_SOURCES resources/vtr3_effects.cpp resources/vtr3_textures.cpp)
