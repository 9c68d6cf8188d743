// Runs a command line through the shell, as the tests of the programs do, and keeps what it printed.
#ifndef VTR3_TESTS_RUN_COMMAND_H
#define VTR3_TESTS_RUN_COMMAND_H

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CommandOutcome {
    int exitCode = -1; // -1 also when the command could not start or did not exit
    std::string output;
};

// The output is the command's standard output, every byte of it.
inline CommandOutcome RunCommand(const std::string& command) {
    CommandOutcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return outcome;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        outcome.output.append(buffer, n);
    }
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

// The output is standard output and standard error together.
inline CommandOutcome RunCommandAndErrors(const std::string& command) {
    return RunCommand(command + " 2>&1");
}

#endif
