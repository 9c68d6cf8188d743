list(APPEND VTR3_PLUGIN_SOURCES render/vtr3_renderer.cpp render/vtr3_postProcessor.cpp)
