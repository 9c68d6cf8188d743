list(APPEND VTR3_PLUGIN_SOURCES views/vtr3_views.cpp)
