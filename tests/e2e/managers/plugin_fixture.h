// The plug-in loaded by the stand-in engine, driven through its exports, with its log read back row
// by row (log_rows.h).
#ifndef VTR3_TESTS_E2E_MANAGERS_PLUGIN_FIXTURE_H
#define VTR3_TESTS_E2E_MANAGERS_PLUGIN_FIXTURE_H

#include "engine.h"
#include "engine_string.h"
#include "log_rows.h"
#include "platform_control.h"
#include "plugin.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using Rows = std::vector<std::string>;

class PluginTest : public ::testing::Test {
  protected:
    PluginTest() {
        // The post-processor loads its effect files from here at start-up.
        std::filesystem::create_directory_symlink(VTR3_CONTENT_DIR, "VTR3Content");
        engine_.CreateGraphics(320, 240, "Acknex 6");
        liveBefore_ = platform::LiveObjectCount();
        plugin_ = std::make_unique<host::Plugin>(VTR3_PLUGIN_PATH);
        plugin_->Bind(engine_);
    }
    ~PluginTest() override { plugin_.reset(); }

    int Initialize() { return Int(plugin_->Call("VTR3Initialize", Var(1), Text("Vantor"))); }
    int DeInitialize() { return Call("VTR3DeInitialize"); }

    // An export's result as an integer.
    template <typename... Args> int Call(const char* name, Args... arguments) {
        return Int(plugin_->Call(name, arguments...));
    }
    static var Var(int value) { return a6::VarFromInt(value); }
    static int Int(var value) { return a6::VarToInt(value); }
    // An engine string that lives as long as the test.
    a6::String* Text(const std::string& text) {
        strings_.push_back(std::make_unique<host::EngineString>(text));
        return strings_.back()->record();
    }

    // Unloads the plug-in and returns the rows of the running log ("Ablauflogging") and after it.
    Rows UnloadAndReadRows() {
        plugin_.reset();
        return log_rows::RowsAfter(ReadFileBytes(directory_.path() / "Vantor3.html"),
                                   "Der Anwendungstitel ( Acknex 6 Fenstertitel ) wurde ge\xe4ndert");
    }

    // The platform objects alive now that were not alive before the plug-in was loaded.
    long LiveObjectsOfThePlugin() const {
        return static_cast<long>(platform::LiveObjectCount()) - static_cast<long>(liveBefore_);
    }

    ScopedDirectory directory_;
    host::Engine engine_;
    std::deque<std::unique_ptr<host::EngineString>> strings_;
    std::unique_ptr<host::Plugin> plugin_;
    size_t liveBefore_ = 0;
};

#endif
