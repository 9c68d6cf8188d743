list(APPEND VTR3_PLUGIN_SOURCES debug/vtr3_debugSystem.cpp)
