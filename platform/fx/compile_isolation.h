// Compiles shaders in the vtr3-shaderc program, never in the engine's process: glslang crashes or
// hangs on some hostile input. The program is started with posix_spawn (the engine's process is
// never forked), kept running for the next request, and replaced after a crash or a hang. Two
// run side by side when several shaders wait.
#ifndef VTR3_PLATFORM_FX_COMPILE_ISOLATION_H
#define VTR3_PLATFORM_FX_COMPILE_ISOLATION_H

#include "fx/shader_request.h"

#include <string>
#include <vector>

namespace platform::fx {

// Fails with an internal-error message when the program cannot be started, crashes or does not
// answer within the timeout. Calls are serialised: one call at a time.
void CompileIsolated(const ShaderRequest& request, ShaderResult* result, int timeoutMilliseconds = 20000);

// Several requests at once, on two programs side by side; each request fails alone as above.
struct CompileJob {
    const ShaderRequest* request;
    ShaderResult* result;
};
void CompileIsolated(const std::vector<CompileJob>& jobs, int timeoutMilliseconds = 20000);

// The program: $VTR3_SHADER_COMPILER when set, otherwise vtr3-shaderc beside the platform library.
std::string ShaderCompilerPath();

// The first program's process id, 0 when none runs; and a stop of all, after which the next
// compile starts fresh programs. For tests and diagnostics.
int ShaderCompilerProcessId();
void StopShaderCompiler();

} // namespace platform::fx

#endif
