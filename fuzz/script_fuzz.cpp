// Fuzzing entry point of the scene-script parser: any bytes as a script are parsed and checked
// against the command table; a fault must come as a located ScriptError, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script_syntax.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        host::script::ParseScript(std::string(reinterpret_cast<const char*>(data), size), "fuzz.vs");
    } catch (const host::script::ScriptError& error) {
        if (error.where().line < 1 || error.where().column < 1) {
            __builtin_trap(); // every fault names its place
        }
    }
    return 0;
}
