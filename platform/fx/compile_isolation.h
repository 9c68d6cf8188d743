// Compiles shaders in the vtr3-shaderc program, never in the engine's process: glslang crashes or
// hangs on some hostile input. The program is started with posix_spawn (the engine's process is
// never forked), kept running for the next request, and replaced after a crash or a hang.
#ifndef VTR3_PLATFORM_FX_COMPILE_ISOLATION_H
#define VTR3_PLATFORM_FX_COMPILE_ISOLATION_H

#include "fx/shader_request.h"

#include <string>

namespace platform::fx {

// Fails with an internal-error message when the program cannot be started, crashes or does not
// answer within the timeout. Calls are serialised: one compile at a time.
void CompileIsolated(const ShaderRequest& request, ShaderResult* result, int timeoutMilliseconds = 20000);

// The program: $VTR3_SHADER_COMPILER when set, otherwise vtr3-shaderc beside the platform library.
std::string ShaderCompilerPath();

// The running program's process id, 0 when none runs; and a stop, after which the next compile
// starts a fresh program. For tests and diagnostics.
int ShaderCompilerProcessId();
void StopShaderCompiler();

} // namespace platform::fx

#endif
