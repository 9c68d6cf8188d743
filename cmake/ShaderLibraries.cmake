# glslang (HLSL to SPIR-V) and SPIRV-Cross's C API (SPIR-V to GLSL), found through the CMake package
# configuration they install or, where a distribution ships none, through pkg-config. Whatever compiles
# shaders links vtr3_shader_libraries.
find_package(Threads REQUIRED)
add_library(vtr3_shader_libraries INTERFACE)

# Debian 12's glslang-dev installs a package configuration that stops the configure step, QUIET or
# not, unless glslang-tools is installed too: the configuration lists glslangValidator. Without that
# program (and without a glslang_DIR given), pkg-config finds glslang.
find_program(VTR3_GLSLANG_VALIDATOR glslangValidator)
if(VTR3_GLSLANG_VALIDATOR OR glslang_DIR)
    find_package(glslang CONFIG QUIET)
endif()
if(glslang_FOUND)
    # The HLSL front end is part of glslang::glslang. The separate HLSL and OGLCompiler libraries were
    # empty before glslang 14 removed them; glslang::SPIRV went the same way in 15.2.
    target_link_libraries(vtr3_shader_libraries INTERFACE glslang::glslang-default-resource-limits)
    if(TARGET glslang::SPIRV)
        target_link_libraries(vtr3_shader_libraries INTERFACE glslang::SPIRV)
    endif()
    target_link_libraries(vtr3_shader_libraries INTERFACE glslang::glslang)
    set(vtr3_glslang_version ${glslang_VERSION})
    message(STATUS "glslang: package configuration ${glslang_DIR}")
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(VTR3_GLSLANG REQUIRED IMPORTED_TARGET spirv glslang)
    find_library(VTR3_GLSLANG_RESOURCE_LIMITS glslang-default-resource-limits REQUIRED)
    target_link_libraries(vtr3_shader_libraries INTERFACE ${VTR3_GLSLANG_RESOURCE_LIMITS} PkgConfig::VTR3_GLSLANG)
    set(vtr3_glslang_version ${VTR3_GLSLANG_glslang_VERSION})
    message(STATUS "glslang: pkg-config")
endif()

find_package(spirv_cross_c_shared CONFIG QUIET)
if(spirv_cross_c_shared_FOUND)
    target_link_libraries(vtr3_shader_libraries INTERFACE spirv-cross-c-shared)
    # The package configuration carries no version; pkg-config's file, where installed, does.
    find_package(PkgConfig QUIET)
    if(PKG_CONFIG_FOUND)
        pkg_check_modules(VTR3_SPIRV_CROSS_PC QUIET spirv-cross-c-shared)
        set(vtr3_spirv_cross_version ${VTR3_SPIRV_CROSS_PC_VERSION})
    endif()
    message(STATUS "SPIRV-Cross: package configuration ${spirv_cross_c_shared_DIR}")
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(VTR3_SPIRV_CROSS REQUIRED IMPORTED_TARGET spirv-cross-c-shared)
    target_link_libraries(vtr3_shader_libraries INTERFACE PkgConfig::VTR3_SPIRV_CROSS)
    set(vtr3_spirv_cross_version ${VTR3_SPIRV_CROSS_VERSION})
    message(STATUS "SPIRV-Cross: pkg-config")
endif()

# Part of the key of the shader disk cache: entries of other tool versions are not read.
set(VTR3_SHADER_TOOLS_VERSION "glslang ${vtr3_glslang_version} SPIRV-Cross ${vtr3_spirv_cross_version}")
message(STATUS "Shader tools: ${VTR3_SHADER_TOOLS_VERSION}")
