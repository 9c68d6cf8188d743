# The warning set is the same for every build of this project; third-party headers come in as SYSTEM.
# Warnings stop the build only when asked (the presets ask), so that a packager's compiler or flags
# that add a warning do not break an otherwise sound build.
option(VTR3_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow)
if(VTR3_WARNINGS_AS_ERRORS)
    add_compile_options(-Werror)
endif()
