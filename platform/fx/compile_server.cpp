#include "fx/compile_server.h"

#include "fx/compile_isolation.h"
#include "fx/compiler_wire.h"
#include "fx/diagnostics.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform::fx {
namespace {

void Fail(ShaderResult* result, const std::string& text) {
    *result = ShaderResult{};
    CompilerMessage m;
    m.code = code::kInternal;
    m.column = 1;
    m.text = text;
    result->messages.push_back(m);
}

// glslang and the SPIR-V optimizer allocate and free a great many small blocks for every shader: a
// deeper cache of freed blocks in the C library takes about a seventh off the compiler's time.
constexpr const char* kAllocatorTunables = "glibc.malloc.tcache_count=1000";
constexpr const char* kTunablesVariable = "GLIBC_TUNABLES=";

// The engine's environment with the allocator setting added; settings of the engine's own come
// after it, so that they win.
std::vector<char*> CompilerEnvironment(std::string* tunables) {
    *tunables = std::string(kTunablesVariable) + kAllocatorTunables;
    std::vector<char*> variables;
    const std::size_t nameLength = std::strlen(kTunablesVariable);
    for (char** variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, kTunablesVariable, nameLength) == 0)
            *tunables += ":" + std::string(*variable + nameLength);
        else
            variables.push_back(*variable);
    }
    variables.push_back(tunables->data());
    variables.push_back(nullptr);
    return variables;
}

// Starts the program with its end of a socket pair as descriptor kCompilerChannelFd, standard input
// from /dev/null, standard output and error shared (sanitizer and crash reports), nothing else: our
// own descriptors are close-on-exec, and the engine's are closed by the spawn itself where the C
// library can. Signals start at their defaults and unblocked, whatever the engine set.
pid_t Spawn(const std::string& path, int childEnd, std::string* error) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, childEnd, kCompilerChannelFd);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    posix_spawn_file_actions_addclosefrom_np(&actions, kCompilerChannelFd + 1);
#endif
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    std::string tunables;
    const std::vector<char*> environment = CompilerEnvironment(&tunables);
    const int failure = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environment.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) {
        *error = "internal: cannot start the shader compiler " + path + ": " + std::strerror(failure);
        return -1;
    }
    return pid;
}

} // namespace

bool CompileServer::Send(const ShaderRequest& request, Clock::time_point deadline, ShaderResult* result) {
    std::string error;
    if (pid_ >= 0 && EndedWhileIdle())
        Forget();
    if (pid_ < 0 && !Start(&error)) {
        Fail(result, error);
        return false;
    }
    if (SendFrame(fd_, SerializeRequest(request), deadline))
        return true;
    Abandon(deadline, result);
    return false;
}

void CompileServer::Receive(Clock::time_point deadline, ShaderResult* result) {
    std::string bytes;
    if (!ReceiveFrame(fd_, &bytes, deadline))
        return Abandon(deadline, result);
    if (!DeserializeResult(bytes, result)) {
        Stop(true);
        Fail(result, "internal compiler error: the shader compiler answered garbage");
    }
}

std::string CompileServer::Stop(bool failed) {
    if (pid_ < 0)
        return "is not running";
    close(fd_);
    fd_ = -1;
    if (failed)
        kill(pid_, SIGKILL);
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 50 && (done = waitpid(pid_, &status, WNOHANG)) == 0; ++i)
        usleep(1000);
    if (done == 0) {
        kill(pid_, SIGKILL);
        while ((done = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
        }
    }
    pid_ = -1;
    if (done > 0 && WIFSIGNALED(status))
        return "crashed (signal " + std::to_string(WTERMSIG(status)) + ")";
    if (done > 0 && WIFEXITED(status))
        return "stopped (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    return "stopped"; // reaped elsewhere: the engine ignores SIGCHLD or waits for any child
}

void CompileServer::Abandon(Clock::time_point deadline, ShaderResult* result) {
    const bool late = Clock::now() >= deadline;
    const std::string how = Stop(true);
    Fail(result, "internal compiler error: the shader compiler " + (late ? "did not finish in time" : how));
}

// Killed from outside between requests: that costs no request. Reaps it (or finds it reaped by
// an engine that ignores SIGCHLD).
bool CompileServer::EndedWhileIdle() const {
    int status = 0;
    return waitpid(pid_, &status, WNOHANG) != 0;
}

void CompileServer::Forget() {
    close(fd_);
    fd_ = -1;
    pid_ = -1;
}

bool CompileServer::Start(std::string* error) {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
        *error = std::string("internal: cannot start the shader compiler: ") + std::strerror(errno);
        return false;
    }
    // dup2 onto the same number would keep close-on-exec set.
    if (fds[1] == kCompilerChannelFd) {
        const int moved = fcntl(fds[1], F_DUPFD_CLOEXEC, kCompilerChannelFd + 1);
        close(fds[1]);
        fds[1] = moved;
    }
    if (fds[1] < 0) {
        *error = std::string("internal: cannot start the shader compiler: ") + std::strerror(errno);
        close(fds[0]);
        return false;
    }
    const pid_t pid = Spawn(ShaderCompilerPath(), fds[1], error);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return false;
    }
    pid_ = pid;
    fd_ = fds[0];
    return true;
}

} // namespace platform::fx
