// Runs a manager test with the plug-in's log open in a fresh directory, and reads its rows back.
#ifndef VTR3_TESTS_UNIT_MANAGERS_MANAGER_FIXTURE_H
#define VTR3_TESTS_UNIT_MANAGERS_MANAGER_FIXTURE_H

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_globals.h"
#include "log_rows.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ManagerLogTest : public ::testing::Test {
  protected:
    ManagerLogTest() { g_debugSystem.Open(); }
    ~ManagerLogTest() override { g_debugSystem.Close(); }

    // The rows written since the last call; the log stays open.
    std::vector<std::string> TakeRows() {
        g_debugSystem.Close();
        std::vector<std::string> rows = log_rows::Rows(ReadFileBytes(directory_.path() / "Vantor3.html"));
        g_debugSystem.Open();
        return rows;
    }

    ScopedDirectory directory_;
};

#endif
