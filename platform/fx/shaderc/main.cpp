// vtr3-shaderc: the platform library's shader compiler. It reads compile requests from the socket
// on descriptor 3 and answers each with the result, until the library closes its end. It lives
// apart from the engine's process so that glslang crashing or hanging on hostile input costs one
// compile, not the engine.
#include "fx/compiler_wire.h"
#include "fx/shaderc/shader_compiler.h"

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr unsigned kCompileSecondsLimit = 300;
} // namespace

int main() {
    using namespace platform::fx;
    struct stat channel {};
    if (fstat(kCompilerChannelFd, &channel) != 0 || !S_ISSOCK(channel.st_mode)) {
        std::fputs("vtr3-shaderc: started by the Vantor 3 platform library only (it expects a socket "
                   "on descriptor 3)\n",
                   stderr);
        return 2;
    }
    WarmCompiler();
    for (;;) {
        std::string bytes;
        ShaderRequest request;
        if (!ReceiveFrame(kCompilerChannelFd, &bytes, std::nullopt) || !DeserializeRequest(bytes, &request))
            break; // the library closed its end
        ShaderResult result;
        // A compile that hangs ends this program even when the library is gone (killed before it
        // could kill us): far above the library's own timeout.
        alarm(kCompileSecondsLimit);
        CompileShader(request, &result);
        alarm(0);
        if (!SendFrame(kCompilerChannelFd, SerializeResult(result), std::nullopt))
            break;
    }
    // glslang keeps process-wide tables; leaving without exit handlers spares the leak checker them.
    _exit(0);
}
