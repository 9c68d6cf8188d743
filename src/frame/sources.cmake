list(APPEND VTR3_PLUGIN_SOURCES
    frame/vtr3_engine.cpp
    frame/vtr3_exports.cpp
    frame/vtr3_exportsEffects.cpp
    frame/vtr3_exportsObjects.cpp
    frame/vtr3_exportsRender.cpp
    frame/vtr3_exportsTextures.cpp
    frame/vtr3_exportsViews.cpp
    frame/vtr3_globals.cpp
    frame/vtr3_managerLifecycle.cpp
    frame/vtr3_random.cpp)
