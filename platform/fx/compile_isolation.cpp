#include "fx/compile_isolation.h"

#include "fx/compile_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <mutex>

#include <dlfcn.h>
#include <poll.h>

namespace platform::fx {
namespace {

constexpr const char* kProgramName = "vtr3-shaderc";

// Up to two programs at once: the shaders of an effect compile side by side on a two-core machine,
// and each program keeps its own crash and hang to itself.
constexpr std::size_t kPrograms = 2;

class ServerPool {
  public:
    // Each request gets the timeout from when it is sent; a program takes the next request as soon
    // as it answers.
    void Compile(const std::vector<CompileJob>& jobs, int timeoutMilliseconds) {
        using Clock = CompileServer::Clock;
        const CompileJob* busy[kPrograms] = {};
        Clock::time_point deadlines[kPrograms];
        std::size_t next = 0;
        const auto feed = [&](std::size_t s) {
            while (next < jobs.size()) {
                const CompileJob& job = jobs[next++];
                deadlines[s] = Clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
                if (servers_[s].Send(*job.request, deadlines[s], job.result)) {
                    busy[s] = &job;
                    return;
                }
            }
        };
        for (std::size_t s = 0; s < kPrograms; ++s)
            feed(s);
        for (;;) {
            pollfd fds[kPrograms];
            std::size_t which[kPrograms];
            nfds_t count = 0;
            Clock::time_point earliest = Clock::time_point::max();
            for (std::size_t s = 0; s < kPrograms; ++s) {
                if (!busy[s])
                    continue;
                fds[count] = pollfd{servers_[s].Fd(), POLLIN, 0};
                which[count++] = s;
                earliest = std::min(earliest, deadlines[s]);
            }
            if (count == 0)
                return;
            // Waits for the first answer or deadline; should poll itself fail, each busy program is
            // read in turn, up to its own deadline.
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(earliest - Clock::now()).count();
            if (poll(fds, count, static_cast<int>(std::clamp<long long>(left, 0, 1 << 30))) < 0 &&
                errno != EINTR)
                std::fill(std::begin(fds), std::end(fds), pollfd{-1, 0, POLLERR});
            for (nfds_t k = 0; k < count; ++k) {
                const std::size_t s = which[k];
                if (fds[k].revents == 0 && Clock::now() < deadlines[s])
                    continue;
                servers_[s].Receive(deadlines[s], busy[s]->result);
                busy[s] = nullptr;
                feed(s);
            }
        }
    }

    CompileServer& First() { return servers_[0]; }

    void Stop() {
        for (CompileServer& server : servers_)
            server.Stop();
    }

  private:
    CompileServer servers_[kPrograms];
};

std::mutex& PoolMutex() {
    static std::mutex mutex;
    return mutex;
}

ServerPool& Pool() {
    static ServerPool pool;
    return pool;
}

} // namespace

std::string ShaderCompilerPath() {
    const char* configured = std::getenv("VTR3_SHADER_COMPILER");
    if (configured && *configured)
        return configured;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ShaderCompilerPath), &info) && info.dli_fname) {
        const std::string library = info.dli_fname;
        const std::size_t slash = library.rfind('/');
        if (slash != std::string::npos)
            return library.substr(0, slash + 1) + kProgramName;
    }
    return kProgramName;
}

void CompileIsolated(const std::vector<CompileJob>& jobs, int timeoutMilliseconds) {
    std::lock_guard<std::mutex> lock(PoolMutex());
    Pool().Compile(jobs, timeoutMilliseconds);
}

void CompileIsolated(const ShaderRequest& request, ShaderResult* result, int timeoutMilliseconds) {
    CompileIsolated({CompileJob{&request, result}}, timeoutMilliseconds);
}

int ShaderCompilerProcessId() {
    std::lock_guard<std::mutex> lock(PoolMutex());
    return Pool().First().Pid();
}

void StopShaderCompiler() {
    std::lock_guard<std::mutex> lock(PoolMutex());
    Pool().Stop();
}

} // namespace platform::fx
