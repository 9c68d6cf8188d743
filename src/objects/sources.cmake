list(APPEND VTR3_PLUGIN_SOURCES objects/vtr3_objects.cpp)
