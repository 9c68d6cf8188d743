// The runner program, run as a process against the fake plug-in: what it reports and its exit code.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct Outcome {
    int exit_code;
    std::string output; // standard output and standard error
};

Outcome RunRunner(const std::string& arguments, const std::string& environment = "") {
    const std::string command = environment + " " VTR3_RUNNER " " + arguments + " 2>&1";
    Outcome outcome{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return outcome;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        outcome.output += buffer;
    }
    const int status = pclose(pipe);
    outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

class Runner : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ =
            std::filesystem::temp_directory_path() /
            ("vtr3_runner_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string Arguments(const std::string& more = "") const {
        return "--plugin " VTR3_FAKE_PLUGIN " --dir " + directory_.string() + " " + more;
    }

    std::filesystem::path directory_;
};

TEST_F(Runner, InitialisesTheBoundPlugInAndReportsTitleAndLog) {
    const Outcome outcome = RunRunner(Arguments());
    EXPECT_EQ(outcome.exit_code, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("A6_DLLAPI: 630\n"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("VTR3Initialize: 0\n"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("window title: Vantor 3.0 Runner\n"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("log: " + (directory_ / "Vantor3.html").string() + "\n"), std::string::npos)
        << outcome.output;
}

TEST_F(Runner, PassesLogSwitch0WithNoLog) {
    const Outcome outcome = RunRunner(Arguments("--no-log"));
    EXPECT_EQ(outcome.exit_code, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("log: switched off\n"), std::string::npos) << outcome.output;
    EXPECT_FALSE(std::filesystem::exists(directory_ / "Vantor3.html"));
}

TEST_F(Runner, FailsWhenInitialisationDoesNotReturn0) {
    const Outcome outcome = RunRunner(Arguments(), "VTR3_FAKE_INIT_RESULT=6");
    EXPECT_EQ(outcome.exit_code, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("VTR3Initialize: 6\n"), std::string::npos) << outcome.output;
}

TEST_F(Runner, ReportsBadPlugInsAndOptions) {
    Outcome outcome = RunRunner("--plugin " VTR3_NOT_A_PLUGIN);
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_NE(outcome.output.find("no export A6_DLLAPI"), std::string::npos) << outcome.output;
    outcome = RunRunner("--plugin " + (directory_ / "missing.so").string());
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_NE(outcome.output.find("does not exist"), std::string::npos) << outcome.output;
    outcome = RunRunner("--dir " + (directory_ / "missing").string());
    EXPECT_EQ(outcome.exit_code, 2);
    EXPECT_EQ(RunRunner("--frobnicate").exit_code, 2);
}

} // namespace
